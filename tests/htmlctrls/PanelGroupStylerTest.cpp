#include "CaptionShade.h"
#include "MarkupPanelColors.h"
#include "MarkupPanelGroup.h"
#include "MarkupPanelStyler.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

int Level(TBitmap& b, int x, int y) { return b.Canvas().Pixel(x, y) & 0xFF; }

TEST(PanelColours, BlendHalvesToEvenAndKeepsColourOneAtHundred)
{
    EXPECT_EQ(BlendColor(clBlack, clWhite, 50), 0x808080);
    EXPECT_EQ(BlendColor(clBtnFace, clWhite, 100), clBtnFace);
    EXPECT_EQ(BlendColor(0x0000FF, 0xFF0000, 0), 0xFF0000);
}

TEST(PanelColours, StepGradientLaterStepsWinOnSharedRows)
{
    TBitmap b(4, 10);
    DrawStepGradient(b.Canvas(), clBlack, clWhite, false, {0, 0, 4, 10}, 64);
    EXPECT_EQ(b.Canvas().Pixel(1, 0), 0x0C0C0C);  // steps 0 to 3 fall on row 0: step 3 is 12
    EXPECT_EQ(b.Canvas().Pixel(1, 9), 0xEFEFEF);  // step 60 is the last on row 9
}

TEST(CaptionShading, LightBelowTwoHundredIsRaised)
{
    TPanelCaption c;
    c.SetShadeLight(150);
    EXPECT_EQ(c.ShadeLight(), 200);
    c.SetShadeLight(230);
    EXPECT_EQ(c.ShadeLight(), 230);
}

TEST(CaptionShading, NoiseWithoutGrainIsUniform)
{
    TBitmap b(30, 10);
    std::mt19937 generator(1);
    RenderCaptionShade(b, stNoise, clWhite, 200, 0, generator);
    for (int x : {0, 13, 29})
        for (int y : {0, 9})
            EXPECT_EQ(b.Canvas().Pixel(x, y), 0x888888);  // level 136
}

TEST(CaptionShading, HorizontalShadeLevels)
{
    TBitmap b(200, 20);
    std::mt19937 generator(1);
    RenderCaptionShade(b, stHShade, clWhite, 200, 32, generator);
    EXPECT_EQ(Level(b, 0, 5), 77);
    EXPECT_EQ(Level(b, 199, 5), 196);
    RenderCaptionShade(b, stHShadeInv, clWhite, 200, 32, generator);
    EXPECT_EQ(Level(b, 0, 5), 196);
    EXPECT_EQ(Level(b, 199, 5), 78);
}

TEST(CaptionShading, TinyBandsDrawWithoutDividingByZero)
{
    std::mt19937 generator(1);
    for (TShadeType t : {stHardBump, stIRadial, stORadial, stLMetal, stRMetal, stSoftBump}) {
        TBitmap square(20, 20), thin(4, 1);
        RenderCaptionShade(square, t, clWhite, 200, 32, generator);
        RenderCaptionShade(thin, t, clWhite, 200, 32, generator);
    }
}

struct Group : ::testing::Test {
    TComponent form{nullptr};
    TMarkupPanelGroup* group = new TMarkupPanelGroup(&form);
    TMarkupPanel* Add(int top, int height)
    {
        auto* p = new TMarkupPanel(&form);
        p->SetParent(group);
        p->SetBounds(0, top, 50, height);
        return p;
    }
};

TEST_F(Group, TwoColumnsStartTheNextRowBelowTheRowsLastPanel)
{
    group->SetBounds(0, 0, 300, 400);
    TMarkupPanel* a = Add(0, 100);
    TMarkupPanel* b = Add(10, 50);
    TMarkupPanel* c = Add(20, 80);
    group->SetColumns(2);
    EXPECT_EQ(a->BoundsRect(), Bounds(8, 8, 142, 100));
    EXPECT_EQ(b->BoundsRect(), Bounds(154, 8, 142, 50));
    EXPECT_EQ(c->BoundsRect(), Bounds(8, 66, 142, 80));
    EXPECT_FALSE(group->ScrollBar().Visible());

    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 2);
}

