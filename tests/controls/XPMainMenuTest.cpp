// A form's main menu in the XP look: its top-level items owner-drawn on the bar, the bar carried
// on in the menu-bar colour, the item under the pointer framed, the open one drawn as a tab.
#include "PaintProbe.h"
#include "MainMenu.h"
#include "XPColors.h"

#include "../support/FixedTextMetrics.h"
#include "../support/RealInput.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QMenuBar>

namespace {

const TColor BarColor = RGB(180, 200, 230);

struct MenuForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TMainMenu* menu = new TMainMenu(form.get());
    TMenuItem* file = Add("&File");
    TMenuItem* edit = Add("&Edit");
    TXPLook* look = nullptr;

    MenuForm()
    {
        form->SetBounds(100, 100, 400, 200);
        auto* open = new TMenuItem(menu);
        open->Caption = "&Open";
        file->Add(open);
        form->SetMenu(menu);
    }
    TMenuItem* Add(const char* caption)
    {
        auto* item = new TMenuItem(menu);
        item->Caption = caption;
        menu->Items().Add(item);
        return item;
    }
    void AddLook()
    {
        look = new TXPLook(form.get());
        look->DrawMenuBar = true;
        look->SetActive(true);
        look->Loaded();
        look->SetMenuBarColor(BarColor);
    }
    TColor BarAt(int x, int y)
    {
        TBitmap shot;
        form->PaintTo(shot);
        return At(shot, x, y);
    }
};

TEST(XPMainMenu, TopItemsAreOwnerDrawnOnTheBarInTheMenuBarColour)
{
    MenuForm f;
    f.AddLook();
    ASSERT_TRUE(f.menu->OwnerDraw);
    ASSERT_TRUE(f.file->OnDrawItem && f.file->Items(0)->OnDrawItem);
    // The controls stand below the bar.
    EXPECT_EQ(f.form->ClientHeight(), f.form->Height() - f.menu->BarHeight());

    const TRect item = f.menu->ItemRect(f.edit);
    ASSERT_GT(item.Width(), 0);
    QCursor::setPos(f.form->Widget()->mapToGlobal(QPoint(390, 190)));
    EXPECT_EQ(f.BarAt(item.Left + 1, item.Top + 1), BarColor);
    // The last item carries the bar's colour on to the form's edge.
    EXPECT_EQ(f.BarAt(390, item.Top + 2), BarColor);

    // The item under the pointer is framed and filled, up to 7 pixels short of its right.
    QCursor::setPos(f.menu->Bar()->mapToGlobal(QPoint(item.Left + 3, item.Top + 3)));
    EXPECT_EQ(f.BarAt(item.Left + 1, item.Top + 1), f.look->FFSelectColor);
    EXPECT_EQ(f.BarAt(item.Left, item.Top + 3), ColorToRGB(f.look->FFSelectBorderColor));
    EXPECT_EQ(f.BarAt(item.Right - 3, item.Top + 3), BarColor);

    // Switched off, the bar draws its items itself again.
    f.look->SetActive(false);
    EXPECT_FALSE(f.menu->OwnerDraw);
    EXPECT_FALSE(f.file->OnDrawItem);
}

TEST(XPMainMenu, OpenTopItemIsATabWithAShadowThatJoinsItsMenu)
{
    MenuForm f;
    f.AddLook();
    TXPLook& look = *f.look;
    TBitmap image(60, 20, pf24bit);
    TFixedTextMetrics metrics;
    image.Canvas().SetTextMetrics(&metrics);
    f.file->OnDrawItem(f.file, image.Canvas(), TRect{0, 0, 60, 20}, true);
    EXPECT_EQ(At(image, 3, 3), look.FFSelectColor);
    EXPECT_EQ(At(image, 0, 10), ColorToRGB(look.FFSelectBorderColor));   // the open-bottomed frame
    EXPECT_EQ(At(image, 52, 10), ColorToRGB(look.FFSelectBorderColor));  // its right side, 8 in
    EXPECT_EQ(At(image, 53, 15), DarkenColor(BarColor, 100));             // the shadow's four shades
    EXPECT_EQ(At(image, 55, 15), DarkenColor(BarColor, 60));
    EXPECT_EQ(At(image, 57, 15), DarkenColor(BarColor, 30));
    EXPECT_EQ(At(image, 59, 15), DarkenColor(BarColor, 10));
    EXPECT_EQ(At(image, 57, 1), BarColor);                                 // its rounded top corner
    // The caption starts 3 pixels in, without a gutter: top-level items have none.
    ASSERT_FALSE(metrics.drawn.empty());
    EXPECT_EQ(metrics.drawn.back().text, " File");
    EXPECT_EQ(metrics.drawn.back().cell.Left, 3);

    // Top-level items are measured without the gutter or the sub-menu arrow's room.
    int w = 0, h = 0;
    f.file->OnMeasureItem(f.file, image.Canvas(), w, h);
    EXPECT_EQ(w, 4 * TFixedTextMetrics::CharWidth + 5);

    // Right to left it is drawn as a tool button's open face: a 2-pixel shadow.
    f.menu->RightToLeft = true;
    f.file->OnDrawItem(f.file, image.Canvas(), TRect{0, 0, 60, 20}, true);
    EXPECT_EQ(At(image, 58, 15), DarkenColor(BarColor, 70));
    EXPECT_EQ(At(image, 58, 1), BarColor);
}

}  // namespace
