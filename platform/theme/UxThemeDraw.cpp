// Drawing a theme's parts and the geometry around them.
#include "UxThemeParts.h"

#include "Controls.h"
#include "ImgList.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include <cmath>

namespace {

TRect Deflated(const TRect& r, const TThemeMargins& m)
{
    return {r.Left + m.LeftWidth, r.Top + m.TopHeight, r.Right - m.RightWidth, r.Bottom - m.BottomHeight};
}

int QtAlignment(unsigned flags)
{
    int a = (flags & DT_CENTER) ? Qt::AlignHCenter : (flags & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    a |= (flags & DT_VCENTER) ? Qt::AlignVCenter : (flags & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    if (flags & DT_WORDBREAK)
        a |= Qt::TextWordWrap;
    if (!(flags & DT_SINGLELINE) && !(flags & DT_WORDBREAK))
        a |= Qt::TextDontClip;
    if (flags & DT_EXPANDTABS)
        a |= Qt::TextExpandTabs;
    return a;
}

// A 3-D edge of one line: top and left in one colour, bottom and right in the other.
void EdgeLine(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, unsigned sides)
{
    if (sides & BF_TOP)
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    if (sides & BF_LEFT)
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    if (sides & BF_BOTTOM)
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    if (sides & BF_RIGHT)
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    r.adjust(sides & BF_LEFT ? 1 : 0, sides & BF_TOP ? 1 : 0, sides & BF_RIGHT ? -1 : 0, sides & BF_BOTTOM ? -1 : 0);
}

}  // namespace

long DrawThemeBackground(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect, const TRect* clip)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        QPainter* painter = canvas.Painter();
        if (!painter)
            return S_OK;
        painter->save();
        // Nothing goes outside the rectangle; marks and caption buttons keep their size in its middle.
        QRect area = ToQRect(rect);
        painter->setClipRect(area, Qt::IntersectClip);
        if (clip)
            painter->setClipRect(ToQRect(*clip), Qt::IntersectClip);
        if (IsFixedSizePart(data.Class, partId)) {
            const QSize natural = ThemePartTrueSize(data, partId).boundedTo(area.size());
            area = QRect(area.center() - QPoint(natural.width() / 2, natural.height() / 2), natural);
        }
        PaintThemePart(*painter, data, partId, stateId == 0 ? 1 : stateId, area);
        painter->restore();
        return S_OK;
    });
}

long DrawThemeEdge(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect, unsigned edge,
                   unsigned flags, TRect* contentRect)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState& state) -> long {
        const QPalette palette = ThemePalette(data, state);
        QRect r = ToQRect(rect);
        QPainter* painter = canvas.Painter();
        if (painter) {
            painter->save();
            const unsigned sides = flags & BF_RECT;
            if (flags & (BF_FLAT | BF_MONO)) {
                const QColor c = palette.color((flags & BF_MONO) ? QPalette::WindowText : QPalette::Mid);
                EdgeLine(*painter, r, c, c, sides);
                if ((edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) && (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)))
                    EdgeLine(*painter, r, palette.color(QPalette::Button), palette.color(QPalette::Button), sides);
            } else {
                if (edge & BDR_RAISEDOUTER)
                    EdgeLine(*painter, r, palette.color(QPalette::Midlight), palette.color(QPalette::Shadow), sides);
                else if (edge & BDR_SUNKENOUTER)
                    EdgeLine(*painter, r, palette.color(QPalette::Mid), palette.color(QPalette::Light), sides);
                if (edge & BDR_RAISEDINNER)
                    EdgeLine(*painter, r, palette.color(QPalette::Light), palette.color(QPalette::Mid), sides);
                else if (edge & BDR_SUNKENINNER)
                    EdgeLine(*painter, r, palette.color(QPalette::Shadow), palette.color(QPalette::Midlight), sides);
            }
            if (flags & BF_MIDDLE)
                painter->fillRect(r, palette.color(QPalette::Button));
            painter->restore();
        }
        if (contentRect)
            *contentRect = (flags & BF_ADJUST) ? ToTRect(r) : rect;
        return S_OK;
    });
}

long DrawThemeIcon(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect, TImageList& images,
                   int imageIndex)
{
    return ForPart(theme, partId, stateId, [&](TThemeData&, const TPartState& state) -> long {
        if (imageIndex < 0 || imageIndex >= images.Count())
            return E_INVALIDARG;
        images.Draw(canvas, rect.Left + (rect.Width() - images.Width) / 2, rect.Top + (rect.Height() - images.Height) / 2,
                    imageIndex, state.Enabled);
        return S_OK;
    });
}

