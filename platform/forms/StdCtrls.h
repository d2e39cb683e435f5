#pragma once
// Labels, buttons, edits, combo boxes, group boxes.
#include "Controls.h"
#include "Forms.h"
#include "ListBoxes.h"

#include <memory>

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
    // The window's default button: Return pressed anywhere in the window clicks it, and it is
    // drawn with the default cue. No button is a default button unless it is told so.
    bool Default() const { return default_; }
    void SetDefault(bool d);
    // Escape pressed anywhere in the window clicks a button whose Cancel is set.
    bool Cancel = false;
    // Pressing a button with a modal result closes its modal form with it.
    void Click() override;
    // How far inside the button's edges the focus frame runs.
    static constexpr int FocusInset = 4;

private:
    QPushButton* button_;
    bool default_ = false;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    String Text() const;
    void SetText(const String& text);
    int MaxLength() const;
    void SetMaxLength(int n);
    bool ReadOnly() const;
    void SetReadOnly(bool on);
    // Selects the whole text when the edit is entered by the keyboard.
    bool AutoSelect = true;
    // Whether entering the edit by the keyboard selects its text.
    virtual bool SelectsAllOnEntry() const { return AutoSelect; }
    void SelectAll();
    String SelText() const;
    // Keeps the text clear of a strip of this width along the right edge.
    void SetRightTextMargin(int pixels);
    // Width of the text cursor in pixels.
    int CaretWidth() const { return caretWidth_; }
    void SetCaretWidth(int pixels);
    // Height of the text cursor in pixels, from the top of the text line; 0 makes it as tall as
    // the line of the edit's own font.
    int CaretHeight() const { return caretHeight_; }
    void SetCaretHeight(int pixels);
    // Width of the border around the text area: sunken (Ctl3D), flat or none.
    int FrameWidth() const;
    // The area inside the frame, in the control's co-ordinates (what the platform's edit window
    // calls its client area; painters over the whole control keep using ClientRect).
    TRect InnerRect() const;
    TNotifyEvent OnChange;

protected:
    // Asked before the user changes the text by any road (typing, input method, paste, cut,
    // delete, drop); false keeps the text as it was, and a changed after is the text the edit
    // takes instead. Text set by the program is not asked.
    virtual bool CanEditText(const String& before, String& after) { return true; }
    void ApplyBorder() override;

private:
    class Gate;
    class CaretStyle;
    QLineEdit* edit_;
    void ApplyCaret();
    int caretWidth_ = 1;
    int caretHeight_ = 0;
    Gate* gate_;
    String accepted_;  // the text as the user last changed it, or as the program set it
    bool settingText_ = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Drawing state of the closed box's own line, besides the list's states.
enum : unsigned { odComboBoxEdit = 0x1000 };

class TComboBox : public TWinControl {
public:
    // A box of another style than the default drop-down is made so from the start: its edit
    // field, made and dropped again, would cost a window's start-up a text field's set-up.
    explicit TComboBox(TComponent* owner, TComboBoxStyle style = csDropDown);
    ~TComboBox() override;
    TStringList& Items() { return items_; }
    const TStringList& Items() const { return items_; }
    int ItemIndex() const;
    // Selecting from code does not fire OnChange; the user's choice does, also of the shown line.
    void SetItemIndex(int index);
    String Text() const;
    void SetText(const String& text);
    TComboBoxStyle Style() const { return style_; }
    virtual void SetStyle(TComboBoxStyle s);
    bool OwnerDraw() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    // Height of the lines of the open list, and of the closed box's field.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    int EditHeight() const { return editHeight_; }
    void SetEditHeight(int h);
    int DropWidth() const;
    void SetDropWidth(int w);
    bool DroppedDown() const;
    // Where the box shows its drop-down button, in client co-ordinates.
    TRect ButtonRect() const;
    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    virtual void Change() { Fire(OnChange, this); }
    virtual void DropDown() { Fire(OnDropDown, this); }
    virtual void CloseUp() { Fire(OnCloseUp, this); }

    // Owner drawing: a line of the list, or the closed box's line with odComboBoxEdit. The
    // canvas has the control's font and the brush of the line's state.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    TCanvas& Canvas() { return canvas_; }
    // Paints the closed box; owner-drawn and list-only boxes draw their frame and then their line.
    virtual void PaintWindow(QPainter& painter);

    // Platform side.
    void PaintItem(QPainter& painter, int index, const TRect& rect, TOwnerDrawState state);
    int LineHeight(int index);
    QComboBox* Combo() const { return combo_; }

protected:
    bool HandleEvent(QEvent* event) override;

private:
    class ComboWidget;
    class Delegate;
    void SyncItems();
    TStringList items_;
    QComboBox* combo_;
    std::unique_ptr<Delegate> delegate_;
    TComboBoxStyle style_ = csDropDown;
    int itemHeight_ = 16;
    int editHeight_ = 16;
    bool syncing_ = false;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);
    void SetCaption(const String& text) override;

protected:
    bool HandleEvent(QEvent* event) override;

private:
    QGroupBox* box_;
};
