#include "XPKinds.h"

#include "BitBtn.h"
#include "CheckBoxes.h"
#include "ComCtrls.h"
#include "ControlBar.h"
#include "ControlSubClass.h"
#include "CoolBar.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Frames.h"
#include "HotKey.h"
#include "ListBoxes.h"
#include "ListView.h"
#include "Memos.h"
#include "PageControl.h"
#include "PageScroller.h"
#include "ProgressBar.h"
#include "ScrollBox.h"
#include "StdCtrls.h"
#include "TabControl.h"
#include "TreeView.h"
#include "XPLook.h"

namespace XPKind {

namespace {
bool Named(const TControl* c, const char* name) { return c && c->ClassName() == name; }
}  // namespace

bool IsLookupCombo(const TControl* c) { return Named(c, "TDBLookupComboBox"); }
bool IsCombo(const TControl* c) { return dynamic_cast<const TComboBox*>(c) && !IsLookupCombo(c); }
bool IsMaskEdit(const TControl* c) { return Named(c, "TMaskEdit") || Named(c, "TDBEdit"); }
bool IsPlainEdit(const TControl* c) { return dynamic_cast<const TEdit*>(c) && !IsMaskEdit(c); }
bool IsMemo(const TControl* c) { return dynamic_cast<const TCustomMemo*>(c) != nullptr; }
bool IsRichEdit(const TControl* c) { return dynamic_cast<const TRichEdit*>(c) != nullptr; }
bool IsEdit(const TControl* c) { return IsPlainEdit(c) || IsMaskEdit(c) || IsMemo(c); }
bool IsPushButton(const TControl* c) { return Named(c, "TButton"); }
bool IsBitButton(const TControl* c) { return Named(c, "TBitBtn"); }
bool IsUpDown(const TControl* c) { return Named(c, "TUpDown"); }
bool IsSpeedButton(const TControl* c)
{
    auto* any = const_cast<TControl*>(c);
    return IsFlatSpeedButton(any) || IsGlyphSpeedButton(any);
}
bool IsListKind(const TControl* c)
{
    return dynamic_cast<const TCustomListBox*>(c) || dynamic_cast<const TTreeView*>(c) ||
           dynamic_cast<const TListView*>(c);
}

unsigned ControlKinds(const TControl* c)
{
    unsigned kinds = 0;
    auto add = [&](bool matches, int kind) {
        if (matches)
            kinds |= XPBit(kind);
    };
    add(IsCombo(c), xcCombo);
    add(IsPlainEdit(c), xcEdit);
    add(IsMaskEdit(c), xcMaskEdit);
    add(IsMemo(c), xcMemo);
    add(IsRichEdit(c), xcRichEdit);
    add(dynamic_cast<const TCheckBox*>(c), xcCheckBox);
    add(dynamic_cast<const TRadioButton*>(c), xcRadioButton);
    add(IsBitButton(c), xcBitBtn);
    add(IsPushButton(c), xcButton);
    add(IsUpDown(c), xcUpDown);
    add(IsSpeedButton(c), xcSpeedButton);
    add(dynamic_cast<const TPanel*>(c), xcPanel);
    add(Named(c, "TDBNavigator") || IsLookupCombo(c), xcButton);
    add(dynamic_cast<const TGroupBox*>(c), xcGroupBox);
    add(dynamic_cast<const TCustomListBox*>(c), xcListBox);
    add(dynamic_cast<const TTreeView*>(c), xcTreeView);
    add(dynamic_cast<const TListView*>(c), xcListView);
    add(dynamic_cast<const TProgressBar*>(c), xcProgressBar);
    add(dynamic_cast<const THotKey*>(c), xcHotKey);
    return kinds;
}

unsigned ContainerKinds(const TControl* p)
{
    unsigned kinds = 0;
    auto add = [&](bool matches, int kind) {
        if (matches)
            kinds |= XPBit(kind);
    };
    add(dynamic_cast<const TToolBar*>(p), xccToolbar);
    add(dynamic_cast<const TCoolBar*>(p), xccCoolbar);
    add(dynamic_cast<const TPanel*>(p), xccPanel);
    add(dynamic_cast<const TControlBar*>(p), xccControlbar);
    add(dynamic_cast<const TScrollBox*>(p), xccScrollBox);
    add(dynamic_cast<const TGroupBox*>(p), xccGroupBox);
    add(dynamic_cast<const TTabSheet*>(p) || dynamic_cast<const TTabControl*>(p) || Named(p, "TdxTabSheet"),
        xccTabSheet);
    add(dynamic_cast<const TPageScroller*>(p), xccPageScroller);
    add(dynamic_cast<const TFrame*>(p) || Named(p, "TDBCtrlPanel"), xccFrame);
    add(dynamic_cast<const TForm*>(p), xccForm);
    return kinds;
}

}  // namespace XPKind

bool TXPLook::Decorates(TControl* control) const
{
    // Every row of both tables is tried: one kind in each set is enough.
    if (!(XPKind::ControlKinds(control) & xpControls_))
        return false;
    TWinControl* parent = control->Parent();
    return parent && (XPKind::ContainerKinds(parent) & xpContainers_);
}
