#pragma once
// Controls: the window-tree base classes over Qt widgets.
#include "Graphics.h"

#include <functional>
#include <vector>

class QWidget;
class QEvent;
class TWinControl;
class TPopupMenu;
class TBasicAction;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Window borders: a control's is bsNone or bsSingle, a form's any of them.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
// Reading order: right to left mirrors the control's layout and its text.
// Where a caption stands: taLeftJustify puts a check box's caption at the left of its box.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TCursor { crDefault = 0, crArrow = -2, crHourGlass = -11, crHandPoint = -21, crDrag = -12, crNo = -18, crSizeAll = -22 };

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// Where the mouse pointer is, in screen co-ordinates.
TPoint MouseCursorPos();

// True while one of the program's windows is the active window.
bool AppHasActiveWindow();

// The screen's cursor table: slots beyond the stock cursors hold pictures with a hot spot.
void SetScreenCursor(int slot, const TBitmap& picture, TColor transparentColor, const TPoint& hotSpot);
bool HasScreenCursor(int slot);

// The letter a caption marks with "&" ("&&" is a plain ampersand), upper-cased; 0 for none.
char AcceleratorOf(const String& caption);

// Runs a handler; an exception that escapes it goes to the application's handler, never to Qt.
void GuardedCall(const std::function<void()>& handler);

// The dotted focus frame, inset pixels inside r, drawn with the painter of a paint event.
void DrawFocusFrame(QPainter& painter, TRect r, int inset);

// The font every control starts with: the class library's MS Sans Serif of 8 points.
constexpr const char* kDefaultControlFontName = "MS Sans Serif";
constexpr int kDefaultControlFontHeight = -11;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(Left(), Top(), Width(), Height()); }
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    virtual int ClientWidth() const { return Width(); }
    virtual int ClientHeight() const { return Height(); }

    bool Visible() const;
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool v);
    String Caption() const { return caption_; }
    virtual void SetCaption(const String& text);
    String Hint() const { return hint_; }
    void SetHint(const String& hint);
    bool ShowHint = true;
    TColor Color() const { return color_; }
    // The control shows its parent's colour until it is given one of its own.
    bool ParentColor() const { return parentColor_; }
    void SetColor(TColor c);
    TFont Font;
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    // The help topic of the control; the platform shows no help, so it is only carried along.
    int HelpContext = 0;
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    // DrawText flags as the reading order wants them: left and right swapped when the control
    // is aligned right to left, right-to-left reading added when it reads so.
    unsigned DrawTextBiDiModeFlags(unsigned flags) const;
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode);
    bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
    // The menu a right click (or the menu key) on the control pops up; nullptr for none.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    // Lets go of the popup menu when it is freed.
    void Notification(TComponent* component, TOperation operation) override;
    // The action whose caption, enabled state and hint the control shows; its OnExecute runs on
    // a click when the control has no OnClick of its own. nullptr unlinks.
    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* action);
    // The linked action changed (or was just linked).
    virtual void ActionChange(TBasicAction& action);

    void Invalidate();
    // Paints the part r of the control (client co-ordinates) again, at the next paint.
    void InvalidateRect(const TRect& r);
    void Repaint();
    // Renders the control as it would appear on screen into a bitmap of its size.
    void PaintTo(TBitmap& target);
    void Refresh() { Repaint(); }
    TPoint ScreenToClient(const TPoint& p) const;
    TPoint ClientToScreen(const TPoint& p) const;
    // Puts the control above its siblings.
    void BringToFront();
    // Hides the hint that shows, if any.
    static void CancelHint();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    // What the control does on input; overridden by controls, which then call the events.
    virtual void Click();
    virtual void DblClick() { Fire(OnDblClick, this); }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) { Fire(OnMouseDown, this, button, shift, x, y); }
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) { Fire(OnMouseUp, this, button, shift, x, y); }
    virtual void MouseMove(TShiftState shift, int x, int y) { Fire(OnMouseMove, this, shift, x, y); }
    // The wheel turned over the control by delta (120 a notch, away from the user positive);
    // true when the control used it, else it goes on to the parent.
    virtual bool MouseWheel(TShiftState shift, int delta, const TPoint& screenPos) { return false; }
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void Resize() { Fire(OnResize, this); }
    virtual void EnabledChanged() {}
    virtual void Paint() {}
    virtual void KeyDown(int& key, TShiftState shift) {}
    virtual void KeyPress(char& key) {}
    // A hint of its own for point p (client coordinates), shown at screenPos (the mouse's
    // screen position on entry); false leaves the control's Hint to show.
    virtual bool ControlHintAt(const TPoint& p, String& text, TPoint& screenPos) { return false; }

    // The caption's accelerator was pressed: a button clicks when enabled and visible.
    virtual void DialogChar();
    // The pointer is over the control, disabled or not.
    bool MouseOverNow() const;
    // Removes left-button presses or double clicks already queued for the control.
    void DropQueuedPresses(bool doubleClicks);
    // Draws what lies under the control, its parent's face and the window-less controls placed
    // before it in the parent, into dest at the control's own co-ordinates.
    void PaintUnderneath(TCanvas& dest);

    // Platform side.
    QWidget* Widget() const;
    TCanvas& ControlCanvas() { return canvas_; }
    void DispatchPaint(QWidget* widget);  // called by the widget's paint event
    virtual bool HandleEvent(QEvent* event);  // true when consumed

