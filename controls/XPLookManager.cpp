#include "XPLookManager.h"

#include "AppEventHook.h"
#include "ControlSubClass.h"
#include "XPLook.h"

#include <algorithm>
#include <utility>

TXPLookManager* XPLookManager = nullptr;

void CreateXPLookManager()
{
    if (!XPLookManager)
        XPLookManager = new TXPLookManager;
}

void FreeXPLookManager()
{
    delete XPLookManager;
    XPLookManager = nullptr;
}

template <typename T>
static bool Contains(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

TXPLookManager::TXPLookManager() : hook_(std::make_unique<TApplicationEventHook>([this] { MainWindowHook(); })) {}

TXPLookManager::~TXPLookManager() = default;

void TXPLookManager::Add(TXPLook* look)
{
    if (Contains(FXPLookList, look))
        return;
    FXPLookList.push_back(look);
    if (look->Form() && !Contains(FActiveForms, look->Form()))
        FActiveForms.push_back(look->Form());
    if (!FActiveXPLook && look->Active() && !look->DisableSubclassing()) {
        FActiveXPLook = look;
        CollectForms();
    }
}

void TXPLookManager::Notification(TComponent* component, TOperation operation)
{
    if (!FActiveXPLook)
        return;
    if (operation == opRemove) {
        // A component is told of its removal once only its component part is left: the lists
        // are searched by address.
        auto same = [component](TForm* form) { return static_cast<TComponent*>(form) == component; };
        std::erase_if(FPendingForms, same);
        std::erase_if(FActiveForms, same);
        return;
    }
    auto* form = dynamic_cast<TForm*>(component);
    if (form && !Contains(FPendingForms, form)) {
        FPendingForms.push_back(form);
        MainWindowHook();
    }
}

void TXPLookManager::Delete(TXPLook* look)
{
    if (look == FActiveXPLook)
        UpdateActiveXPLook(look);
    std::erase(FXPLookList, look);
    std::erase(FActiveForms, look->Form());
}

TXPLook* TXPLookManager::FindActiveXPLook(TXPLook* except) const
{
    for (TXPLook* look : FXPLookList)
        if (look != except && look->Active() && !look->DisableSubclassing())
            return look;
    return nullptr;
}

static std::vector<TForm*> LiveForms()
{
    std::vector<TForm*> live;
    for (int i = 0; i < Screen()->FormCount(); ++i)
        live.push_back(Screen()->Forms(i));
    return live;
}

static bool OwnsXPLook(TForm* form)
{
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (dynamic_cast<TXPLook*>(form->Components(i)))
            return true;
    return false;
}

static bool LiesOn(TControl* control, TForm* form)
{
    for (TControl* c = control; c; c = c->Parent())
        if (c == form)
            return true;
    return false;
}

void TXPLookManager::UpdateActiveXPLook(TXPLook* leaving)
{
    TXPLook* successor = FindActiveXPLook(leaving);
    // The menus, tool bars and control bars of the forms the leaving component decorated call
    // it: they are taken from it before it goes, and given to the successor with the controls.
    // A form that got a look of its own after the leaving one decorated it kept those handlers:
    // its own looks set theirs again.
    std::vector<TForm*> decorated;
    if (leaving && leaving == FActiveXPLook)
        for (TForm* form : LiveForms()) {
            if (form == leaving->Form())
                continue;
            leaving->ActivateComponents(form, false, true);
            if (!OwnsXPLook(form)) {
                if (Contains(FActiveForms, form))
                    decorated.push_back(form);
                continue;
            }
            for (int i = 0; i < form->ComponentCount(); ++i)
                if (auto* own = dynamic_cast<TXPLook*>(form->Components(i)); own && own->Active())
                    own->ActivateComponents(form, true, true);
        }
    if (successor && FActiveXPLook) {
        if (leaving)
            for (TControlSubClass* sub : FActiveXPLook->SubClasses())
                if (sub->Control && sub->Hooked() && !LiesOn(sub->Control, leaving->Form()))
                    new TControlSubClass(successor, *sub);
        FActiveXPLook = successor;
        for (TForm* form : decorated)
            successor->ActivateComponents(form, true, true);
        return;
    }
    if (successor) {
        FActiveXPLook = successor;
        CollectForms();
        return;
    }
    FPendingForms.clear();
    if (FActiveXPLook && Application()->MainForm())
        for (TForm* form : FActiveForms)
            if (!leaving || form != leaving->Form())
                RestoreForm(form);
    if (Application()->MainForm())
        FActiveForms.erase(std::remove_if(FActiveForms.begin(), FActiveForms.end(),
                                          [&](TForm* f) { return !leaving || f != leaving->Form(); }),
                           FActiveForms.end());
    FActiveXPLook = nullptr;
}

std::vector<TForm*> TXPLookManager::DecoratedForms() const
{
    std::vector<TForm*> decorated;
    for (TForm* form : LiveForms())
        if (Contains(FActiveForms, form) && !OwnsXPLook(form))
            decorated.push_back(form);
    return decorated;
}

void TXPLookManager::RestoreForm(TForm* form)
{
    if (!FActiveXPLook)
        return;
    std::vector<TControlSubClass*> subs = FActiveXPLook->SubClasses();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if ((*it)->Control && (*it)->Hooked() && LiesOn((*it)->Control, form))
            (*it)->Restore();
}

bool TXPLookManager::Collectable(TForm* form) const
{
    return form->Tag != 999 && !Contains(FActiveForms, form) && !OwnsXPLook(form);
}

void TXPLookManager::CollectForms()
{
    // Forms with no owner are never heard of leaving: those gone are dropped here.
    const std::vector<TForm*> live = LiveForms();
    std::erase_if(FActiveForms, [&](TForm* f) { return !Contains(live, f); });
    for (TForm* form : live)
        if (Collectable(form) && !Contains(FPendingForms, form))
            FPendingForms.push_back(form);
}

void TXPLookManager::MainWindowHook()
{
    if (FActiveXPLook && !FPendingForms.empty() && !posted_) {
        posted_ = true;
        queue_.Post([this] { DecoratePending(); });
    }
}

void TXPLookManager::DecoratePending()
{
    posted_ = false;
    const std::vector<TForm*> pending = std::exchange(FPendingForms, {});
    if (!FActiveXPLook)
        return;
    const std::vector<TForm*> live = LiveForms();
    std::erase_if(FActiveForms, [&](TForm* f) { return !Contains(live, f); });
    for (TForm* form : pending) {
        if (!Contains(live, form) || !Collectable(form))
            continue;
        FActiveForms.push_back(form);
        FActiveXPLook->ActivateComponents(form, true, true);
    }
}
