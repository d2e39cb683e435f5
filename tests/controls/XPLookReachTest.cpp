// The XP look beyond single controls: control bar bands, right-to-left tool buttons, surfaces
// of few colours, and the manager hearing of forms that come and go.
#include "PaintProbe.h"
#include "ComCtrls.h"
#include "CheckBoxes.h"
#include "ControlBar.h"
#include "HotKey.h"
#include "StdCtrls.h"
#include "XPColors.h"
#include "XPLookManager.h"

#include "../support/RealInput.h"
#include "../support/TestWait.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

const TColor Red = RGB(255, 0, 0);

TEST(XPLookReach, ControlBarBandsAreLightenedWithAShadedGrabber)
{
    TForm form(nullptr);
    const TColor barColor = RGB(200, 180, 160);
    auto* bar = new TControlBar(&form);
    bar->SetColor(barColor);
    bar->SetParent(&form);
    bar->SetBounds(0, 0, 300, 40);
    auto* panel = new TPanel(&form);
    panel->SetBounds(0, 0, 100, 30);
    panel->SetParent(bar);
    // A bar with a band painter of its own keeps it.
    auto* own = new TControlBar(&form);
    bool ownPainted = false;
    own->OnBandPaint = [&](TObject*, TControl*, TCanvas&, TRect&, TBandPaintOptions&) { ownPainted = true; };
    const TRect band = bar->BandRect(panel);
    const TColor plainCorner = Shot(*bar, band.Left, band.Top);

    TXPLook* look = AddXPLook(form);
    ASSERT_TRUE(bar->OnBandPaint);
    TRect ownBand = band;
    TBandPaintOptions options = 0;
    own->OnBandPaint(own, panel, bar->Canvas(), ownBand, options);
    EXPECT_TRUE(ownPainted);
    EXPECT_EQ(Shot(*bar, band.Left, band.Top), LightenColor(barColor, 6));  // no frame of the bar's own
    EXPECT_NE(Shot(*bar, band.Left, band.Top), plainCorner);
    // Grabber lines on every even row from 5 rows down, each darker by 7.
    const int first = (band.Top + 5) % 2 == 0 ? band.Top + 5 : band.Top + 6;
    EXPECT_EQ(Shot(*bar, band.Left + 4, first), DarkenColor(barColor, 30));
    EXPECT_EQ(Shot(*bar, band.Left + 4, first + 1), LightenColor(barColor, 6));
    EXPECT_EQ(Shot(*bar, band.Left + 4, first + 2), DarkenColor(barColor, 37));
    EXPECT_EQ(Shot(*bar, band.Left + 7, first), LightenColor(barColor, 6));  // three pixels long

    look->SetActive(false);
    EXPECT_FALSE(bar->OnBandPaint);
    EXPECT_EQ(Shot(*bar, band.Left, band.Top), plainCorner);
}

TEST(XPLookReach, BarsWhoseTagIs999AreLeftAlone)
{
    struct Row {
        const char* name;
        int tag;
        bool decorated;
    };
    for (const Row& row : {Row{"control bar", 0, true}, Row{"control bar tagged 999", 999, false}}) {
        SCOPED_TRACE(row.name);
        TForm form(nullptr);
        auto* bar = new TControlBar(&form);
        bar->SetParent(&form);
        bar->Tag = row.tag;
        AddXPLook(form);
        EXPECT_EQ(bool(bar->OnBandPaint), row.decorated);
    }
}

TEST(XPLookReach, RightToLeftToolButtonPutsItsImageAtTheRight)
{
    TForm form(nullptr);
    auto* images = new TImageList(&form, 20, 20);
    AddIcon(*images);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    bar->SetBounds(0, 0, 300, 40);
    bar->ButtonWidth = 100;
    bar->ButtonHeight = 36;
    bar->List = true;
    bar->Images = images;
    TToolButton* buttons[2];
    for (TToolButton*& b : buttons) {
        b = new TToolButton(&form);
        b->SetParent(bar);
        b->SetImageIndex(0);
    }
    buttons[1]->SetBiDiMode(bdRightToLeft);
    TXPLook* look = AddXPLook(form);
    const TColor dimmed = LightenColor(Red, look->DimLevel);
    const TRect ltr = buttons[0]->BoundsRect(), rtl = buttons[1]->BoundsRect();
    EXPECT_EQ(Shot(*bar, ltr.Left + 3 + 10, ltr.Top + 12), dimmed);
    EXPECT_EQ(Shot(*bar, rtl.Right - 3 - 10, rtl.Top + 12), dimmed);
    EXPECT_NE(Shot(*bar, rtl.Left + 3 + 10, rtl.Top + 12), dimmed);
}

