#pragma once
// A form holding one control of every kind the XP look decorates on every kind of container
// it knows, for the gallery test and for looking at the look.
#include "BitBtn.h"
#include "CheckBoxes.h"
#include "ComCtrls.h"
#include "ControlBar.h"
#include "CoolBar.h"
#include "DBLookup.h"
#include "ExtCtrls.h"
#include "Frames.h"
#include "GlyphCtrls.h"
#include "HotKey.h"
#include "ListBoxes.h"
#include "ListView.h"
#include "MainMenu.h"
#include "MaskEdit.h"
#include "Memos.h"
#include "PageControl.h"
#include "PageScroller.h"
#include "ProgressBar.h"
#include "ScrollBox.h"
#include "SpeedBtns.h"
#include "StdCtrls.h"
#include "TabControl.h"
#include "TreeView.h"
#include "UpDown.h"
#include "XPLook.h"

#include <functional>
#include <memory>
#include <vector>

namespace gallery {

struct ControlKind {
    const char* name;
    unsigned kinds;  // the TXPControl members (bits) any of which decorates it
    std::function<TControl*(TComponent* owner)> make;
};

// A glyph of two 12 x 12 images: a dark square on magenta, then its grey.
inline std::unique_ptr<TBitmap> Glyph()
{
    auto glyph = std::make_unique<TBitmap>(24, 12, pf24bit);
    TCanvas& c = glyph->Canvas();
    c.Brush.Color = clFuchsia;
    c.FillRect({0, 0, 24, 12});
    c.Brush.Color = RGB(0, 90, 160);
    c.FillRect({2, 2, 10, 10});
    c.Brush.Color = clGray;
    c.FillRect({14, 2, 22, 10});
    c.Release();
    return glyph;
}

inline std::vector<ControlKind> ControlKinds()
{
    auto captioned = [](TControl* c, const char* caption) {
        c->SetCaption(caption);
        return c;
    };
    return {
        {"combo box", XPBit(xcCombo), [](TComponent* o) { auto* c = new TComboBox(o); c->Items().Add("One"); c->SetItemIndex(0); return c; }},
        {"lookup combo", XPBit(xcButton), [](TComponent* o) { auto* c = new TDBLookupComboBox(o); c->Items().Add("Two"); c->SetItemIndex(0); return c; }},
        {"edit", XPBit(xcEdit), [](TComponent* o) { auto* c = new TEdit(o); c->SetText("Edit"); return c; }},
        {"mask edit", XPBit(xcMaskEdit), [](TComponent* o) { auto* c = new TMaskEdit(o); c->SetText("12:30"); return c; }},
        {"memo", XPBit(xcMemo), [](TComponent* o) { auto* c = new TMemo(o); c->SetText("Memo"); return c; }},
        {"rich edit", XPBit(xcRichEdit) | XPBit(xcMemo), [](TComponent* o) { auto* c = new TRichEdit(o); c->SetText("Rich"); return c; }},
        {"check box", XPBit(xcCheckBox), [=](TComponent* o) { auto* c = new TCheckBox(o); c->SetChecked(true); return captioned(c, "Check"); }},
        {"radio button", XPBit(xcRadioButton), [=](TComponent* o) { auto* c = new TRadioButton(o); c->SetChecked(true); return captioned(c, "Radio"); }},
        {"button", XPBit(xcButton), [=](TComponent* o) { return captioned(new TButton(o), "OK"); }},
        {"bit button", XPBit(xcBitBtn), [=](TComponent* o) { auto* c = new TBitBtn(o); c->SetGlyph(*Glyph()); return captioned(c, "Bit"); }},
        {"up-down", XPBit(xcUpDown), [](TComponent* o) { return new TUpDown(o); }},
        {"speed button", XPBit(xcSpeedButton), [](TComponent* o) { auto* c = new TFlatSpeedButton(o); c->SetGlyph(Glyph().get()); return c; }},
        {"glyph button", XPBit(xcSpeedButton), [](TComponent* o) { auto* c = new TGlyphSpeedButton(o); c->SetGlyph(*Glyph()); return c; }},
        {"panel", XPBit(xcPanel), [=](TComponent* o) { return captioned(new TPanel(o), "Panel"); }},
        {"group box", XPBit(xcGroupBox), [=](TComponent* o) { return captioned(new TGroupBox(o), "Group"); }},
        {"list box", XPBit(xcListBox), [](TComponent* o) { auto* c = new TListBox(o); c->Items().Add("List"); return c; }},
        {"tree view", XPBit(xcTreeView), [](TComponent* o) { auto* c = new TTreeView(o); c->AddChild(nullptr, "Tree"); return c; }},
        {"list view", XPBit(xcListView), [](TComponent* o) { auto* c = new TListView(o); c->AddItem("View"); return c; }},
        {"progress bar", XPBit(xcProgressBar), [](TComponent* o) { auto* c = new TProgressBar(o); c->SetPosition(60); return c; }},
        {"hot key", XPBit(xcHotKey), [](TComponent* o) { auto* c = new THotKey(o); c->SetHotKey(scCtrl | 'K'); return c; }},
    };
}

struct Container {
    const char* name;
    int kind;                // the TXPContainer member that lets its controls be decorated
    TWinControl* parent;     // where the controls stand
    TComponent* owner;       // who owns them (a frame owns its own)
    std::vector<TControl*> controls;
};

constexpr int CellWidth = 58;
constexpr int RowHeight = 64;
constexpr int ControlHeight = 40;

// The gallery: every container a row of the form, every control a cell of the row.
class Gallery {
public:
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TMainMenu* menu = nullptr;
    std::vector<Container> containers;
    std::vector<ControlKind> kinds = ControlKinds();
    TXPLook* look = nullptr;

