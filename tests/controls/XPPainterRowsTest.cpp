// The painters of the rows the look gained, each read back from the control as it paints itself,
// state by state: idle, hot, focused, pressed, disabled and dropped down where the row has them.
#include "PaintProbe.h"
#include "XPGallery.h"

#include "ListBoxes.h"
#include "XPColors.h"

#include "../support/RealInput.h"
#include "../support/TestWait.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCursor>

namespace {

using Expected = std::function<TColor(const TXPLook&)>;

// A state of a row: what is done to the control and its hook, and the colour expected at a point
// (of the control, or of its parent for painters that draw there).
struct Look {
    const char* state;
    std::function<void(TControl&, TControlSubClass&)> set;
    int x, y;
    Expected expected;
};

TColor SelectBorder(const TXPLook& l) { return ColorToRGB(l.FFSelectBorderColor); }
TColor LitBorder(const TXPLook& l) { return LightenColor(l.FFSelectBorderColor, 60); }
// A colour the look's own colours do not change.
Expected Is(TColor c)
{
    return [c](const TXPLook&) { return ColorToRGB(c); };
}
const TColor IdleFrame = DarkenColor(FormColor, 60);

void Hot(TControl&, TControlSubClass& h) { h.FMouseInControl = true; }
void Nothing(TControl&, TControlSubClass&) {}
void Disabled(TControl& c, TControlSubClass&) { c.SetEnabled(false); }
// Focused, the pointer elsewhere: gaining the focus makes a control hot until the mouse leaves.
void Focus(TControl& c, TControlSubClass& h)
{
    auto& win = static_cast<TWinControl&>(c);
    win.SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return win.Focused(); }));
    h.FMouseInControl = false;
}

struct RowForm : PainterForm {
    RowForm() { form->SetBounds(100, 100, 400, 300); }
    // Each state on a control of its own, made by make; points read from the control, or from
    // the form when onParent.
    template <class Make>
    void Check(const std::vector<Look>& looks, Make make, bool onParent = false)
    {
        ASSERT_TRUE(ShowActive(*form));
        std::vector<TControl*> controls;
        for (size_t i = 0; i < looks.size(); ++i)
            controls.push_back(make(*this, static_cast<int>(i)));
        AddLook();
        for (size_t i = 0; i < looks.size(); ++i) {
            TControl& c = *controls[i];
            TControlSubClass* hook = HookOf(*look, &c);
            ASSERT_TRUE(hook) << looks[i].state;
            Shot(c, 0, 0);  // the painter's first look flattens what it flattens
            looks[i].set(c, *hook);
            const TColor got = onParent ? Shot(*form, c.Left() + looks[i].x, c.Top() + looks[i].y)
                                        : Shot(c, looks[i].x, looks[i].y);
            EXPECT_EQ(got, looks[i].expected(*look)) << looks[i].state;
        }
    }
};

template <class T>
auto Each(int width, int height, std::function<void(T&)> prepare = nullptr)
{
    return [=](RowForm& f, int i) {
        T* c = f.Add<T>(10 + (i % 4) * (width + 10), 10 + (i / 4) * (height + 10), width, height);
        if (prepare)
            prepare(*c);
        return c;
    };
}

TEST(XPPainterRows, LookupComboFrameButtonAndArrow)
{
    const int w = 120, sb = TCustomListBox::ScrollBarWidth();
    const int idleFrameX = w - 1 - (sb + 1), litFrameX = w - 1 - (sb + 2);
    auto dropped = [](TControl& c, TControlSubClass&) { static_cast<TComboBox&>(c).Combo()->showPopup(); };
    RowForm f;
    f.Check({{"idle frame", Nothing, 60, 0, Is(IdleFrame)},
             {"idle line inside", Nothing, 60, 1, Is(clWindow)},
             {"idle button", Nothing, w - 4, 10, Is(clBtnFace)},
             {"idle button frame", Nothing, idleFrameX, 10, LitBorder},
             {"idle arrow", Nothing, w - 7, 8, Is(clBlack)},
             {"hot frame", Hot, 60, 0, SelectBorder},
             {"hot button", Hot, w - 4, 10, [](auto& l) { return l.FFSelectColor; }},
             {"hot button frame", Hot, litFrameX, 10, SelectBorder},
             {"focused button", Focus, w - 4, 10, [](auto& l) { return l.FFCheckedAreaColor; }},
             {"dropped button", dropped, w - 4, 10, [](auto& l) { return l.FFCheckedAreaSelectedColor; }},
             {"dropped arrow", dropped, w - 7, 8, Is(clWhite)},
             {"disabled arrow", Disabled, w - 7, 8, Is(clWhite)}},
            Each<TDBLookupComboBox>(w, 21, [](TDBLookupComboBox& c) {
                c.SetColor(clWindow);
                c.Items().Add("Music CD");
            }));
}

