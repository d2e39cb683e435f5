#pragma once
// Events and the anchor rule shared by the mark-up controls (combo box, list box, panel).
#include "Classes.h"

// An anchor clicked in item Index (-1 where the control has no items).
using TAnchorClick = std::function<void(TObject* sender, int index, const String& anchor)>;
// The anchor under the pointer; the handler may change it (the text the hint then shows).
using TAnchorHintEvent = std::function<void(TObject* sender, int index, String& anchor)>;

// A web or mail link: an http, https or ftp address or a mailto target (letter case and
// surrounding blanks aside), which the desktop opens. A file, or anything else a link may name,
// never goes to the desktop.
bool IsWebAnchor(const String& anchor);

// The anchor rule of the mark-up controls: a web link is opened by the desktop, and every other
// anchor clicked raises the click event with it.
void FollowAnchor(TObject* sender, int index, const String& anchor, const TAnchorClick& onAnchorClick);

// Points a control's field at another component (or at none) and asks for that component's
// free-notification, so that the control's Notification can clear the field when it goes.
template <typename T>
void ReferTo(TComponent* control, T*& field, T* value)
{
    if (field && field != value)
        field->RemoveFreeNotification(control);
    field = value;
    if (field)
        field->FreeNotification(control);
}