TEST_F(Group, CollapsingAMemberRearranges)
{
    group->SetBounds(0, 0, 300, 400);
    TMarkupPanel* a = Add(0, 100);
    TMarkupPanel* b = Add(200, 50);
    group->Arrange();
    EXPECT_EQ(b->Top(), 116);
    a->Caption().SetVisible(true);
    a->SetCollaps(true);
    EXPECT_EQ(b->Top(), 8 + 20 + 8);
}

TEST_F(Group, ScrollBarFollowsTheStyleAndTheContent)
{
    group->SetBounds(0, 0, 300, 100);
    Add(0, 80);
    Add(90, 80);
    group->UpdateScrollBar();
    TScrollBar& bar = group->ScrollBar();
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(bar.Max(), 8 + 88 + 88);
    group->SetGroupStyle(gsHorizontal);
    EXPECT_EQ(bar.Kind(), sbHorizontal);
    EXPECT_EQ(bar.Align(), alBottom);
    group->SetGroupStyle(gsVertical);
    EXPECT_EQ(bar.Kind(), sbVertical);
    EXPECT_EQ(bar.Align(), alRight);
    EXPECT_EQ(bar.Width(), 16);
    bar.SetPosition(1000);  // the row arrangement gave the panels the group's height less padding
    EXPECT_EQ(bar.Max(), 8 + 92 + 92);
    EXPECT_EQ(bar.Position(), bar.Max() - 100);
    const TMarkupPanel* first = dynamic_cast<TMarkupPanel*>(group->Controls(1));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Top(), 8 - bar.Position());
}

TEST(Styler, PresetsReachThePanelsThatNameIt)
{
    TComponent form(nullptr);
    auto* styler = new TMarkupPanelStyler(&form);
    auto* panel = new TMarkupPanel(&form);
    auto* other = new TMarkupPanel(&form);
    other->SetColor(0x123456);
    panel->SetStyler(styler);
    EXPECT_EQ(panel->Color(), 0xFFFFFF);
    EXPECT_EQ(panel->ColorTo(), 0xE3F0F2);
    EXPECT_TRUE(panel->Caption().Visible());
    EXPECT_EQ(panel->Caption().Indent(), 2);
    EXPECT_EQ(panel->Font.Name(), "Verdana");

    styler->SetStyle(psClassic);
    EXPECT_EQ(panel->Color(), clBtnFace);
    EXPECT_FALSE(panel->Caption().Visible());
    EXPECT_EQ(panel->BevelOuter, bvRaised);
    EXPECT_EQ(panel->Caption().ShadeLight(), 255);
    EXPECT_EQ(other->Color(), 0x123456);

    styler->Settings().SetIndent(7);
    EXPECT_EQ(panel->Indent(), 7);
}

}  // namespace

namespace {

std::vector<TShadeType> ComputedShades()
{
    return {stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump, stHardBump,
            stLMetal, stRMetal, stIRadial, stORadial, stHShadeInv, stVShadeInv};
}

bool Random(TShadeType t) { return t == stLMetal || t == stRMetal; }

}  // namespace

TEST(CaptionShading, PanelShadeIsThePlainComputationForEveryType)
{
    for (TShadeType t : ComputedShades()) {
        TMarkupPanel panel(nullptr);
        panel.SetBounds(0, 0, 120, 60);
        panel.Caption().SetHeight(20);
        panel.Caption().SetShadeGrain(0);  // noise without grain is uniform, so comparable
        panel.Caption().SetColor(Random(t) ? clWhite : 0x3080C0);
        panel.Caption().SetShadeType(t);
        TBitmap& shade = panel.CaptionShade();
        ASSERT_EQ(shade.Width(), 120);
        ASSERT_EQ(shade.Height(), 20);
        TBitmap plain(120, 20, pf24bit);
        std::mt19937 generator(1);
        RenderCaptionShade(plain, t, panel.Caption().Color(), panel.Caption().ShadeLight(), 0, generator);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 120; ++x) {
                const TColor got = shade.Canvas().Pixel(x, y);
                if (!Random(t)) {
                    ASSERT_EQ(got, plain.Canvas().Pixel(x, y)) << t << " at " << x << ", " << y;
                    continue;
                }
                // Metal strokes fall at random; every pixel is still one grey level, below white.
                ASSERT_EQ(got & 0xFF, (got >> 8) & 0xFF) << t << " at " << x << ", " << y;
                ASSERT_EQ(got & 0xFF, (got >> 16) & 0xFF) << t << " at " << x << ", " << y;
                ASSERT_LT(got & 0xFF, 0xFF) << t << " at " << x << ", " << y;
            }
    }
}

