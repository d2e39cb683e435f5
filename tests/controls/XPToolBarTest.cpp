// The XP look's tool bar buttons, read back from a rendered bar: the face of a hot, pressed and
// idle button, the icon dimmed, lifted over its shadow or greyed, whole captions and the arrow
// of a drop-down button beside its caption.
#include "PaintProbe.h"
#include "ComCtrls.h"
#include "XPColors.h"
#include "XPLook.h"

#include "../support/WaitFor.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

namespace {

const TColor BarColor = RGB(200, 180, 160);
const TColor Red = RGB(255, 0, 0);

struct ToolBarForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TImageList* images;
    TToolBar* bar;
    TToolButton* open;
    TToolButton* effects;
    TToolButton* plain;
    TToolButton* disabled;
    TPopupMenu* menu;
    TXPLook* look;

    ToolBarForm()
    {
        form->SetBounds(0, 0, 500, 100);
        images = new TImageList(form.get(), 20, 20);
        AddIcon(*images);
        bar = new TToolBar(form.get());
        bar->SetColor(BarColor);
        bar->SetHeight(40);
        bar->ButtonWidth = 79;
        bar->ButtonHeight = 36;
        bar->ShowCaptions = true;
        bar->Images = images;
        bar->SetParent(form.get());
        open = Add("Open Image");
        auto* separator = new TToolButton(form.get());
        separator->SetStyle(tbsSeparator);
        separator->SetWidth(8);
        separator->SetParent(bar);
        effects = Add("Image Effects");
        effects->SetStyle(tbsDropDown);
        menu = new TPopupMenu(form.get());
        effects->SetDropdownMenu(menu);
        plain = Add("Oen Imae");  // the same caption without letters that reach below the line
        disabled = Add("Print");
        disabled->SetEnabled(false);
        look = AddXPLook(*form);
        form->Show();
    }
    TToolButton* Add(const String& caption)
    {
        auto* b = new TToolButton(form.get());
        b->SetParent(bar);
        b->SetCaption(caption);
        b->SetImageIndex(0);
        return b;
    }
    std::unique_ptr<TBitmap> Shot()
    {
        auto image = std::make_unique<TBitmap>();
        bar->PaintTo(*image);
        image->Canvas().Release();
        return image;
    }
};

// The lowest row and the rightmost column of dark (caption) pixels inside a button.
struct Ink {
    int bottom = -1;
    int right = -1;
};
Ink CaptionInk(TBitmap& image, const TToolButton& button)
{
    Ink ink;
    const TRect r = button.BoundsRect();
    for (int y = r.Top + 22; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor c = At(image, x, y);
            if (GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90) {
                ink.bottom = std::max(ink.bottom, y);
                ink.right = std::max(ink.right, x);
            }
        }
    return ink;
}

TEST(XPToolBar, FacesFollowTheMouse)
{
    ToolBarForm f;
    std::vector<std::unique_ptr<TBitmap>> shots;
    TXPLook& look = *f.look;
    ASSERT_TRUE(f.bar->OnCustomDrawButton);
    QWidget* button = f.open->Widget();
    // The pointer rests on the bar's empty end, whatever an earlier test left it on.
    QWidget* barWidget = f.bar->Widget();
    QTest::mouseMove(barWidget, QPoint(barWidget->width() - 5, 5));

    // Idle: the bar shows through (a flat bar is transparent); the icon is dimmed.
    TBitmap& idle = *shots.emplace_back(f.Shot());
    EXPECT_EQ(At(idle, 3, 20), BarColor);
    EXPECT_EQ(At(idle, 40, 12), LightenColor(Red, look.DimLevel));

    // Hot: the select colours, the icon lifted by a pixel over its shadow.
    QTest::mouseMove(button, QPoint(40, 30));
    ASSERT_TRUE(button->underMouse());
    TBitmap& hot = *shots.emplace_back(f.Shot());
    EXPECT_EQ(At(hot, 3, 20), ColorToRGB(look.FFSelectColor));
    EXPECT_EQ(At(hot, 0, 20), ColorToRGB(look.FFSelectBorderColor));
    EXPECT_EQ(At(hot, 34, 6), Red);
    EXPECT_EQ(At(hot, 45, 17), DarkenColor(look.FFSelectColor, 50));

    // Pressed: the checked-and-selected face, the icon back in place and not dimmed.
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    TBitmap& pressed = *shots.emplace_back(f.Shot());
    EXPECT_EQ(At(pressed, 3, 20), ColorToRGB(look.FFCheckedAreaSelectedColor));
    EXPECT_EQ(At(pressed, 44, 16), Red);
    EXPECT_EQ(At(pressed, 45, 17), ColorToRGB(look.FFCheckedAreaSelectedColor));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));

    // Still under the mouse after the click: hot again.
    EXPECT_EQ(At(*f.Shot(), 3, 20), ColorToRGB(look.FFSelectColor));

    // A disabled button's icon is grey.
    const int left = f.disabled->Left();
    const TColor grey = At(idle, left + 40, 12);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
}

