#pragma once
// The control and container kinds the XP look tells apart, by class or by class name.
#include "Controls.h"

class TXPLook;

namespace XPKind {
bool IsCombo(const TControl* c);         // the library's combo boxes, the lookup combo excepted
bool IsLookupCombo(const TControl* c);   // class name "TDBLookupComboBox"
bool IsPlainEdit(const TControl* c);     // edits that are not of a masked edit's class name
bool IsMaskEdit(const TControl* c);      // class name "TMaskEdit" or "TDBEdit"
bool IsMemo(const TControl* c);          // memos, rich edits included
bool IsRichEdit(const TControl* c);
bool IsEdit(const TControl* c);          // any of the edit kinds above
bool IsPushButton(const TControl* c);    // class name "TButton"
bool IsBitButton(const TControl* c);     // class name "TBitBtn"
bool IsUpDown(const TControl* c);        // class name "TUpDown"
bool IsSpeedButton(const TControl* c);   // either speed-button family
bool IsListKind(const TControl* c);      // list box, tree view or list view
// Which of the look's control kinds (TXPControl members) the control matches; any may decorate it.
unsigned ControlKinds(const TControl* c);
// Which container kinds (TXPContainer members) a parent matches.
unsigned ContainerKinds(const TControl* parent);
}  // namespace XPKind