TEST(CaptionShading, PaintedCaptionShowsTheShadeAcrossItsWidth)
{
    TMarkupPanel panel(nullptr);
    panel.SetBounds(0, 0, 120, 60);
    panel.BevelOuter = bvNone;
    panel.Caption().SetVisible(true);
    panel.Caption().SetHeight(20);
    panel.Caption().SetFlat(true);
    panel.Caption().SetColor(0x3080C0);
    panel.Caption().SetShadeType(stHShade);
    TBitmap shot;
    panel.PaintTo(shot);
    for (int x : {1, 60, 89, 90, 118})
        EXPECT_EQ(shot.Canvas().Pixel(x, 10), panel.CaptionShade().Canvas().Pixel(x, 10)) << x;
}

TEST(Styler, PresetCaptionsAreDrawnAsTheirSettingsSay)
{
    TComponent form(nullptr);
    auto* styler = new TMarkupPanelStyler(&form);
    auto* panel = new TMarkupPanel(&form);
    panel->SetBounds(0, 0, 160, 80);
    panel->SetStyler(styler);
    auto band = [&](int x) {
        TBitmap shot;
        panel->PaintTo(shot);
        return shot.Canvas().Pixel(x, 8);
    };
    // psXP: a step gradient from the highlight colour to blue.
    EXPECT_EQ(band(1), ColorToRGB(clHighlight));
    const TColor end = band(150);
    EXPECT_GT((end >> 16) & 0xFF, (end & 0xFF) + 0x80);
    styler->SetStyle(psFlat);
    EXPECT_EQ(band(80), ColorToRGB(clHighlight));
    styler->SetStyle(psVaro);  // white brushed metal: grey levels over the whole width
    for (int x : {5, 80, 130, 155}) {
        const TColor c = band(x);
        EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF) << x;
        EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF) << x;
    }
}

TEST_F(Group, ChildrenAndTheScrollBarStayBelowAVisibleCaption)
{
    group->SetBounds(0, 0, 300, 100);
    Add(0, 80);
    Add(90, 80);
    group->Caption().SetVisible(true);
    group->Caption().SetHeight(24);
    group->UpdateScrollBar();
    ASSERT_TRUE(group->ScrollBar().Visible());
    EXPECT_EQ(group->ScrollBar().Top(), 24);  // clear of the caption's buttons
    EXPECT_EQ(group->ScrollBar().Left(), 300 - 16);

    TMarkupPanel panel(nullptr);
    panel.SetBounds(0, 0, 200, 150);
    TPanel top(nullptr);
    top.SetParent(&panel);
    top.SetHeight(30);
    top.SetAlign(alTop);
    EXPECT_EQ(top.Top(), 0);
    panel.Caption().SetVisible(true);
    EXPECT_EQ(top.Top(), 20);
    panel.Caption().SetVisible(false);
    EXPECT_EQ(top.Top(), 0);
    top.SetParent(nullptr);
}

TEST_F(Group, WheelScrollsTheGroup)
{
    group->SetBounds(0, 0, 300, 100);
    TMarkupPanel* first = Add(0, 80);
    Add(90, 80);
    group->UpdateScrollBar();
    group->Arrange();
    auto wheel = [&](int delta) {
        // Sent, a wheel event is not passed on from a member to the group as one from the
        // window system is; it goes to the group itself.
        QWidget* w = group->Widget();
        QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    };
    wheel(-120);  // a notch towards the user: down by two small changes
    EXPECT_EQ(group->ScrollBar().Position(), 4);
    EXPECT_EQ(first->Top(), 8 - 4);
    wheel(120);
    wheel(120);
    EXPECT_EQ(group->ScrollBar().Position(), 0);
}

