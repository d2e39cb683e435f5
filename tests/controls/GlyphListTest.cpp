// The glyph lists all buttons share: one list per glyph size, slots handed out lowest first and
// taken back, the one cache going with its last user; and the action's image as a glyph.
#include "GlyphCtrls.h"
#include "GlyphList.h"
#include "PaintProbe.h"
#include "SpeedBtns.h"

#include "ActnList.h"
#include "ImgList.h"

#include <gtest/gtest.h>

namespace {

TEST(GlyphList, ButtonsShareOneListPerSizeAndTheCacheGoesWithTheLast)
{
    {
        auto a = std::make_unique<TGlyphSpeedButton>(nullptr);
        auto b = std::make_unique<TGlyphSpeedButton>(nullptr);
        auto c = std::make_unique<TGlyphSpeedButton>(nullptr);
        auto wide = std::make_unique<TFlatSpeedButton>(nullptr);
        a->SetGlyph(*Square(16, clRed));
        b->SetGlyph(*Square(16, clLime));
        c->SetGlyph(*Square(16, clBlue));
        wide->SetGlyph(Square(20, clRed).get());
        TSpeedGlyph& ga = a->GlyphRenderer();
        TSpeedGlyph& gb = b->GlyphRenderer();
        const int slotA = ga.StateImageIndex(gbsUp);
        const int slotB = gb.StateImageIndex(gbsUp);
        ASSERT_TRUE(ga.List());
        EXPECT_EQ(ga.List(), gb.List());
        EXPECT_NE(slotA, slotB);
        TGlyphList& list = *ga.List();
        EXPECT_EQ(list.LiveCount(), 2);
        EXPECT_EQ(ga.StateImageIndex(gbsUp), slotA);  // built once
        // A glyph of another size has a list of its own.
        wide->ButtonGlyph().CreateButtonGlyph(bsUp);
        EXPECT_NE(wide->ButtonGlyph().List(), &list);

        // A freed slot is the next one handed out.
        ga.ClearStateImages();
        EXPECT_EQ(list.LiveCount(), 1);
        EXPECT_FALSE(list.SlotsInUse()[slotA]);
        EXPECT_EQ(c->GlyphRenderer().StateImageIndex(gbsUp), slotA);
        EXPECT_EQ(list.LiveCount(), 2);
        EXPECT_EQ(list.Count(), 2);
        ASSERT_TRUE(ExistingGlyphCache());
    }
    EXPECT_EQ(ExistingGlyphCache(), nullptr);
}

TEST(GlyphList, AnImageWithAMaskIsSeeThroughWhereTheMaskIsWhite)
{
    TGlyphList list(4, 4);
    TBitmap mask(4, 4, pf24bit);
    mask.Canvas().Brush.Color = clBlack;
    mask.Canvas().FillRect({0, 0, 4, 4});
    mask.Canvas().SetPixel(1, 1, clWhite);
    mask.Canvas().Release();
    const int slot = list.AddImage(*Square(4, clRed), mask);
    TBitmap target(4, 4, pf24bit);
    target.Canvas().Brush.Color = clBlue;
    target.Canvas().FillRect({0, 0, 4, 4});
    list.Draw(target.Canvas(), 0, 0, slot);
    EXPECT_EQ(At(target, 2, 2), clRed);
    EXPECT_EQ(At(target, 1, 1), clBlue);
}

TEST(GlyphList, FacesFromAnImageList)
{
    TImageList images(nullptr, 8, 8);
    images.Add(*Square(8, RGB(200, 100, 50)));
    TSpeedGlyph glyph;
    struct Row {
        TGlyphButtonState state;
        TColor centre;
    };
    const int grey = (200 * 77 + 100 * 150 + 50 * 29) >> 8;
    for (const Row& row : {Row{gbsUp, RGB(200, 100, 50)}, Row{gbsDown, RGB(200, 100, 50)},
                           Row{gbsInactive, RGB(grey, grey, grey)}}) {
        TBitmap face(20, 20, pf24bit);
        face.Canvas().Brush.Color = clWhite;
        face.Canvas().FillRect({0, 0, 20, 20});
        glyph.PaintFace(face.Canvas(), TRect{0, 0, 20, 20}, "", blGlyphTop, -1, -1, false, row.state, 0, &images, 0);
        // The picture stands centred: (6, 6) to (14, 14).
        EXPECT_EQ(At(face, 10, 10), row.centre) << row.state;
        EXPECT_EQ(At(face, 3, 3), clWhite) << row.state;
    }
    EXPECT_GE(glyph.ImageListStateIndex(gbsInactive, images, 0), 0);
    ASSERT_TRUE(glyph.List());
    EXPECT_EQ(glyph.List()->Width, 8);
}

TEST(GlyphList, AnActionsImageFillsAnEmptyGlyph)
{
    TImageList images(nullptr, 16, 16);
    images.Add(*Square(16, clRed));
    TActionList actions(nullptr);
    actions.Images = &images;
    TAction action(nullptr);
    action.ActionList = &actions;
    action.SetImageIndex(0);
    TAction beyond(nullptr);
    beyond.ActionList = &actions;
    beyond.SetImageIndex(1);

    TGlyphSpeedButton glyphButton(nullptr);
    glyphButton.SetAction(&action);
    ASSERT_EQ(glyphButton.Glyph().Width(), 16);
    EXPECT_EQ(glyphButton.GlyphRenderer().KeyColor(), 0xFF00FF);
    EXPECT_EQ(At(const_cast<TBitmap&>(glyphButton.Glyph()), 8, 8), clRed);

    TFlatSpeedButton speedButton(nullptr);
    speedButton.SetAction(&action);
    ASSERT_EQ(speedButton.Glyph().Width(), 16);
    EXPECT_EQ(speedButton.ButtonGlyph().TransparentColor(), 0xFF00FF);

    // A glyph of the button's own stays; an index beyond the list gives none.
    TGlyphSpeedButton own(nullptr);
    own.SetGlyph(*Square(8, clLime));
    own.SetAction(&action);
    EXPECT_EQ(own.Glyph().Width(), 8);
    TGlyphSpeedButton none(nullptr);
    none.SetAction(&beyond);
    EXPECT_EQ(none.Glyph().Width(), 0);
}

}  // namespace
