// The screen's cursor table and the cursor a control shows.
#include "Controls.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <map>

namespace {
std::map<int, QCursor>& CursorTable()
{
    static std::map<int, QCursor> table;
    return table;
}
}  // namespace

void SetScreenCursor(int slot, const TBitmap& picture, TColor transparentColor, const TPoint& hotSpot)
{
    QImage image = picture.ToImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(GetRValue(ColorToRGB(transparentColor)), GetGValue(ColorToRGB(transparentColor)),
                          GetBValue(ColorToRGB(transparentColor)));
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                row[x] = 0;
    }
    CursorTable()[slot] = QCursor(QPixmap::fromImage(image), hotSpot.X, hotSpot.Y);
}

bool HasScreenCursor(int slot) { return CursorTable().count(slot) != 0; }

void TControl::SetCursor(TCursor c)
{
    cursor_ = c;
    if (!widget_)
        return;
    if (auto it = CursorTable().find(c); it != CursorTable().end())
        widget_->setCursor(it->second);
    else
        widget_->setCursor(c == crHandPoint ? Qt::PointingHandCursor : c == crHourGlass ? Qt::WaitCursor : c == crSizeAll ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