protected:
    // Installs the Qt widget standing for this control; the control owns it.
    void SetWidget(QWidget* widget);
    virtual void ParentChanged() {}
    // Shows the reading order on the widget.
    virtual void ApplyBiDiMode();
    // The control is a button: presses and releases are its own (its widget never clicks for it,
    // and the second press of a double click presses it again), and its caption's accelerator
    // letter clicks it, alone or with Alt, unless the focused control takes the letter as text.
    void ActAsButton();
    // The opaque control style: the control's widget fills itself with Color before it paints.
    // On by default; a control that leaves part of itself unpainted for its parent to show
    // through turns it off.
    void SetOpaque(bool on);
    String caption_;
    TCanvas canvas_;

private:
    void ApplyFont();
    void GrabAccelerator();
    // Presses the first button of this control's window, in creation order, that shares its
    // accelerator letter and could be pressed now; false when there is none.
    bool PressFirstSharingAccelerator();
    TControl* FirstAccelerated(char letter);
    void LeaveButtonLikes();
    class Filter;
    TWinControl* parent_ = nullptr;
    QWidget* widget_ = nullptr;
    Filter* filter_ = nullptr;
    String hint_;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TAlign align_ = alNone;
    TBiDiMode biDiMode_ = bdLeftToRight;
    TCursor cursor_ = crDefault;
    bool visible_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    TBasicAction* action_ = nullptr;
    bool actsAsButton_ = false;
    bool opaque_ = true;
    int shortcutId_ = 0;
};

// A control that paints itself.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TCanvas& Canvas() { return canvas_; }
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(i); }
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    // Lays out children with an alignment, in creation order, within the alignment rectangle.
    virtual void Realign();
    // The part of the client area aligned children share; the whole of it unless a control
    // keeps some for itself.
    virtual void AdjustClientRect(TRect& rect) {}
    bool Focused() const;
    void SetFocus();
    // Tab stops at the control. Off by default; the controls made for input turn it on. A
    // control without a tab stop can still take the focus from a click or from code, except a
    // custom control, which then takes it from code only.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    // The control's place among its parent's windowed controls in the order Tab visits them,
    // from 0; creation order unless changed. -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int order);
    // Makes Tab and Shift+Tab follow the tab orders of the tree below this control, depth first.
    void ArrangeTabSequence();
    // The first control below this one, in tab order, that Tab can stop at now; nullptr for none.
    TWinControl* FirstTabStop() const;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    void KeyDown(int& key, TShiftState shift) override { Fire(OnKeyDown, this, key, shift); }
    void KeyPress(char& key) override { Fire(OnKeyPress, this, key); }
    // Files dragged from the desktop's file manager can be dropped on the control; they arrive
    // in DropFiles as full paths, in the order given.
    bool AcceptsFiles() const { return acceptFiles_; }
    void DragAcceptFiles(bool accept);
    virtual void DropFiles(const std::vector<String>& names) {}
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    // A sunken three-dimensional border when on, a flat one-pixel line when off (for controls
    // with a border).
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on);
    // The Qt widget that holds the widgets of the child controls; their co-ordinates are its.
    virtual QWidget* HostWidget() const { return Widget(); }
    // The control gains or loses the keyboard focus.
    virtual void DoEnter() { Fire(OnEnter, this); }
    virtual void DoExit() { Fire(OnExit, this); }
    bool HandleEvent(QEvent* event) override;

    // For the controls that have a border (edits, memos, lists, trees, list views, scroll
    // boxes): bsSingle or bsNone, and the width of the band in the control's colour between the
    // border and the contents (panels draw theirs between their bevels).
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);

protected:
    // Shows Ctl3D, BorderStyle and BorderWidth on the widget.
    virtual void ApplyBorder();
    virtual void Ctl3DChanged() {}

private:
    bool HandleFileDrag(QEvent* event);
    void CollectTabSequence(std::vector<QWidget*>& chain, QWidget* window) const;
    // The control at the top of the tree this one is in (the window, once it is placed on one).
    TWinControl& RootControl();
    std::vector<TControl*> controls_;
    std::vector<TControl*> tabList_;  // the children in tab order
    bool acceptFiles_ = false;
    bool tabStop_ = false;
    bool ctl3D_ = true;
    TBorderStyle borderStyle_ = bsNone;
    int borderWidth_ = 0;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas& Canvas() { return canvas_; }
};

// Answers of a window's hit test: where on it a point lies.
enum : int {
    HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14,
    HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17,
};

// Key codes as the Parts name them.
enum : int { VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
             VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46,
             VK_F4 = 115 };
