#pragma once
// Check boxes and radio buttons.
#include "Controls.h"

class QCheckBox;
class QRadioButton;

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    void SetCaption(const String& text) override;
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const;
    // Setting from code does not fire OnClick; the user's click does.
    void SetState(TCheckBoxState state);
    // The user's clicks also pass through the grayed state.
    void SetAllowGrayed(bool allow);
    // taRightJustify (the default): the caption stands right of the box; taLeftJustify: left of
    // it. Right-to-left reading swaps the sides.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // The box stands at the right edge.
    bool BoxAtRight() const;

protected:
    void ApplyBiDiMode() override;

private:
    QCheckBox* box_;
    TAlignment alignment_ = taRightJustify;
    bool allowGrayed_ = false;
};

// Radio buttons with the same parent exclude each other.
class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    void SetCaption(const String& text) override;
    bool Checked() const;
    // Setting from code does not fire OnClick; the user's click does.
    void SetChecked(bool checked);
    // As for check boxes.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool BoxAtRight() const;

protected:
    void ApplyBiDiMode() override;

private:
    QRadioButton* button_;
    TAlignment alignment_ = taRightJustify;
};