TEST(XPLookReach, SurfacesOfFewColoursGetPlainColoursAndUndimmedIcons)
{
    TXPLook look(nullptr);
    TBitmap eightBit(4, 4, pf8bit);
    TBitmap trueColour(4, 4, pf24bit);
    EXPECT_EQ(eightBit.Canvas().BitsPerPixel(), 8);
    EXPECT_GE(trueColour.Canvas().BitsPerPixel(), 16);
    struct Row {
        bool systemColours;
        TColor checkedArea, checkedAreaSelected, color, selectColor;
    };
    for (const Row& row : {Row{false, clWhite, clSilver, clBtnFace, clHighlight},
                           Row{true, clWhite, clWhite, clWhite, clWhite}}) {
        look.SetUseSystemColors(row.systemColours);
        look.UpdateColors(eightBit.Canvas());
        EXPECT_FALSE(look.FIsTrueColor);
        EXPECT_EQ(look.FFCheckedAreaColor, row.checkedArea) << row.systemColours;
        EXPECT_EQ(look.FFCheckedAreaSelectedColor, row.checkedAreaSelected) << row.systemColours;
        EXPECT_EQ(look.FFColor, row.color) << row.systemColours;
        EXPECT_EQ(look.FFSelectColor, row.selectColor) << row.systemColours;
        EXPECT_EQ(look.FFMenuBorderColor, clBtnShadow) << row.systemColours;
    }
    // Icons are not dimmed for such a surface.
    TImageList images(nullptr, 4, 4);
    images.Add(*Square(4, Red));
    TBitmap target(10, 10, pf24bit);
    look.DrawIcon(target.Canvas(), images, 0, 2, 2, false, true, false);
    EXPECT_EQ(At(target, 3, 3), Red);
    look.UpdateColors(trueColour.Canvas());
    EXPECT_TRUE(look.FIsTrueColor);
    look.DrawIcon(target.Canvas(), images, 0, 2, 2, false, true, false);
    EXPECT_EQ(At(target, 3, 3), LightenColor(Red, look.DimLevel));
}

TEST(XPLookReach, CheckingABoxEndsItsHotLook)
{
    TForm form(nullptr);
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    auto* radio = new TRadioButton(&form);
    radio->SetParent(&form);
    TXPLook* look = AddXPLook(form);
    for (TControl* control : {static_cast<TControl*>(box), static_cast<TControl*>(radio)}) {
        TControlSubClass* hook = HookOf(*look, control);
        ASSERT_TRUE(hook);
        hook->FMouseInControl = true;
        if (control == box)
            box->SetChecked(true);
        else
            radio->SetChecked(true);
        EXPECT_FALSE(hook->FMouseInControl) << control->ClassName();
    }
}

TEST(XPLookReach, AHotKeyHearsItsFieldTakeAndLoseTheFocus)
{
    TForm form(nullptr);
    form.SetBounds(100, 100, 200, 100);
    auto* key = new THotKey(&form);
    key->SetParent(&form);
    key->SetBounds(8, 8, 100, 22);
    auto* other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(8, 40, 100, 22);
    TXPLook* look = AddXPLook(form);
    ASSERT_TRUE(ShowActive(form));
    TControlSubClass* hook = HookOf(*look, key);
    ASSERT_TRUE(hook);
    key->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return key->Focused(); }));
    EXPECT_TRUE(hook->FMouseInControl);
    other->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return other->Focused(); }));
    EXPECT_FALSE(hook->FMouseInControl);
}

TEST(XPLookReach, MenuItemsShowTheirOwnBitmapsAndTheirParentsSubMenuImages)
{
    TForm form(nullptr);
    auto* menu = new TPopupMenu(&form);
    auto* plain = new TMenuItem(menu);
    plain->Caption = "Plain";
    plain->Bitmap.Assign(*Square(16, Red));
    menu->Items().Add(plain);
    auto* parent = new TMenuItem(menu);
    parent->Caption = "More";
    menu->Items().Add(parent);
    TImageList big(nullptr, 32, 32);
    QImage blue(32, 32, QImage::Format_ARGB32);
    blue.fill(qRgb(0, 0, 255));
    big.AddImage(blue);
    parent->SubMenuImages = &big;
    auto* child = new TMenuItem(menu);
    child->Caption = "Big";
    child->ImageIndex = 0;
    parent->Add(child);
    TXPLook* look = AddXPLook(form);

    TBitmap image(200, 40, pf24bit);
    // The bitmap stands centred in the gutter, dimmed; its transparent corner shows the gutter.
    plain->OnDrawItem(plain, image.Canvas(), TRect{0, 0, 200, 24}, false);
    const int left = -1 + (look->IconWidth - 16) / 2, top = 3;
    EXPECT_EQ(At(image, left + 8, top + 8), LightenColor(Red, look->DimLevel));
    EXPECT_EQ(At(image, left, top + 15), look->FFIconBackColor);
    // The child's image comes from its parent's sub-menu images and sizes the item.
    int w = 0, h = 0;
    child->OnMeasureItem(child, image.Canvas(), w, h);
    EXPECT_GE(h, 32 + 6);
    EXPECT_GE(w, 32 + 5);
    child->OnDrawItem(child, image.Canvas(), TRect{0, 0, 200, 40}, false);
    EXPECT_EQ(At(image, look->IconWidth / 2, 20), LightenColor(RGB(0, 0, 255), look->DimLevel));
}

TEST(XPLookReach, TheManagerHearsOfFormsComingAndGoing)
{
    TForm main(nullptr);
    TXPLook* look = AddXPLook(main);
    ASSERT_EQ(XPLookManager->ActiveXPLook(), look);
    auto later = std::make_unique<TForm>(&main);
    auto* button = new TButton(later.get());
    button->SetParent(later.get());
    ASSERT_TRUE(WaitUntil([&] { return HookOf(*look, button) != nullptr; }));
    TForm* gone = later.get();
    ASSERT_EQ(std::count(XPLookManager->FActiveForms.begin(), XPLookManager->FActiveForms.end(), gone), 1);
    // Freed, it leaves the manager's lists at once.
    later.reset();
    EXPECT_EQ(std::count(XPLookManager->FActiveForms.begin(), XPLookManager->FActiveForms.end(), gone), 0);
    EXPECT_EQ(std::count(XPLookManager->FPendingForms.begin(), XPLookManager->FPendingForms.end(), gone), 0);
}

}  // namespace
