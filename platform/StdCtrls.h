#pragma once
// Labels, buttons, edits, combo boxes, group boxes.
#include "Controls.h"
#include "Forms.h"

class QLabel;
class QPushButton;
class QLineEdit;
class QComboBox;
class QGroupBox;

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner);
    void SetCaption(const String& text) override;
    bool Transparent = true;

private:
    QLabel* label_;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    void SetCaption(const String& text) override;
    TModalResult ModalResult = mrNone;
    void SetDefault(bool d);
    // Pressing a button with a modal result closes its modal form with it.
    void Click() override;

private:
    QPushButton* button_;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    String Text() const;
    void SetText(const String& text);
    int MaxLength() const;
    void SetMaxLength(int n);
    TNotifyEvent OnChange;

private:
    QLineEdit* edit_;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    TStringList& Items() { return items_; }
    int ItemIndex() const;
    // Selecting from code does not fire OnChange; the user's choice does, also of the shown line.
    void SetItemIndex(int index);
    String Text() const;
    void SetText(const String& text);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    TNotifyEvent OnChange;
    virtual void Change() { Fire(OnChange, this); }

protected:
    QComboBox* Combo() const { return combo_; }

private:
    void SyncItems();
    TStringList items_;
    QComboBox* combo_;
    TComboBoxStyle style_ = csDropDown;
    bool syncing_ = false;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);
    void SetCaption(const String& text) override;

private:
    QGroupBox* box_;
};