long DrawThemeText(HTHEME theme, TCanvas& canvas, int partId, int stateId, const String& text, unsigned flags,
                   unsigned, const TRect& rect)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState& state) -> long {
        QPainter* painter = canvas.Painter();
        if (!painter)
            return S_OK;
        painter->save();
        painter->setFont(ThemeFont(data));
        const QPalette palette = ThemePalette(data, state);
        const QPalette::ColorRole role = data.Class == TThemeClass::Edit ? QPalette::Text
                                         : data.Class == TThemeClass::Window ? QPalette::HighlightedText
                                                                             : QPalette::ButtonText;
        ThemeStyle(data)->drawItemText(painter, ToQRect(rect), QtAlignment(flags), palette, state.Enabled,
                                        QString::fromStdString(text), role);
        painter->restore();
        return S_OK;
    });
}

long DrawThemeParentBackground(TWinControl* control, TCanvas& canvas, const TRect* rect)
{
    if (!control || !canvas.Painter())
        return E_INVALIDARG;
    QPainter* painter = canvas.Painter();
    painter->save();
    if (rect)
        painter->setClipRect(ToQRect(*rect), Qt::IntersectClip);
    control->PaintUnderneath(canvas);
    painter->restore();
    return S_OK;
}

long GetThemeBackgroundContentRect(HTHEME theme, TCanvas*, int partId, int stateId, const TRect& bounding,
                                   TRect& content)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        content = Deflated(bounding, ThemeContentMargins(data, partId));
        return S_OK;
    });
}

long GetThemeBackgroundExtent(HTHEME theme, TCanvas*, int partId, int stateId, const TRect& content, TRect& extent)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        const TThemeMargins m = ThemeContentMargins(data, partId);
        extent = {content.Left - m.LeftWidth, content.Top - m.TopHeight, content.Right + m.RightWidth,
                  content.Bottom + m.BottomHeight};
        return S_OK;
    });
}

long GetThemeBackgroundRegion(HTHEME theme, TCanvas*, int partId, int stateId, const TRect& rect,
                              std::vector<TRect>& region)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        region.clear();
        if (data.Class != TThemeClass::Button || partId != BP_RADIOBUTTON) {
            region.push_back(rect);
            return S_OK;
        }
        // The round mark: one span per row of the ellipse in the rectangle.
        const double a = rect.Width() / 2.0, b = rect.Height() / 2.0;
        for (int y = rect.Top; y < rect.Bottom; ++y) {
            const double dy = (y + 0.5 - rect.Top - b) / b;
            const int half = static_cast<int>(std::lround(a * std::sqrt(std::max(0.0, 1 - dy * dy))));
            const int centre = rect.Left + rect.Width() / 2;
            if (half > 0)
                region.push_back({centre - half, y, centre + half, y + 1});
        }
        return S_OK;
    });
}

long HitTestThemeBackground(HTHEME theme, TCanvas* canvas, int partId, int stateId, unsigned options,
                            const TRect& rect, const TPoint& point, int& hitTestCode)
{
    std::vector<TRect> region;
    if (long r = GetThemeBackgroundRegion(theme, canvas, partId, stateId, rect, region))
        return r;
    hitTestCode = HTNOWHERE;
    for (const TRect& span : region)
        if (PtInRect(span, point))
            hitTestCode = HTCLIENT;
    if (hitTestCode == HTNOWHERE || !(options & (HTTB_FIXEDBORDER | HTTB_RESIZINGBORDER)))
        return S_OK;
    // On the border: which edge or corner.
    const TThemeMargins m = ThemeContentMargins(*ThemeDataOf(theme), partId);
    const bool left = point.X < rect.Left + m.LeftWidth, right = point.X >= rect.Right - m.RightWidth;
    const bool top = point.Y < rect.Top + m.TopHeight, bottom = point.Y >= rect.Bottom - m.BottomHeight;
    if (top)
        hitTestCode = left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    else if (bottom)
        hitTestCode = left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    else if (left || right)
        hitTestCode = left ? HTLEFT : HTRIGHT;
    return S_OK;
}

long GetThemePartSize(HTHEME theme, TCanvas*, int partId, int stateId, const TRect* rect, TThemeSize sizeType,
                      TPoint& size)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        const QSize natural = ThemePartTrueSize(data, partId);
        size = {natural.width(), natural.height()};
        // Parts that stretch are drawn as large as the rectangle they are given.
        if (sizeType == TS_DRAW && rect && !IsFixedSizePart(data.Class, partId))
            size = {rect->Width(), rect->Height()};
        return S_OK;
    });
}

bool IsThemePartDefined(HTHEME theme, int partId, int stateId)
{
    return ForPart(theme, partId, stateId, [](TThemeData&, const TPartState&) -> long { return S_OK; }) == S_OK;
}

bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, int partId, int stateId)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
               // The style tells by drawing: a part that leaves any of its ground showing lets the
               // parent through.
               const QImage probe = ThemePartProbe(data, partId, stateId == 0 ? 1 : stateId);
               for (int y = 0; y < probe.height(); ++y)
                   for (int x = 0; x < probe.width(); ++x)
                       if (qAlpha(probe.pixel(x, y)) < 255)
                           return S_OK;
               return S_FALSE;
           }) == S_OK;
}