    Gallery()
    {
        const int width = 12 + CellWidth * static_cast<int>(kinds.size()) + 60;
        form->SetBounds(0, 0, width, 13 * RowHeight);
        form->SetColor(RGB(212, 208, 200));
        menu = new TMainMenu(form.get());
        for (const char* caption : {"&File", "&Edit", "&View"}) {
            auto* item = new TMenuItem(menu);
            item->Caption = caption;
            menu->Items().Add(item);
            auto* sub = new TMenuItem(menu);
            sub->Caption = "&Open";
            item->Add(sub);
        }
        form->SetMenu(menu);
        TForm* f = form.get();
        // The form's own controls stand in the first row; every other container is a row below
        // (the tabbed ones taller, for their tabs).
        int row = 1;
        auto place = [&](TWinControl* c, int height = RowHeight - 6) {
            c->SetAlign(alNone);
            c->SetParent(f);
            c->SetBounds(4, 4 + row * RowHeight, width - 20, height);
            row += height > RowHeight ? 2 : 1;
            return c;
        };
        auto add = [&](const char* name, int kind, TWinControl* parent, TComponent* owner = nullptr) {
            containers.push_back({name, kind, parent, owner ? owner : f, {}});
        };
        add("form", xccForm, f);
        auto* frame = new TFrame(f);
        add("frame", xccFrame, place(frame), frame);
        add("tool bar", xccToolbar, place(new TToolBar(f)));
        add("cool bar", xccCoolbar, place(new TCoolBar(f)));
        add("control bar", xccControlbar, place(new TControlBar(f)));
        add("panel", xccPanel, place(new TPanel(f)));
        add("scroll box", xccScrollBox, place(new TScrollBox(f)));
        auto* group = new TGroupBox(f);
        group->SetCaption("Group box");
        add("group box", xccGroupBox, place(group));
        auto* sheet = new TTabSheet(f);
        sheet->SetCaption("Tab sheet");
        sheet->SetParent(place(new TPageControl(f), RowHeight + 20));
        add("tab sheet", xccTabSheet, sheet);
        auto* tabs = new TTabControl(f);
        tabs->Tabs().Add("Tab control");
        add("tab control", xccTabSheet, place(tabs, RowHeight + 20));
        add("page scroller", xccPageScroller, place(new TPageScroller(f)));

        for (Container& c : containers) {
            const int top = c.parent == f ? 4 : (c.kind == xccTabSheet && c.parent == tabs ? 28 : 10);
            for (size_t i = 0; i < kinds.size(); ++i) {
                TControl* control = kinds[i].make(c.owner);
                control->SetBounds(6 + CellWidth * static_cast<int>(i), top, CellWidth - 6, ControlHeight);
                control->SetParent(c.parent);
                control->SetBounds(6 + CellWidth * static_cast<int>(i), top, CellWidth - 6, ControlHeight);
                c.controls.push_back(control);
            }
        }
    }

    void AddLook(TXPControls controls = AllXPControls, TXPContainers containersSet = AllXPContainers)
    {
        look = new TXPLook(form.get());
        look->SetXPControls(controls);
        look->SetXPContainers(containersSet);
        look->SetActive(true);
        look->Loaded();
    }
};

}  // namespace gallery
