#pragma once
// Actions: one command with its caption, enabled state and hint, shared by the controls linked
// to it.
#include "Classes.h"

#include <vector>

class TControl;
class TImageList;
class TActionList;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* owner = nullptr) : TComponent(owner) {}
    ~TBasicAction() override;
    TNotifyEvent OnExecute;
    // Runs OnExecute; false when it has none.
    virtual bool Execute();

    // Platform side: the controls linked to the action, told of every change.
    void Link(TControl* control);
    void Unlink(TControl* control);

protected:
    void Changed();

private:
    std::vector<TControl*> clients_;
};

class TCustomAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    String Caption() const { return caption_; }
    void SetCaption(const String& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    String Hint() const { return hint_; }
    void SetHint(const String& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    // The action's picture in its list's Images; -1 for none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TActionList* ActionList = nullptr;
    // A disabled action does not run.
    bool Execute() override;

private:
    String caption_;
    String hint_;
    bool enabled_ = true;
    bool checked_ = false;
    int imageIndex_ = -1;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
};

// The actions of a form, with the pictures they show.
class TActionList : public TComponent {
public:
    using TComponent::TComponent;
    TImageList* Images = nullptr;
};
