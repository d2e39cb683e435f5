#include "GlyphCtrls.h"

#include "ExtCtrls.h"
#include "GlyphList.h"

#include <gtest/gtest.h>

namespace {

TColor PixelAt(const TBitmap& b, int x, int y)
{
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

// A state's picture as the shared glyph list holds it, drawn on white; nullptr when none is built.
std::unique_ptr<TBitmap> StatePicture(TSpeedGlyph& glyph, TGlyphButtonState state)
{
    const int slot = glyph.StateImageIndex(state);
    if (slot < 0)
        return nullptr;
    auto picture = std::make_unique<TBitmap>(glyph.List()->Width, glyph.List()->Height, pf24bit);
    picture->Canvas().Brush.Color = clWhite;
    picture->Canvas().FillRect({0, 0, picture->Width(), picture->Height()});
    glyph.List()->Draw(picture->Canvas(), 0, 0, slot);
    picture->Canvas().Release();
    return picture;
}

// A strip of n square images of size s, image i filled with colours[i], on a magenta corner.
std::unique_ptr<TBitmap> Strip(int n, int s, std::initializer_list<TColor> colours)
{
    auto strip = std::make_unique<TBitmap>(n * s, s);
    TBitmap& b = *strip;
    int i = 0;
    for (TColor c : colours) {
        b.Canvas().Brush.Color = c;
        b.Canvas().FillRect({i * s, 0, (i + 1) * s, s});
        ++i;
    }
    b.Canvas().SetPixel(0, s - 1, clFuchsia);
    b.Canvas().Release();
    return strip;
}

class GlyphButton : public ::testing::Test {
protected:
    TPanel parent {nullptr};
    TGlyphSpeedButton* button = new TGlyphSpeedButton(&parent);
    int clicks = 0;
    void SetUp() override
    {
        parent.SetBounds(0, 0, 200, 100);
        button->SetParent(&parent);
        button->OnClick = [this](TObject*) { ++clicks; };
    }
};

}  // namespace

TEST(SpeedGlyph, NumberOfImagesComesFromTheStripShape)
{
    TSpeedGlyph glyph;
    glyph.SetGlyph(*Strip(4, 8, {clRed, clLime, clBlue, clYellow}));
    EXPECT_EQ(glyph.NumGlyphs(), 4);
    EXPECT_EQ(glyph.KeyColor(), clFuchsia);
    glyph.SetGlyph(*Strip(7, 8, {clRed}));
    EXPECT_EQ(glyph.NumGlyphs(), 1);
}

TEST(SpeedGlyph, StatePicturesPickTheirImages)
{
    TSpeedGlyph glyph;
    glyph.SetGlyph(*Strip(2, 8, {clRed, clLime}));
    ASSERT_EQ(glyph.NumGlyphs(), 2);
    EXPECT_EQ(PixelAt(*StatePicture(glyph, gbsDown), 3, 3), clRed);  // down with two images shows the first
    EXPECT_EQ(PixelAt(*StatePicture(glyph, gbsDisabled), 3, 3), clLime);
    EXPECT_EQ(PixelAt(*StatePicture(glyph, gbsExclusive), 3, 3), clRed);  // no third image: the first

    // One image: disabled is the embossed black outline, inactive the grey of the first image.
    auto singleStrip = Strip(1, 8, {clWhite});
    TBitmap& single = *singleStrip;
    single.Canvas().Brush.Color = clBlack;
    single.Canvas().FillRect({2, 2, 4, 4});
    single.Canvas().Release();
    glyph.SetGlyph(single);
    ASSERT_EQ(glyph.NumGlyphs(), 1);
    const auto disabled = StatePicture(glyph, gbsDisabled);
    EXPECT_EQ(PixelAt(*disabled, 2, 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(*disabled, 4, 4), ColorToRGB(clBtnHighlight));
    glyph.SetGlyph(*Strip(1, 8, {RGB(200, 100, 50)}));
    const int grey = (200 * 77 + 100 * 150 + 50 * 29) >> 8;
    EXPECT_EQ(PixelAt(*StatePicture(glyph, gbsInactive), 3, 3), RGB(grey, grey, grey));
    EXPECT_EQ(PixelAt(*StatePicture(glyph, gbsInactive), 0, 7), clWhite);  // the key colour stays see-through
    TSpeedGlyph empty;
    EXPECT_EQ(StatePicture(empty, gbsUp), nullptr);
}

TEST_F(GlyphButton, FlatInactiveFaceIsGreyWithoutFrame)
{
    button->SetGlyph(*Strip(1, 8, {clRed}));
    button->SetFlat(true);
    button->Paint();
    const TBitmap& face = button->FaceImage();
    const int gx = 25 / 2 - 4;
    const int red = (255 * 77) >> 8;
    bool sawGrey = false, sawRed = false;
    for (int y = 0; y < 25; ++y) {
        sawGrey = sawGrey || PixelAt(face, gx + 3, y) == RGB(red, red, red);
        sawRed = sawRed || PixelAt(face, gx + 3, y) == clRed;
    }
    EXPECT_TRUE(sawGrey);
    EXPECT_FALSE(sawRed);
    EXPECT_EQ(PixelAt(face, 0, 0), ColorToRGB(clBtnFace));  // no frame
    button->SetGrayedInactive(false);
    button->Paint();
    sawRed = false;
    for (int y = 0; y < 25; ++y)
        sawRed = sawRed || PixelAt(button->FaceImage(), gx + 3, y) == clRed;
    EXPECT_TRUE(sawRed);
}

TEST_F(GlyphButton, MarginRefusesValuesBelowMinusOneAndSpacingTakesAny)
{
    button->SetMargin(-5);
    EXPECT_EQ(button->Margin(), -1);
    button->SetMargin(3);
    EXPECT_EQ(button->Margin(), 3);
    button->SetSpacing(-5);
    EXPECT_EQ(button->Spacing(), -5);
}

TEST_F(GlyphButton, DownOnlyInAGroupAndUpOnlyWithAllowAllUp)
{
    button->SetDown(true);
    EXPECT_FALSE(button->Down());
    button->SetGroupIndex(1);
    button->SetDown(true);
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->State(), gbsExclusive);
    button->SetDown(false);
    EXPECT_TRUE(button->Down());

    auto* other = new TGlyphSpeedButton(&parent);
    other->SetParent(&parent);
    other->SetGroupIndex(1);
    other->SetAllowAllUp(true);  // the group takes it
    EXPECT_TRUE(button->AllowAllUp());
    other->SetDown(true);
    EXPECT_TRUE(other->Down());
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->State(), gbsUp);
    other->SetDown(false);
    EXPECT_FALSE(other->Down());
}

