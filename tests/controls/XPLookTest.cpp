#include "PaintProbe.h"
#include "ComCtrls.h"
#include "ControlSubClass.h"
#include "StdCtrls.h"
#include "VeskPopupUnit.h"
#include "XPColors.h"
#include "XPLook.h"
#include "XPLookManager.h"

#include "../support/FixedTextMetrics.h"
#include "../support/TestWait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QImage>
#include <QWidget>

namespace {

int ChannelDistance(TColor a, TColor b)
{
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// A form laid out as the program's are: the look is made last and switched on once loaded.
struct LookForm {
    std::unique_ptr<TForm> form;
    TButton* button;
    TEdit* edit;
    TXPLook* look = nullptr;
    explicit LookForm(TComponent* owner = nullptr) : form(std::make_unique<TForm>(owner))
    {
        form->SetColor(RGB(200, 180, 160));
        button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(10, 10, 80, 24);
        button->SetCaption("OK");
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(10, 40, 120, 22);
    }
    void AddLook() { look = AddXPLook(*form); }
};

TEST(XPColors, LightenDarkenGrayAverage)
{
    EXPECT_EQ(LightenColor(RGB(10, 100, 200), 0), RGB(10, 100, 200));
    EXPECT_EQ(LightenColor(RGB(10, 100, 200), 100), clWhite);
    EXPECT_EQ(LightenColor(RGB(10, 100, 200), 250), clWhite);
    EXPECT_EQ(LightenColor(RGB(0, 0, 0), 50), RGB(128, 128, 128));  // 127.5 goes to the even 128
    EXPECT_EQ(LightenColor(RGB(2, 2, 2), 50), RGB(128, 128, 128));  // 126.5 goes to the even 126
    EXPECT_EQ(DarkenColor(clWhite, 60), RGB(195, 197, 195));
    EXPECT_EQ(DarkenColor(RGB(10, 0, 300 & 0xFF), 20), RGB(0, 0, 24));
    EXPECT_EQ(GrayColor(RGB(30, 60, 90), 10), RGB(70, 70, 70));
    EXPECT_EQ(GrayColor(clWhite, 10), RGB(240, 240, 240));
    EXPECT_EQ(AverageColor(RGB(11, 20, 255), RGB(1, 40, 255)), RGB(5, 30, 254));
    // System colours are resolved first.
    EXPECT_EQ(LightenColor(clBtnFace, 0), ColorToRGB(clBtnFace));
}

TEST(XPLook, SystemColoursDeriveTheColoursInUse)
{
    TXPLook look(nullptr);
    look.UpdateColors();
    EXPECT_EQ(look.FFColor, LightenColor(clBtnFace, 86));
    EXPECT_EQ(look.FFIconBackColor, LightenColor(clBtnFace, 16));
    EXPECT_EQ(look.FFSelectColor, LightenColor(clHighlight, 68));
    EXPECT_EQ(look.FFSelectBorderColor, clHighlight);
    look.SetUseSystemColors(false);
    look.UseDimColor = true;
    look.SetSelectColor(RGB(0, 0, 200));
    EXPECT_TRUE(look.ColorsChanged());
    look.UpdateColors();
    EXPECT_FALSE(look.ColorsChanged());
    EXPECT_EQ(look.FFSelectColor, LightenColor(RGB(0, 0, 200), 68));
    EXPECT_EQ(look.FFCheckedAreaColor, LightenColor(RGB(0, 0, 200), 80));
    EXPECT_EQ(look.FFColor, clBtnFace);
}

TEST(XPLook, ButtonFaceEditFrameAndTheTagRules)
{
    LookForm f;
    auto* own = new TButton(f.form.get());
    own->SetParent(f.form.get());
    own->SetBounds(100, 10, 80, 24);
    own->Tag = 999;
    auto* parented = new TButton(f.form.get());
    parented->SetParent(f.form.get());
    parented->SetBounds(190, 10, 80, 24);
    parented->Tag = 1000;
    const TColor untouched = Shot(*own, 40, 4);
    f.AddLook();
    TXPLook& look = *f.look;

    ASSERT_TRUE(HookOf(look, f.button));
    EXPECT_EQ(HookOf(look, own), nullptr);
    EXPECT_EQ(Shot(*own, 40, 4), untouched);
    // The face, away from the caption, and the frame.
    EXPECT_EQ(Shot(*f.button, 40, 4), look.FFIconBackColor);
    EXPECT_EQ(Shot(*f.button, 40, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Shot(*f.button, 0, 0), f.form->Color());  // outside the rounded corner
    EXPECT_EQ(Shot(*parented, 40, 4), LightenColor(f.form->Color(), 16));

    HookOf(look, f.button)->FMouseInControl = true;
    HookOf(look, parented)->FMouseInControl = true;
    EXPECT_EQ(Shot(*f.button, 40, 4), LightenColor(clBtnFace, 40));
    EXPECT_EQ(Shot(*parented, 40, 4), LightenColor(f.form->Color(), 40));
    EXPECT_EQ(Shot(*f.button, 40, 0), LightenColor(look.FFSelectBorderColor, 60));

    // The edit's frame: the parent's colour darkened, lighter selection colour when hot.
    EXPECT_EQ(Shot(*f.edit, 30, 0), DarkenColor(f.form->Color(), 60));
    HookOf(look, f.edit)->FMouseInControl = true;
    EXPECT_EQ(Shot(*f.edit, 30, 0), LightenColor(look.FFSelectBorderColor, 60));
}

TEST(XPLook, DisabledControlIgnoresHoverAndSpaceRepeatsPaintOnce)
{
    LookForm f;
    f.AddLook();
    TControlSubClass* hook = HookOf(*f.look, f.button);
    ASSERT_TRUE(hook);
    f.button->SetEnabled(false);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(f.button->Widget(), &enter);
    EXPECT_FALSE(hook->FMouseInControl);
    f.button->SetEnabled(true);
    QCoreApplication::sendEvent(f.button->Widget(), &enter);
    EXPECT_TRUE(hook->FMouseInControl);

    // Held, the space key shows the pressed edge at the left; its repeats change nothing.
    const TColor frame = LightenColor(f.look->FFSelectBorderColor, 60);
    const TColor edge = DarkenColor(frame, 50);
    EXPECT_EQ(Shot(*f.button, 0, 12), frame);
    struct Key {
        QEvent::Type type;
        bool repeat;
        bool down, painted;
        TColor left;
    };
    const Key keys[] = {{QEvent::KeyPress, false, true, true, edge},
                        {QEvent::KeyPress, true, true, true, edge},
                        {QEvent::KeyRelease, false, false, false, frame}};
    for (const Key& k : keys) {
        QKeyEvent key(k.type, Qt::Key_Space, Qt::NoModifier, " ", k.repeat);
        QCoreApplication::sendEvent(f.button->Widget(), &key);
        EXPECT_EQ(hook->FSpaceDown, k.down);
        EXPECT_EQ(hook->FSpacePainted, k.painted);
        EXPECT_EQ(Shot(*f.button, 0, 12), k.left);
    }
}

TEST(XPLook, SwitchingOffRestoresEachControlAtItsNextMessage)
{
    LookForm f;
    const TColor plain = Shot(*f.button, 40, 4);
    f.AddLook();
    ASSERT_NE(Shot(*f.button, 40, 4), plain);
    f.look->SetActive(false);
    EXPECT_EQ(Shot(*f.button, 40, 4), plain);  // that paint was the hook's last message
    EXPECT_EQ(HookOf(*f.look, f.button), nullptr);
    EXPECT_TRUE(HookOf(*f.look, f.edit));  // not yet heard from
    Shot(*f.edit, 0, 0);
    EXPECT_EQ(HookOf(*f.look, f.edit), nullptr);
}

TEST(XPLook, ShinyToolBarIsTwoGradients)
{
    LookForm f;
    auto* bar = new TToolBar(f.form.get());
    bar->SetParent(f.form.get());
    bar->SetBounds(0, 0, 300, 30);
    auto* b = new TToolButton(f.form.get());
    b->SetParent(bar);
    auto* empty = new TToolBar(f.form.get());
    empty->SetParent(f.form.get());
    empty->SetBounds(0, 40, 300, 30);
    f.AddLook();
    f.look->Shiny = true;
    f.look->GradientTopStart = RGB(255, 0, 0);
    f.look->GradientTopEnd = RGB(0, 0, 255);
    f.look->GradientBottomStart = RGB(0, 255, 0);
    f.look->GradientBottomEnd = RGB(0, 0, 0);
    EXPECT_LE(ChannelDistance(Shot(*bar, 290, 0), RGB(255, 0, 0)), 20);
    EXPECT_LE(ChannelDistance(Shot(*bar, 290, 14), RGB(0, 0, 255)), 20);
    EXPECT_LE(ChannelDistance(Shot(*bar, 290, 15), RGB(0, 255, 0)), 20);
    EXPECT_LE(ChannelDistance(Shot(*bar, 290, 29), RGB(0, 0, 0)), 20);
    // A tool bar with no buttons keeps its own drawing.
    EXPECT_GT(ChannelDistance(Shot(*empty, 290, 0), RGB(255, 0, 0)), 20);
}

TEST(XPLook, MenuItemsAreMeasuredAndDrawn)
{
    LookForm f;
    auto* menu = new TPopupMenu(f.form.get());
    auto add = [&](const String& caption) {
        auto* item = new TMenuItem(menu);
        item->Caption = caption;
        menu->Items().Add(item);
        return item;
    };
    TMenuItem* open = add("&Open");
    TMenuItem* line = add("-");
    TMenuItem* own = add("Own");
    bool ownDrawn = false;
    own->OnDrawItem = [&](TObject*, TCanvas&, const TRect&, bool) { ownDrawn = true; };
    TMenuItem* left = add("Left alone");
    left->Tag = 999;
    f.AddLook();
    EXPECT_TRUE(menu->OwnerDraw);
    ASSERT_TRUE(open->OnDrawItem && open->OnMeasureItem);
    EXPECT_FALSE(left->OnDrawItem);
    // Its own drawing stays; the missing measuring is supplied.
    ASSERT_TRUE(own->OnMeasureItem);
    TBitmap image(200, 30, pf24bit);
    own->OnDrawItem(own, image.Canvas(), TRect{0, 0, 200, 30}, false);
    EXPECT_TRUE(ownDrawn);

    TFixedTextMetrics metrics;
    image.Canvas().SetTextMetrics(&metrics);
    int w = 0, h = 50;
    line->OnMeasureItem(line, image.Canvas(), w, h);
    EXPECT_EQ(h, 50);  // never shrinks what the menu asks for
    h = 0;
    line->OnMeasureItem(line, image.Canvas(), w, h);
    EXPECT_EQ(h, 4);
    w = h = 0;
    open->OnMeasureItem(open, image.Canvas(), w, h);
    EXPECT_EQ(w, 4 * TFixedTextMetrics::CharWidth + 5 + 24);  // "&" takes no room; the gutter does
    const int th = 11 + 2;
    EXPECT_EQ(h, th + 10);  // + Round(13 x 0.75)

    TXPLook& look = *f.look;
    open->OnDrawItem(open, image.Canvas(), TRect{0, 0, 200, 24}, true);
    EXPECT_EQ(At(image, 100, 12), look.FFSelectColor);
    EXPECT_EQ(At(image, 100, 1), ColorToRGB(look.FFSelectBorderColor));
    EXPECT_EQ(At(image, 100, 0), look.FFColor);
    ASSERT_EQ(metrics.drawn.size(), 1u);
    EXPECT_EQ(metrics.drawn[0].text, " Open");
    EXPECT_EQ(metrics.drawn[0].color, look.FFSelectFontColor);
    EXPECT_EQ(metrics.drawn[0].cell.Left, 24 + 3);
    open->OnDrawItem(open, image.Canvas(), TRect{0, 0, 200, 24}, false);
    EXPECT_EQ(At(image, 100, 12), look.FFColor);
    EXPECT_EQ(At(image, 5, 12), look.FFIconBackColor);
    line->OnDrawItem(line, image.Canvas(), TRect{0, 0, 200, 4}, false);
    EXPECT_EQ(At(image, 100, 2), look.FFSeparatorColor);
    EXPECT_EQ(At(image, 24 + 6, 2), look.FFColor);

    // Switching off takes back only this component's handlers.
    f.look->SetActive(false);
    EXPECT_FALSE(open->OnDrawItem);
    EXPECT_TRUE(own->OnDrawItem);
}

TEST(XPLook, GradientMenuKeepsItsOwnLook)
{
    LookForm f;
    auto* menu = new TVeskPopupMenu(f.form.get());
    auto* item = new TMenuItem(menu);
    item->Caption = "Sharpen";
    menu->Items().Add(item);
    menu->HookItems();
    f.AddLook();
    TBitmap image(200, 30, pf24bit);
    item->OnDrawItem(item, image.Canvas(), TRect{0, 0, 200, 30}, false);
    EXPECT_EQ(At(image, 150, 20), menu->ItemBackColor);
}

TEST(XPLookManager, DecoratesFormsMadeLaterAtTheNextMessage)
{
    LookForm main;
    main.AddLook();
    ASSERT_TRUE(XPLookManager);
    EXPECT_EQ(XPLookManager->ActiveXPLook(), main.look);

    // Forms made later, owned as the program's dialogs are: the look hears of them.
    LookForm later(main.form.get());  // no look of its own
    LookForm skipped(main.form.get());
    skipped.form->Tag = 999;
    EXPECT_EQ(HookOf(*main.look, later.edit), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return HookOf(*main.look, later.edit) != nullptr; }));
    EXPECT_TRUE(HookOf(*main.look, later.button));
    EXPECT_EQ(HookOf(*main.look, skipped.edit), nullptr);
    EXPECT_EQ(Shot(*later.button, 40, 4), main.look->FFIconBackColor);

    // A second look takes the hooks over when the first goes; the controls keep the look.
    LookForm second;
    second.AddLook();
    delete main.look;
    main.look = nullptr;
    EXPECT_EQ(XPLookManager->ActiveXPLook(), second.look);
    EXPECT_TRUE(HookOf(*second.look, later.edit));
    EXPECT_EQ(Shot(*later.button, 40, 4), second.look->FFIconBackColor);

    // The last one going gives the controls on other forms their own drawing back.
    const TColor decorated = Shot(*later.button, 40, 4);
    delete second.look;
    EXPECT_EQ(XPLookManager, nullptr);
    EXPECT_NE(Shot(*later.button, 40, 4), decorated);
}

}  // namespace