TEST(XPPainterRows, RichEditFrameOnItsParent)
{
    auto borderless = [](TControl& c, TControlSubClass& h) { h.FBorderStyle = bsNone; };
    // The edit gives its own border up for the band the frame stands in (the gallery checks it).
    RowForm().Check({{"idle", Nothing, -1, 20, Is(IdleFrame)},
                     {"idle, top", Nothing, 40, -1, Is(IdleFrame)},
                     {"hot", Hot, -1, 20, LitBorder},
                     {"focused", Focus, 40, -1, LitBorder},
                     {"without a border of its own", borderless, -1, 20, Is(FormColor)}},
                    Each<TRichEdit>(80, 50), true);
}

TEST(XPPainterRows, BitButtonFaceFrameEdgeAndGlyph)
{
    const int w = 100, h = 30;
    auto tag = [](int value) { return [value](TControl& c, TControlSubClass&) { c.Tag = value; }; };
    auto face = [](auto& l) { return l.FFIconBackColor; };
    const Expected hotFace = Is(LightenColor(clBtnFace, TXPLook::HotButtonShade));
    const TColor glyph = RGB(0, 90, 160);
    // No caption: the 12-pixel glyph stands centred, its blue square at (44 + 5, 9 + 5).
    RowForm f;
    f.Check({{"idle face", Nothing, 90, 5, face},
             {"idle frame", Nothing, 50, 0, Is(clBtnShadow)},
             {"idle edge", Nothing, 50, h - 1, Is(DarkenColor(clBtnShadow, 50))},
             {"idle glyph, dimmed", Nothing, 49, 14, [=](auto& l) { return LightenColor(glyph, l.DimLevel); }},
             {"hot face", Hot, 90, 5, hotFace},
             {"hot frame", Hot, 50, 0, LitBorder},
             {"hot glyph", Hot, 49, 14, Is(glyph)},
             {"space held", [](TControl&, TControlSubClass& k) { k.FSpaceDown = true; }, 90, 5, hotFace},
             {"pressed edge", [](TControl&, TControlSubClass& k) { k.FMouseInControl = k.FMouseDown = true; }, 0, 5,
              [](auto& l) { return DarkenColor(LightenColor(l.FFSelectBorderColor, 60), 50); }},
             {"focused frame", Focus, 50, 0, LitBorder},
             {"focused: dotted frame inside", Focus, 90, 4, [](auto& l) { return ColorToRGB(l.FFIconBackColor) ^ 0xFFFFFF; }},
             {"disabled: no edge", Disabled, 50, h - 1, Is(clBtnShadow)},
             {"Tag 1000 face", tag(1000), 90, 5, Is(LightenColor(FormColor, TXPLook::ButtonShade))},
             {"Tag 1001 frame", tag(1001), 50, 0, Is(LightenColor(FormColor, TXPLook::ButtonShade))},
             {"Tag 1001 edge", tag(1001), 50, h - 1, Is(LightenColor(FormColor, TXPLook::ButtonShade))}},
            Each<TBitBtn>(w, h, [](TBitBtn& b) { b.SetGlyph(*gallery::Glyph()); }));
}

TEST(XPPainterRows, UpDownHalves)
{
    // The up-down is 17 x 24: halves of 12; arrows 2 above each half's middle.
    auto pointAt = [](int y, bool down = false) {
        return [=](TControl& c, TControlSubClass& h) {
            QCursor::setPos(c.Widget()->mapToGlobal(QPoint(8, y)));
            h.FMouseInControl = true;
            h.FMouseDown = down;
        };
    };
    auto otherFill = [](auto& l) { return LightenColor(l.FFSelectColor, 16); };
    const Expected otherFrame = Is(LightenColor(FormColor, 80));
    RowForm f;
    f.Check({{"idle upper frame", Nothing, 0, 0, otherFrame},
             {"idle upper fill", Nothing, 2, 2, otherFill},
             {"idle up arrow", Nothing, 8, 4, Is(clBlack)},
             {"idle down arrow", Nothing, 8, 19, Is(clBlack)},
             {"upper hot: its frame", pointAt(3), 0, 0, SelectBorder},
             {"upper hot: its fill", pointAt(3), 2, 2, [](auto& l) { return LightenColor(l.FFSelectColor, 60); }},
             {"upper hot: lower stays", pointAt(3), 2, 14, otherFill},
             {"lower hot: its frame", pointAt(18), 0, 12, SelectBorder},
             {"lower hot: upper stays", pointAt(18), 0, 0, otherFrame},
             {"pressed: fill", pointAt(3, true), 2, 2, [](auto& l) { return l.FFCheckedAreaSelectedColor; }},
             {"pressed: arrow", pointAt(3, true), 8, 4, Is(clWhite)},
             {"disabled arrow", Disabled, 8, 4, Is(clWhite)},
             {"Tag 1000 fill", [](TControl& c, TControlSubClass&) { c.Tag = 1000; }, 2, 2, Is(LightenColor(FormColor, 16))}},
            Each<TUpDown>(17, 24));
}