TEST(CaptionShading, RoundedShapesClipTheShade)
{
    auto paint = [](TCaptionShape shape) {
        TMarkupPanel panel(nullptr);
        panel.SetBounds(0, 0, 160, 80);
        panel.BevelOuter = bvNone;
        panel.SetColor(0x00FF00);
        panel.Caption().SetVisible(true);
        panel.Caption().SetHeight(24);
        panel.Caption().SetColor(0x3080C0);
        panel.Caption().SetShadeType(stHShade);
        panel.Caption().SetShape(shape);
        auto shot = std::make_unique<TBitmap>();
        panel.PaintTo(*shot);
        return std::make_pair(std::move(shot), panel.CaptionShade().Canvas().Pixel(80, 12));
    };
    auto [rounded, middle] = paint(csRounded);
    EXPECT_EQ(rounded->Canvas().Pixel(80, 12), middle);  // the shade inside
    EXPECT_EQ(rounded->Canvas().Pixel(1, 1), 0x00FF00);  // the body colour outside the corners
    EXPECT_EQ(rounded->Canvas().Pixel(158, 1), 0x00FF00);

    auto [semi, centre] = paint(csSemiRounded);
    EXPECT_EQ(semi->Canvas().Pixel(80, 12), centre);
    EXPECT_EQ(semi->Canvas().Pixel(0, 12), clWhite);  // the square left end's edge
    EXPECT_NE(semi->Canvas().Pixel(2, 2), 0x00FF00);  // square: the shade reaches the corner
    EXPECT_EQ(semi->Canvas().Pixel(158, 1), 0x00FF00);  // rounded at the right
}

// Levels worked out by hand from the shading's formulas for a band 200 wide and 20 high, light
// 200, on white (so that a pixel's every channel is its level).
TEST(CaptionShading, LevelsOfEveryComputedTypeAtChosenPoints)
{
    struct Point {
        int x, y, level;
    };
    struct Case {
        TShadeType type;
        std::vector<Point> points;
    } cases[] = {
        {stDiagShade, {{0, 0, 227}, {100, 10, 164}, {199, 19, 103}, {150, 3, 170}}},
        {stHShade, {{0, 0, 77}, {100, 10, 137}, {199, 19, 196}, {150, 3, 167}}},
        {stHShadeInv, {{0, 0, 196}, {100, 10, 137}, {199, 19, 78}, {150, 3, 107}}},
        {stVShade, {{0, 0, 198}, {100, 10, 169}, {199, 19, 142}, {150, 3, 190}}},
        {stVShadeInv, {{0, 0, 139}, {100, 10, 169}, {199, 19, 196}, {150, 3, 148}}},
        {stHBump, {{0, 0, 76}, {100, 10, 136}, {199, 19, 193}, {150, 3, 144}}},
        {stVBump, {{0, 0, 195}, {100, 10, 136}, {199, 19, 93}, {150, 3, 156}}},
        {stSoftBump, {{0, 0, 135}, {0, 10, 77}, {199, 10, 193}, {199, 19, 150}, {150, 3, 164}}},
        // The bump with 112, and the end caps at both ends of the middle row.
        {stHardBump, {{0, 0, 191}, {100, 10, 136}, {0, 10, 77}, {199, 10, 192}, {150, 3, 155}}},
        // Reference radius 180; the centre is the full light, the corners about 100 out.
        {stIRadial, {{0, 0, 89}, {100, 10, 200}, {199, 19, 90}, {150, 3, 144}}},
        {stORadial, {{0, 0, 111}, {100, 10, 0}, {199, 19, 110}, {150, 3, 56}}},
        {stNoise, {{0, 0, 136}, {100, 10, 136}, {199, 19, 136}}},  // no grain: L - 64
    };
    for (const Case& c : cases) {
        TMarkupPanel panel(nullptr);
        panel.SetBounds(0, 0, 200, 60);
        panel.Caption().SetHeight(20);
        panel.Caption().SetShadeGrain(0);
        panel.Caption().SetColor(clWhite);
        panel.Caption().SetShadeType(c.type);
        TBitmap& shade = panel.CaptionShade();
        for (const Point& p : c.points)
            EXPECT_EQ(shade.Canvas().Pixel(p.x, p.y), RGB(p.level, p.level, p.level))
                << c.type << " at " << p.x << ", " << p.y;
    }
    // Each channel of the caption colour is scaled by the level on its own, truncated.
    TMarkupPanel panel(nullptr);
    panel.SetBounds(0, 0, 200, 60);
    panel.Caption().SetHeight(20);
    panel.Caption().SetColor(RGB(0xC0, 0x80, 0x30));
    panel.Caption().SetShadeType(stHShade);
    EXPECT_EQ(panel.CaptionShade().Canvas().Pixel(0, 5), RGB(0xC0 * 77 / 255, 0x80 * 77 / 255, 0x30 * 77 / 255));
}
