#include "BitBtn.h"

#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(0, 0, pf24bit) {}

void TBitBtn::SetGlyph(const TBitmap& value)
{
    glyph_.Assign(value);
    if (glyph_.Height() > 0 && glyph_.Width() % glyph_.Height() == 0 && glyph_.Width() / glyph_.Height() <= 4)
        numGlyphs_ = std::max(1, glyph_.Width() / glyph_.Height());
    ShowGlyph();
}

void TBitBtn::SetNumGlyphs(int value)
{
    numGlyphs_ = std::clamp(value, 1, 4);
    ShowGlyph();
}

void TBitBtn::ShowGlyph()
{
    auto* button = static_cast<QPushButton*>(Widget());
    if (glyph_.Empty()) {
        button->setIcon(QIcon());
        return;
    }
    // The first image, its bottom-left pixel's colour see-through.
    const int w = glyph_.Width() / numGlyphs_;
    QImage first = glyph_.ToImage().copy(0, 0, w, glyph_.Height()).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = first.pixel(0, first.height() - 1) & 0xFFFFFF;
    for (int y = 0; y < first.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(first.scanLine(y));
        for (int x = 0; x < first.width(); ++x)
            if ((row[x] & 0xFFFFFF) == key)
                row[x] = 0;
    }
    button->setIcon(QPixmap::fromImage(first));
    button->setIconSize(first.size());
}
