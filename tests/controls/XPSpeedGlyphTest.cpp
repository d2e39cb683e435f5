// Both speed-button kinds in the XP look draw their glyph as the look draws menu icons, and
// a transparent button's lit face lets what lies under it show on deep enough surfaces.
#include "PaintProbe.h"
#include "ControlSubClass.h"
#include "GlyphCtrls.h"
#include "SpeedBtns.h"
#include "XPColors.h"
#include "XPLook.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

namespace {

const TColor Ink = RGB(0, 90, 160);

// A strip of `count` 16 x 16 images of Ink with a see-through magenta corner; the second
// image is green.
std::unique_ptr<TBitmap> Strip(int count)
{
    auto strip = std::make_unique<TBitmap>(16 * count, 16, pf24bit);
    TCanvas& c = strip->Canvas();
    for (int i = 0; i < count; ++i) {
        c.Brush.Color = i == 1 ? RGB(0, 160, 0) : Ink;
        c.FillRect(TRect{16 * i, 0, 16 * i + 16, 16});
        c.SetPixel(16 * i, 15, clFuchsia);
    }
    c.Release();
    return strip;
}

enum Kind { FlatSpeed, GlyphSpeed };

struct SpeedButtons : PainterForm {
    TControl* Make(Kind kind, int glyphs)
    {
        const auto strip = Strip(glyphs);
        if (kind == FlatSpeed) {
            auto* b = Add<TFlatSpeedButton>(10, 10, 60, 30);
            b->SetGlyph(strip.get());
            b->SetNumGlyphs(glyphs);
            return b;
        }
        auto* b = Add<TGlyphSpeedButton>(10, 10, 60, 30);
        b->SetGlyph(*strip);
        b->SetNumGlyphs(glyphs);
        return b;
    }
    void MakeHot(TControl* button)
    {
        if (auto* flat = dynamic_cast<TFlatSpeedButton*>(button))
            flat->MouseEnter();
        else
            static_cast<TGlyphSpeedButton*>(button)->MouseEnter();
        HookOf(*look, button)->FMouseInControl = true;
    }
};

// The glyph, without a caption, stands in the middle: (22, 7) to (38, 23).
TEST(XPSpeedGlyph, GlyphDimmedAtRestShadowedWhenHotGreyWhenDisabled)
{
    enum State { Idle, Hot, Disabled };
    struct Row {
        const char* name;
        Kind kind;
        State state;
        int glyphs;
        TPoint at;
        std::function<TColor(const TXPLook&)> expected;
    };
    auto dimmed = [](const TXPLook& l) { return LightenColor(Ink, l.DimLevel); };
    auto plain = [](const TXPLook&) { return Ink; };
    auto shadow = [](const TXPLook& l) { return DarkenColor(l.FFSelectColor, 50); };
    auto grey = [](const TXPLook& l) { return LightenColor(GrayColor(Ink, l.GrayLevel), 40); };
    auto greyGreen = [](const TXPLook& l) { return LightenColor(GrayColor(RGB(0, 160, 0), l.GrayLevel), 40); };
    const Row rows[] = {
        {"speed button at rest", FlatSpeed, Idle, 1, {30, 15}, dimmed},
        {"glyph button at rest", GlyphSpeed, Idle, 1, {30, 15}, dimmed},
        {"hot speed button", FlatSpeed, Hot, 1, {30, 15}, plain},
        {"hot speed button's shadow", FlatSpeed, Hot, 1, {39, 24}, shadow},
        {"hot glyph button", GlyphSpeed, Hot, 1, {30, 15}, plain},
        {"hot glyph button's shadow", GlyphSpeed, Hot, 1, {39, 24}, shadow},
        {"disabled single glyph, speed button", FlatSpeed, Disabled, 1, {30, 15}, grey},
        {"disabled single glyph, glyph button", GlyphSpeed, Disabled, 1, {30, 15}, grey},
        {"disabled image of a strip, speed button", FlatSpeed, Disabled, 2, {30, 15}, greyGreen},
        {"disabled image of a strip, glyph button", GlyphSpeed, Disabled, 2, {30, 15}, greyGreen},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SpeedButtons f;
        TControl* button = f.Make(row.kind, row.glyphs);
        f.AddLook();
        ASSERT_TRUE(HookOf(*f.look, button));
        if (row.state == Hot)
            f.MakeHot(button);
        if (row.state == Disabled)
            button->SetEnabled(false);
        EXPECT_EQ(Shot(*button, row.at.X, row.at.Y), row.expected(*f.look));
    }
}

// The control painted into a picture of the given format, one pixel of it read back.
TColor ShotIn(TControl& control, QImage::Format format, int x, int y)
{
    QImage image(control.Width(), control.Height(), format);
    image.fill(Qt::white);
    control.Widget()->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// A colour as a 16-bit surface keeps it.
TColor In16Bits(TColor color)
{
    QImage image(1, 1, QImage::Format_RGB16);
    const TColor c = ColorToRGB(color);
    image.fill(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    const QRgb p = image.pixel(0, 0);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

TEST(XPSpeedGlyph, TransparentFaceShowsWhatLiesUnderOnDeepSurfaces)
{
    struct Row {
        const char* name;
        Kind kind;
        bool flat, transparent, deep;
        std::function<TColor(const TXPLook&)> expected;
    };
    auto under = [](const TXPLook&) { return LightenColor(FormColor, TXPLook::HotButtonShade + 5); };
    auto lighterSelect = [](const TXPLook& l) { return LightenColor(l.FFSelectColor, 20); };
    auto hotFace = [](const TXPLook&) { return In16Bits(LightenColor(clBtnFace, TXPLook::HotButtonShade)); };
    auto flatHot = [](const TXPLook& l) { return In16Bits(l.FFSelectColor); };
    auto opaqueHot = [](const TXPLook&) { return LightenColor(clBtnFace, TXPLook::HotButtonShade); };
    const Row rows[] = {
        {"transparent speed button, 24 bits", FlatSpeed, false, true, true, under},
        {"transparent glyph button, 24 bits", GlyphSpeed, false, true, true, under},
        {"transparent flat speed button, 24 bits", FlatSpeed, true, true, true, lighterSelect},
        {"opaque glyph button, 24 bits", GlyphSpeed, false, false, true, opaqueHot},
        {"transparent speed button, 16 bits", FlatSpeed, false, true, false, hotFace},
        {"transparent flat speed button, 16 bits", FlatSpeed, true, true, false, flatHot},
        {"opaque speed button, 24 bits", FlatSpeed, false, false, true, opaqueHot},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SpeedButtons f;
        TControl* button = f.Make(row.kind, 1);
        if (auto* speed = dynamic_cast<TFlatSpeedButton*>(button)) {
            speed->SetFlat(row.flat);
            speed->SetTransparent(row.transparent);
        } else {
            auto* glyph = static_cast<TGlyphSpeedButton*>(button);
            glyph->SetFlat(row.flat);
            glyph->SetTransparent(row.transparent);
        }
        f.AddLook();
        f.MakeHot(button);
        const QImage::Format format = row.deep ? QImage::Format_RGB32 : QImage::Format_RGB16;
        EXPECT_EQ(ShotIn(*button, format, 5, 5), row.expected(*f.look));
    }
}

}  // namespace