TEST(XPToolBar, CaptionsAreWholeAndClearOfTheArrow)
{
    ToolBarForm f;
    std::vector<std::unique_ptr<TBitmap>> shots;
    TBitmap& image = *shots.emplace_back(f.Shot());
    // "p" and "g" reach below the line the other letters stand on, and are not cut off.
    const Ink withDescenders = CaptionInk(image, *f.open);
    const Ink without = CaptionInk(image, *f.plain);
    ASSERT_GT(without.bottom, 0);
    EXPECT_GE(withDescenders.bottom, without.bottom + 2);
    EXPECT_LT(withDescenders.bottom, f.open->Height() - 1);

    // The drop-down button's arrow stands in its own strip, beside the caption.
    const TRect r = f.effects->BoundsRect();
    const Ink caption = CaptionInk(image, *f.effects);
    ASSERT_GT(caption.right, 0);
    EXPECT_LT(caption.right, r.Right - 12);
    const int arrowTop = r.Top + (r.Height() - 3) / 2;
    EXPECT_EQ(At(image, r.Right - 10, arrowTop), RGB(0, 0, 0));
    EXPECT_EQ(At(image, r.Right - 8, arrowTop + 2), RGB(0, 0, 0));
}

TEST(XPToolBar, SwitchingOffGivesTheBarItsOwnDrawingBack)
{
    ToolBarForm f;
    f.look->SetActive(false);
    EXPECT_FALSE(f.bar->OnCustomDraw);
    EXPECT_FALSE(f.bar->OnCustomDrawButton);
    // Another component's button drawing is left alone unless the look overrides it.
    bool own = false;
    f.bar->OnCustomDrawButton = [&](TToolBar*, TToolButton*, TCustomDrawState, bool&) { own = true; };
    f.look->SetActive(true);
    f.Shot();
    EXPECT_TRUE(own);
    EXPECT_FALSE(f.bar->OnCustomDraw);
}

TEST(XPToolBar, ABarGetsTheLookWithItsFirstButtonUnderAutoDetect)
{
    ToolBarForm f;
    f.look->AutoDetect = true;
    auto* empty = new TToolBar(f.form.get());
    empty->SetParent(f.form.get());
    f.look->ActivateComponent(empty, true, true);
    EXPECT_FALSE(empty->OnCustomDrawButton);  // nothing to draw yet
    auto* first = new TToolButton(f.form.get());
    first->SetParent(empty);
    EXPECT_TRUE(WaitUntil([empty] { return bool(empty->OnCustomDrawButton); }, 5000));
}

TEST(XPToolBar, APressedButtonThatOpensAMenuItemLooksLikeAnOpenMenu)
{
    struct Row {
        const char* name;
        bool menuItem, itemFreed;
    };
    for (const Row& row : {Row{"button for a menu item", true, false}, Row{"plain button", false, false},
                           Row{"button whose menu item was freed", true, true}}) {
        SCOPED_TRACE(row.name);
        ToolBarForm f;
        auto* item = new TMenuItem(f.form.get());
        item->Caption = "File";
        if (row.menuItem)
            f.plain->SetMenuItem(item);
        if (row.itemFreed)
            delete item;
        QWidget* button = f.plain->Widget();
        QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
        const TRect r = f.plain->BoundsRect();
        // The open item's shadow along the right edge.
        const bool shadow = At(*f.Shot(), r.Right - 1, r.Top + 10) == DarkenColor(BarColor, 70);
        QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
        EXPECT_EQ(shadow, row.menuItem && !row.itemFreed);
        EXPECT_EQ(f.plain->MenuItem() != nullptr, row.menuItem && !row.itemFreed);
    }
}

}  // namespace
