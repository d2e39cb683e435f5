#include "SpeedBtns.h"

#include "Forms.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

void Tick() { Fire(SpeedButtonRepeatTimer().OnTimer, &SpeedButtonRepeatTimer()); }

struct SpinFixture : ::testing::Test {
    TForm form{nullptr};
    TSpinButton* spin = new TSpinButton(&form);
    int ups = 0;
    int downs = 0;
    SpinFixture()
    {
        spin->SetParent(&form);
        spin->SetBounds(0, 0, 20, 21);
        spin->OnUpClick = [this](TObject*) { ++ups; };
        spin->OnDownClick = [this](TObject*) { ++downs; };
    }
};

TEST_F(SpinFixture, QuickPressGivesOneClickAtTheRelease)
{
    TTimerSpeedButton* up = spin->UpButton();
    up->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_EQ(ups, 0);
    EXPECT_TRUE(SpeedButtonRepeatTimer().Enabled());
    EXPECT_EQ(SpeedButtonRepeatTimer().Interval(), 400);
    up->MouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 0);
    EXPECT_FALSE(SpeedButtonRepeatTimer().Enabled());
    EXPECT_EQ(RepeatingButton(), nullptr);
}

TEST_F(SpinFixture, HoldingRepeatsThenReleaseInsideClicksOnceMore)
{
    TTimerSpeedButton* down = spin->DownButton();
    down->MouseDown(mbLeft, ssLeft, 5, 5);
    Tick();  // after 400 ms
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(SpeedButtonRepeatTimer().Interval(), 100);
    Tick();
    Tick();
    EXPECT_EQ(downs, 3);
    down->MouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(downs, 4);
    EXPECT_EQ(ups, 0);
}

TEST_F(SpinFixture, ReleasedOutsideStopsWithoutTheLastClick)
{
    TTimerSpeedButton* up = spin->UpButton();
    up->MouseDown(mbLeft, ssLeft, 5, 5);
    Tick();
    up->MouseMove(ssLeft, 50, 50);  // dragged off: no longer down, so ticks do nothing
    Tick();
    EXPECT_EQ(ups, 1);
    up->MouseUp(mbLeft, 0, 50, 50);
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(SpeedButtonRepeatTimer().Enabled());
}

TEST_F(SpinFixture, AFailingClickStopsTheRepeat)
{
    spin->OnUpClick = [](TObject*) { throw std::runtime_error("boom"); };
    TTimerSpeedButton* up = spin->UpButton();
    up->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_THROW(Tick(), std::runtime_error);
    EXPECT_FALSE(SpeedButtonRepeatTimer().Enabled());
    spin->OnUpClick = nullptr;
    up->MouseUp(mbLeft, 0, 50, 50);
}

TEST_F(SpinFixture, ASecondButtonTakesTheTimerOver)
{
    spin->UpButton()->MouseDown(mbLeft, ssLeft, 5, 5);
    spin->DownButton()->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_EQ(RepeatingButton(), spin->DownButton());
    Tick();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 0);
    spin->DownButton()->MouseUp(mbLeft, 0, 50, 50);
    spin->UpButton()->MouseUp(mbLeft, 0, 50, 50);
}

TEST_F(SpinFixture, SizeIsAtLeast15AndSplitBetweenTheButtons)
{
    spin->SetBounds(0, 0, 10, 21);
    EXPECT_EQ(spin->Width(), 15);
    EXPECT_EQ(spin->UpButton()->Height(), 10);
    EXPECT_EQ(spin->DownButton()->Top(), 10);
    EXPECT_EQ(spin->DownButton()->Height(), 11);
    EXPECT_EQ(spin->DownButton()->Width(), 15);
}

TEST_F(SpinFixture, EnablingKeepsEachButtonsOwnFlag)
{
    spin->SetUpEnabled(false);
    EXPECT_FALSE(spin->UpEnabled());
    EXPECT_TRUE(spin->DownEnabled());
    spin->SetEnabled(false);
    EXPECT_FALSE(spin->DownEnabled());
    spin->SetEnabled(true);
    EXPECT_FALSE(spin->UpEnabled());
    EXPECT_TRUE(spin->DownEnabled());
    spin->UpButton()->MouseDown(mbLeft, ssLeft, 5, 5);
    spin->UpButton()->MouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(ups, 0);
}

TEST_F(SpinFixture, KeysClickTheButtons)
{
    int key = VK_UP;
    spin->KeyDown(key, 0);
    key = VK_DOWN;
    spin->KeyDown(key, 0);
    key = VK_DOWN;
    spin->KeyDown(key, 0);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 2);
}

TEST(SpinGlyph, DefaultArrowsAreCentredTrianglesInButtonColours)
{
    for (bool up : {true, false}) {
        auto glyph = DefaultSpinGlyph(up);
        ASSERT_EQ(glyph->Width(), 9);
        ASSERT_EQ(glyph->Height(), 4);
        for (int y = 0; y < 4; ++y) {
            const int half = up ? y : 3 - y;
            for (int x = 0; x < 9; ++x) {
                const uint8_t* p = glyph->ScanLine(y) + 3 * x;
                const bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
                EXPECT_EQ(black, x >= 5 - half && x <= 5 + half) << up << " " << x << "," << y;
            }
        }
    }
    TSpinButton spin(nullptr);
    EXPECT_EQ(spin.UpButton()->NumGlyphs(), 1);
    const TBitmap& g = spin.UpButton()->Glyph();
    ASSERT_EQ(g.Width(), 9);
    const uint8_t* tip = g.ScanLine(0) + 3 * 5;
    EXPECT_EQ(RGB(tip[2], tip[1], tip[0]), ColorToRGB(clBtnText));
    const uint8_t* ground = g.ScanLine(0);
    EXPECT_EQ(RGB(ground[2], ground[1], ground[0]), ColorToRGB(clBtnFace));
}

