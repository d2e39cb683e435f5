#include "ActnList.h"

#include "Controls.h"

#include <algorithm>

TBasicAction::~TBasicAction()
{
    // Linked controls must not keep a pointer to a dead action.
    std::vector<TControl*> clients;
    clients.swap(clients_);
    for (TControl* c : clients)
        c->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TBasicAction::Link(TControl* control)
{
    if (std::find(clients_.begin(), clients_.end(), control) == clients_.end())
        clients_.push_back(control);
}

void TBasicAction::Unlink(TControl* control)
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), control), clients_.end());
}

void TBasicAction::Changed()
{
    // A client may unlink itself while being told.
    const std::vector<TControl*> clients = clients_;
    for (TControl* c : clients)
        c->ActionChange(*this);
}

#define ACTION_SETTER(Name, Type, field)                 \
    void TCustomAction::Set##Name(Type value)            \
    {                                                    \
        if (value != field) {                            \
            field = value;                               \
            Changed();                                   \
        }                                                \
    }
ACTION_SETTER(Caption, const String&, caption_)
ACTION_SETTER(Enabled, bool, enabled_)
ACTION_SETTER(Hint, const String&, hint_)
ACTION_SETTER(Checked, bool, checked_)
ACTION_SETTER(ImageIndex, int, imageIndex_)
#undef ACTION_SETTER

bool TCustomAction::Execute() { return enabled_ && TBasicAction::Execute(); }
