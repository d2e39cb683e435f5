#pragma once
// The one process-wide keeper of the live TXPLook components: it elects the first active one,
// which also gives the XP look to the application's forms that hold no TXPLook of their own,
// and hands control hooks on to a successor when that component goes away.
#include "Forms.h"
#include "Threads.h"

#include <memory>
#include <vector>

class TXPLook;
class TApplicationEventHook;

class TXPLookManager : public TPersistent {
public:
    TXPLookManager();
    ~TXPLookManager() override;

    void Add(TXPLook* look);
    void Delete(TXPLook* look);
    // Elects a successor when the active component leaves (Leaving) or changes (nullptr).
    void UpdateActiveXPLook(TXPLook* leaving);
    TXPLook* FindActiveXPLook(TXPLook* except) const;
    TXPLook* ActiveXPLook() const { return FActiveXPLook; }
    // The live forms the active component decorates besides the forms that hold a look.
    std::vector<TForm*> DecoratedForms() const;
    // Undoes the active component's control hooks on the form.
    void RestoreForm(TForm* form);
    // Told by the registered components of components inserted and removed anywhere under
    // their owners: a form made (with an owner) waits in FPendingForms, a form freed leaves
    // both lists.
    void Notification(TComponent* component, TOperation operation);
    // Appends the live forms without a look of their own to FPendingForms.
    void CollectForms();
    // Runs for every message through the application: the forms waiting in FPendingForms get
    // the look from the next message on.
    void MainWindowHook();

    std::vector<TXPLook*> FXPLookList;
    // Forms handled: those owning a registered TXPLook and those the active one decorated.
    std::vector<TForm*> FActiveForms;
    std::vector<TForm*> FPendingForms;

private:
    bool Collectable(TForm* form) const;
    void DecoratePending();
    TMainThreadQueue queue_;
    bool posted_ = false;
    TXPLook* FActiveXPLook = nullptr;
    std::unique_ptr<TApplicationEventHook> hook_;
};

// The manager, nullptr until the first TXPLook is made and after the last one has gone.
extern TXPLookManager* XPLookManager;
void CreateXPLookManager();
void FreeXPLookManager();
