// Both speed-button kinds draw their glyph as the look draws menu icons; a transparent button's
// lit face lets what lies under it show on surfaces of more than 16 bits per pixel.
#include "PaintProbe.h"
#include "GlyphCtrls.h"
#include "SpeedBtns.h"
#include "XPColors.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace {

const TColor Ink = RGB(0, 90, 160), Green = RGB(0, 160, 0);
enum Kind { Speed, Glyph };

// A hot or idle 60 x 30 button whose glyph strip holds `count` 16 x 16 images: Ink, then Green.
TControl* Make(PainterForm& f, Kind kind, int count, bool flat, bool transparent, bool hot)
{
    TBitmap strip(16 * count, 16, pf24bit);
    for (int i = 0; i < count; ++i) {
        strip.Canvas().Brush.Color = i == 1 ? Green : Ink;
        strip.Canvas().FillRect(TRect{16 * i, 0, 16 * i + 16, 16});
        strip.Canvas().SetPixel(16 * i, 15, clFuchsia);
    }
    strip.Canvas().Release();
    TControl* button;
    if (kind == Speed) {
        auto* b = f.Add<TFlatSpeedButton>(10, 10, 60, 30);
        b->SetGlyph(&strip);
        b->SetNumGlyphs(count);
        b->SetFlat(flat);
        b->SetTransparent(transparent);
        if (hot)
            b->MouseEnter();
        button = b;
    } else {
        auto* b = f.Add<TGlyphSpeedButton>(10, 10, 60, 30);
        b->SetGlyph(strip);
        b->SetNumGlyphs(count);
        b->SetFlat(flat);
        b->SetTransparent(transparent);
        button = b;
    }
    f.AddLook();
    HookOf(*f.look, button)->FMouseInControl = hot;
    return button;
}

// The glyph, without a caption, stands in the middle: (22, 7) to (38, 23).
TEST(XPSpeedGlyph, DimmedAtRestShadowedWhenHotGreyWhenDisabled)
{
    enum Expect { Dimmed, Plain, Shadow, Grey, GreyGreen };
    struct Row {
        Kind kind;
        bool hot, enabled;
        int count;
        TPoint at;
        Expect expect;
    };
    const Row rows[] = {
        {Speed, false, true, 1, {30, 15}, Dimmed},  {Glyph, false, true, 1, {30, 15}, Dimmed},
        {Speed, true, true, 1, {30, 15}, Plain},    {Glyph, true, true, 1, {30, 15}, Plain},
        {Speed, true, true, 1, {39, 24}, Shadow},   {Glyph, true, true, 1, {39, 24}, Shadow},
        {Speed, false, false, 1, {30, 15}, Grey},   {Glyph, false, false, 1, {30, 15}, Grey},
        {Speed, false, false, 2, {30, 15}, GreyGreen}, {Glyph, false, false, 2, {30, 15}, GreyGreen},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.kind << row.hot << row.enabled << row.count << row.expect);
        PainterForm f;
        TControl* button = Make(f, row.kind, row.count, false, false, row.hot);
        button->SetEnabled(row.enabled);
        const TXPLook& l = *f.look;
        const TColor expected[] = {LightenColor(Ink, l.DimLevel), Ink, DarkenColor(l.FFSelectColor, 50),
                                   LightenColor(GrayColor(Ink, l.GrayLevel), 40),
                                   LightenColor(GrayColor(Green, l.GrayLevel), 40)};
        EXPECT_EQ(Shot(*button, row.at.X, row.at.Y), expected[row.expect]);
    }
}

// A pixel of the control painted into a picture of the given format, and a colour as it is kept there.
TColor ShotIn(TControl& control, QImage::Format format, int x, int y)
{
    QImage image(control.Width(), control.Height(), format);
    control.Widget()->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}
TColor Kept(TColor color, QImage::Format format)
{
    QImage image(1, 1, format);
    const TColor c = ColorToRGB(color);
    image.fill(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    return RGB(qRed(image.pixel(0, 0)), qGreen(image.pixel(0, 0)), qBlue(image.pixel(0, 0)));
}

TEST(XPSpeedGlyph, TransparentLitFaceShowsWhatLiesUnderOnDeepSurfaces)
{
    enum Expect { Under, LighterSelect, HotFace, Select };
    struct Row {
        Kind kind;
        bool flat, transparent;
        QImage::Format format;
        Expect expect;
    };
    const Row rows[] = {
        {Speed, false, true, QImage::Format_RGB32, Under},  {Glyph, false, true, QImage::Format_RGB32, Under},
        {Speed, true, true, QImage::Format_RGB32, LighterSelect},
        {Speed, false, true, QImage::Format_RGB16, HotFace}, {Speed, true, true, QImage::Format_RGB16, Select},
        {Speed, false, false, QImage::Format_RGB32, HotFace}, {Glyph, false, false, QImage::Format_RGB32, HotFace},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.kind << row.flat << row.transparent << row.format);
        PainterForm f;
        TControl* button = Make(f, row.kind, 1, row.flat, row.transparent, true);
        const TXPLook& l = *f.look;
        const TColor expected[] = {LightenColor(FormColor, TXPLook::HotButtonShade + 5), LightenColor(l.FFSelectColor, 20),
                                   LightenColor(clBtnFace, TXPLook::HotButtonShade), l.FFSelectColor};
        EXPECT_EQ(ShotIn(*button, row.format, 5, 5), Kept(expected[row.expect], row.format));
    }
}

}  // namespace
