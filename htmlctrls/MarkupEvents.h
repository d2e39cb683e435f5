#pragma once
// Events and the anchor rule shared by the mark-up controls (combo box, list box, panel).
#include "Classes.h"

// An anchor clicked in item Index (-1 where the control has no items).
using TAnchorClick = std::function<void(TObject* sender, int index, const String& anchor)>;
// The anchor under the pointer; the handler may change it (the text the hint then shows).
using TAnchorHintEvent = std::function<void(TObject* sender, int index, String& anchor)>;

// An anchor whose target contains "://" or "mailto:" is a web link, opened by the desktop;
// only other anchors reach the control's OnAnchorClick.
bool IsWebAnchor(const String& anchor);

// Applies the anchor rule: opens a web link, or raises the click event with the anchor.
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