TEST_F(GlyphButton, ReleaseOnTheBottomRowClicksButNotPastTheRightEdge)
{
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_EQ(button->State(), gbsDown);
    button->MouseMove(ssLeft, 30, 5);
    EXPECT_EQ(button->State(), gbsUp);
    button->MouseMove(ssLeft, 5, 25);
    EXPECT_EQ(button->State(), gbsDown);
    button->MouseUp(mbLeft, 0, 5, 25);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), gbsUp);
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    button->MouseUp(mbLeft, 0, 25, 5);
    EXPECT_EQ(clicks, 1);
    // A group button toggles on each click.
    button->SetGroupIndex(2);
    button->SetAllowAllUp(true);
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    button->MouseUp(mbLeft, 0, 5, 5);
    EXPECT_TRUE(button->Down());
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    button->MouseUp(mbLeft, 0, 5, 5);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(clicks, 3);
}

TEST_F(GlyphButton, AutoRepeatClicksAfterThePauseThenAtTheInterval)
{
    button->SetAllowTimer(true);
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    ASSERT_NE(button->AutoRepeatTimer(), nullptr);
    EXPECT_TRUE(button->AutoRepeatTimer()->Enabled());
    EXPECT_EQ(button->AutoRepeatTimer()->Interval(), 500);
    button->RepeatTick(nullptr);
    EXPECT_EQ(button->AutoRepeatTimer()->Interval(), 100);
    button->RepeatTick(nullptr);
    EXPECT_EQ(clicks, 2);
    button->MouseMove(ssLeft, 40, 5);  // outside: no repeat
    button->RepeatTick(nullptr);
    EXPECT_EQ(clicks, 2);
    button->MouseUp(mbLeft, 0, 40, 5);
    EXPECT_FALSE(button->AutoRepeatTimer()->Enabled());
    EXPECT_EQ(clicks, 2);

    button->OnClick = [](TObject*) { throw Exception("boom"); };
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_THROW(button->RepeatTick(nullptr), Exception);
    EXPECT_FALSE(button->AutoRepeatTimer()->Enabled());
    button->SetAllowTimer(false);
    EXPECT_EQ(button->AutoRepeatTimer(), nullptr);
}

TEST_F(GlyphButton, DropDownMenuOriginFollowsPositionAndAlignment)
{
    EXPECT_EQ(button->MenuOrigin().X, 0);
    TPopupMenu menu(nullptr);
    button->SetDropDownMenu(&menu);
    EXPECT_EQ(button->MenuOrigin().X, -1);
    EXPECT_EQ(button->MenuOrigin().Y, 25);
    menu.Alignment = paRight;
    EXPECT_EQ(button->MenuOrigin().X, 26);
    button->MenuPosition = dmpRight;
    EXPECT_EQ(button->MenuOrigin().X, -1);
    EXPECT_EQ(button->MenuOrigin().Y, -1);
    button->SetDropDownMenu(nullptr);
}

TEST_F(GlyphButton, FreedDropDownMenuIsLetGo)
{
    auto* menu = new TPopupMenu(nullptr);
    button->SetMarkDropDown(true);
    button->SetDropDownMenu(menu);
    delete menu;
    EXPECT_EQ(button->DropDownMenu(), nullptr);
    // Painting the mark and the origin now reads no freed menu (the sanitizer tree would say).
    EXPECT_EQ(button->MenuOrigin().X, 0);
    button->Repaint();

    // A menu replaced before it is freed tells the button nothing more.
    TPopupMenu kept(nullptr);
    {
        TPopupMenu replaced(nullptr);
        button->SetDropDownMenu(&replaced);
        button->SetDropDownMenu(&kept);
    }
    EXPECT_EQ(button->DropDownMenu(), &kept);
    button->SetDropDownMenu(nullptr);
}

TEST_F(GlyphButton, ClickSetsTheFormsModalResult)
{
    TForm form(nullptr);
    parent.SetParent(&form);
    button->ModalResult = mrOk;
    button->Click();
    EXPECT_EQ(form.ModalResult(), mrOk);
    EXPECT_EQ(clicks, 1);
    parent.SetParent(nullptr);
}
