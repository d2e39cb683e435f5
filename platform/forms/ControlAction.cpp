// The action a control is linked to.
#include "Controls.h"

#include "ActnList.h"

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->Execute();
}

void TControl::SetAction(TBasicAction* action)
{
    if (action == action_)
        return;
    if (action_)
        action_->Unlink(this);
    action_ = action;
    if (action_) {
        action_->Link(this);
        ActionChange(*action_);
    }
}

void TControl::ActionChange(TBasicAction& action)
{
    auto* custom = dynamic_cast<TCustomAction*>(&action);
    if (!custom)
        return;
    SetCaption(custom->Caption());
    SetEnabled(custom->Enabled());
    SetHint(custom->Hint());
}