TEST(FlatSpeedButton, PropertyLimitsAndGlyphStrips)
{
    TFlatSpeedButton b(nullptr);
    EXPECT_EQ(b.Width(), 23);
    EXPECT_EQ(b.Height(), 22);
    EXPECT_EQ(b.Margin(), -1);
    b.SetMargin(-2);
    EXPECT_EQ(b.Margin(), -1);
    b.SetMargin(3);
    EXPECT_EQ(b.Margin(), 3);
    b.SetNumGlyphs(6);
    EXPECT_EQ(b.NumGlyphs(), 4);

    TBitmap strip(64, 16, pf24bit);
    b.SetGlyph(&strip);
    EXPECT_EQ(b.NumGlyphs(), 4);
    TBitmap wide(80, 16, pf24bit);
    b.SetGlyph(&wide);
    EXPECT_EQ(b.NumGlyphs(), 1);
}

TEST(FlatSpeedButton, StateImagesShareOneListPerSize)
{
    TBitmap strip(32, 16, pf24bit);
    TFlatSpeedButton a(nullptr);
    TFlatSpeedButton b(nullptr);
    a.SetGlyph(&strip);
    b.SetGlyph(&strip);
    EXPECT_EQ(a.NumGlyphs(), 2);
    const int up = a.ButtonGlyph().CreateButtonGlyph(bsUp);
    EXPECT_EQ(a.ButtonGlyph().CreateButtonGlyph(bsDown), up);  // fewer than three glyphs
    const int disabled = a.ButtonGlyph().CreateButtonGlyph(bsDisabled);
    EXPECT_NE(disabled, up);
    b.ButtonGlyph().CreateButtonGlyph(bsUp);
    ASSERT_NE(a.ButtonGlyph().List(), nullptr);
    EXPECT_EQ(a.ButtonGlyph().List(), b.ButtonGlyph().List());
    EXPECT_EQ(a.ButtonGlyph().List()->LiveCount(), 3);
    a.ButtonGlyph().Invalidate();
    EXPECT_EQ(b.ButtonGlyph().List()->LiveCount(), 1);
    // The freed lowest slot is handed out again.
    EXPECT_EQ(a.ButtonGlyph().CreateButtonGlyph(bsUp), 0);
}

TEST(FlatSpeedButton, MenuStyleArrowGivesNoClickMainPartClicks)
{
    TForm form(nullptr);
    auto* b = new TFlatSpeedButton(&form);
    b->SetParent(&form);
    b->SetBounds(10, 20, 60, 22);
    b->SetStyle(sbsMenu);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };

    b->MouseDown(mbLeft, ssLeft, 55, 5);  // arrow part
    EXPECT_EQ(b->State(), bsArrowDown);
    b->MouseUp(mbLeft, 0, 55, 5);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->State(), bsUp);

    b->MouseDown(mbLeft, ssLeft, 10, 5);  // main part, released on the arrow
    b->MouseMove(ssLeft, 55, 5);
    EXPECT_EQ(b->State(), bsDown);
    b->MouseUp(mbLeft, 0, 55, 5);
    EXPECT_EQ(clicks, 1);
}

TEST(FlatSpeedButton, GroupedButtonsWithoutAllUp)
{
    TForm form(nullptr);
    auto* first = new TFlatSpeedButton(&form);
    auto* second = new TFlatSpeedButton(&form);
    for (auto* b : {first, second}) {
        b->SetParent(&form);
        b->SetGroupIndex(1);
    }
    first->SetDown(true);
    EXPECT_EQ(first->State(), bsExclusive);
    second->MouseDown(mbLeft, ssLeft, 2, 2);
    second->MouseUp(mbLeft, 0, 2, 2);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    second->MouseDown(mbLeft, ssLeft, 2, 2);
    second->MouseUp(mbLeft, 0, 2, 2);
    EXPECT_TRUE(second->Down());
    // Without a group a button never stays down.
    TFlatSpeedButton loose(nullptr);
    loose.SetDown(true);
    EXPECT_FALSE(loose.Down());
}

TEST(FlatSpeedButton, StyleChangesClearGroupAndLook)
{
    TFlatSpeedButton b(nullptr);
    b.SetGroupIndex(2);
    b.SetAllowAllUp(true);
    b.SetDown(true);
    b.SetFlat(true);
    b.SetStyle(sbsComboButton);
    EXPECT_EQ(b.GroupIndex(), 0);
    EXPECT_FALSE(b.Down());
    EXPECT_FALSE(b.AllowAllUp());
    EXPECT_FALSE(b.Flat());
    EXPECT_FALSE(b.Transparent());
}

TEST(FlatSpeedButton, DisabledButtonPaintsAndIgnoresPresses)
{
    TForm form(nullptr);
    auto* b = new TFlatSpeedButton(&form);
    b->SetParent(&form);
    b->SetCaption("Go");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetEnabled(false);
    b->MouseDown(mbLeft, ssLeft, 2, 2);
    b->MouseUp(mbLeft, 0, 2, 2);
    EXPECT_EQ(clicks, 0);
    TBitmap image(b->Width(), b->Height(), pf24bit);
    b->PaintTo(image);
    image.Canvas().Release();
    EXPECT_EQ(b->State(), bsDisabled);
}

}  // namespace
