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
    // Undoes the active component's control hooks on the form.
    void RestoreForm(TForm* form);
    // Runs for every message through the application: forms made since wait in FPendingForms
    // and get the look from the next message on, once their constructors have finished.
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
