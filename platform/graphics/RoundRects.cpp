#include "RoundRects.h"

#include <QPainter>
#include <QPainterPath>

static QColor Q(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void ClipToRoundRect(TCanvas& canvas, const TRect& r, int cornerW, int cornerH)
{
    canvas.SetClipRect(r);
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    QPainterPath path;
    path.addRoundedRect(QRectF(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), cornerW / 2.0, cornerH / 2.0);
    p->setClipPath(path);
}

void RoundRect(TCanvas& canvas, const TRect& r, int cornerW, int cornerH)
{
    QPainter* p = canvas.Painter();
    if (!p || r.Right - r.Left < 2 || r.Bottom - r.Top < 2)
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    if (canvas.Pen.Style == psClear)
        p->setPen(Qt::NoPen);
    else
        p->setPen(QPen(Q(canvas.Pen.Color), 0));
    if (canvas.Brush.Style == bsClear)
        p->setBrush(Qt::NoBrush);
    else
        p->setBrush(Q(canvas.Brush.Color));
    // A cosmetic pen covers the rectangle's right and bottom lines too, so the path stops one short.
    p->drawRoundedRect(QRectF(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1), cornerW / 2.0, cornerH / 2.0);
    p->restore();
}