// The frames round edits, lists, progress bars and hot keys; without a border of its own an edit
// shows its colour but when hot, and a list has the frame drawn over its items.
TEST(XPPainterRows, FramesOfEditsListsBarsAndHotKeys)
{
    const Look idle{"idle", Nothing, 40, 0, Is(IdleFrame)};
    const std::vector<Look> edits = {idle, {"hot", Hot, 40, 21, LitBorder}, {"focused", Focus, 0, 10, LitBorder}};
    const std::vector<Look> lists = {idle, {"hot", Hot, 0, 20, LitBorder}, {"focused", Focus, 40, 0, LitBorder}};
    const Expected ownHot = Is(LightenColor(AverageColor(clWindow, FormColor), 40));
    auto none = [](TWinControl& c) { c.SetBorderStyle(bsNone); };
    const struct {
        const char* kind;
        std::vector<Look> looks;
        std::function<TControl*(RowForm&, int)> make;
    } rows[] = {
        {"edit", edits, Each<TEdit>(80, 22)},
        {"memo", edits, Each<TMemo>(80, 22)},
        {"mask edit", edits, Each<TMaskEdit>(80, 22)},
        {"list box", lists, Each<TListBox>(80, 40)},
        {"tree view", lists, Each<TTreeView>(80, 40)},
        {"list view", lists, Each<TListView>(80, 40)},
        {"progress bar", {idle, {"hot", Hot, 0, 10, SelectBorder}}, Each<TProgressBar>(80, 20)},
        {"hot key",
         {idle, {"idle, inner frame", Nothing, 40, 1, Is(clWindow)}, {"hot", Hot, 0, 10, LitBorder}, {"focused", Focus, 40, 21, LitBorder}},
         Each<THotKey>(80, 22)},
        {"borderless edit",
         {{"idle", Nothing, 40, 0, Is(clWindow)},
          {"hot", Hot, 40, 0, ownHot},
          {"focused and hot", [](TControl& c, TControlSubClass& h) { Focus(c, h); Hot(c, h); }, 40, 0, Is(clWindow)}},
         Each<TEdit>(80, 22, none)},
        {"borderless memo", {{"hot", Hot, 40, 0, ownHot}}, Each<TMemo>(80, 40, none)},
        {"borderless list box",
         {{"idle", Nothing, 40, 0, Is(FormColor)},
          {"hot", Hot, 0, 20, [](auto& l) { return LightenColor(l.FFSelectBorderColor, 80); }}},
         Each<TListBox>(80, 40, none)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        RowForm().Check(row.looks, row.make);
    }
}

TEST(XPPainterRows, MirroredAndOtherwiseSetControls)
{
    const int sb = TCustomListBox::ScrollBarWidth();
    // Right to left, the combo box's button and arrow stand at the left, its strip toward the text.
    RowForm().Check({{"button at the left", Nothing, 3, 3, Is(clBtnFace)},
                  {"strip toward the text", Nothing, sb - 1, 3, Is(clWindow)},
                  {"arrow at the left", Nothing, 7, 10, Is(clBlack)}},
                 Each<TComboBox>(120, 21, [](TComboBox& c) {
                     c.SetBiDiMode(bdRightToLeft);
                     c.SetColor(clWindow);
                 }));
    // The group box's caption ends 9 pixels from the right; without Ctl3D its frame is all shade.
    const TColor boxColor = RGB(230, 230, 210);
    RowForm().Check({{"caption box at the right", Nothing, 150 - 10, 1, Is(boxColor)},
                 {"band at the left", Nothing, 10, 1, Is(FormColor)},
                 {"flat frame's left line", [](TControl& c, TControlSubClass&) { static_cast<TWinControl&>(c).SetCtl3D(false); },
                  0, 40, Is(DarkenColor(boxColor, 60))}},
                Each<TGroupBox>(150, 60, [=](TGroupBox& b) {
                    b.SetColor(boxColor);
                    b.SetCaption("Tracks");
                    b.SetBiDiMode(bdRightToLeft);
                }));
    // A caption at the left of its box puts the box at the right edge.
    RowForm().Check({{"box at the right", Nothing, 120 - sb + 2, 12, Is(clBtnShadow)},
                  {"the ground at the left", Nothing, 2, 12, Is(clWhite)}},
                 Each<TCheckBox>(120, 24, [](TCheckBox& b) {
                     b.SetAlignment(taLeftJustify);
                     b.SetCaption("");
                 }));
    // Bevels of their width, the inner one inside the border width.
    const TColor panelColor = RGB(100, 150, 200);
    RowForm().Check({{"outer bevel, first ring", Nothing, 0, 20, Is(LightenColor(panelColor, 60))},
                  {"outer bevel, second ring", Nothing, 1, 20, Is(LightenColor(panelColor, 60))},
                  {"border", Nothing, 3, 20, Is(panelColor)},
                  {"inner bevel", Nothing, 5, 20, Is(DarkenColor(panelColor, 60))}},
                 Each<TPanel>(80, 40, [=](TPanel& p) {
                     p.SetColor(panelColor);
                     p.BevelWidth = 2;
                     p.SetBorderWidth(3);
                     p.BevelInner = bvLowered;
                 }));
}

}  // namespace
