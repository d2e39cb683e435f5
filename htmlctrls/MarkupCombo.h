#pragma once
// The HTML combo box: a drop-down list whose lines are mark-up, and its flat-framed base.
#include "ImgList.h"
#include "MarkupEvents.h"
#include "MarkupPictureCache.h"
#include "PictureStore.h"
#include "StdCtrls.h"

class EMarkupComboBoxError : public Exception {
    using Exception::Exception;
};

// A combo box with an optional flat frame and drop-down button that light up while the pointer
// is over it or it has the focus.
class TBaseCustomComboBox : public TComboBox {
public:
    explicit TBaseCustomComboBox(TComponent* owner, TComboBoxStyle style = csDropDown);

    bool AutoFocus = false;
    bool Flat() const { return flat_; }
    void SetFlat(bool on);
    bool Etched() const { return etched_; }
    void SetEtched(bool on);
    int ButtonWidth() const { return buttonWidth_; }
    // Values outside 14..32 are ignored.
    void SetButtonWidth(int w);
    bool FocusBorder = false;
    bool MouseInside() const { return inside_; }

    void DropDown() override;
    void CloseUp() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    void PaintWindow(QPainter& painter) override;

protected:
    void PaintFlatFrame(TCanvas& canvas, bool hot);

private:
    bool flat_ = false;
    bool etched_ = false;
    int buttonWidth_;
    TColor savedColor_ = clWindow;
    bool inside_ = false;
};

class TMarkupComboBox : public TBaseCustomComboBox {
public:
    explicit TMarkupComboBox(TComponent* owner);
    ~TMarkupComboBox() override;

    // Always owner-drawn with fixed heights, whatever is assigned.
    void SetStyle(TComboBoxStyle s) override;
    // While the list is open the index is also recorded as the list's current one.
    void SetItemIndex(int index);

    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor c);
    bool IncrLookup = false;
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    int DropHeight = 200;
    String LastAnchor;
    String LookupText;
    bool Sorted() const { return sorted_; }
    // Sorts the lines by their plain text at once, keeping the same ItemIndex number.
    void SetSorted(bool on);
    bool Ellipsis() const { return ellipsis_; }
    void SetEllipsis(bool on);
    TPictureStore* PictureStore() const { return pictureStore_; }
    void SetPictureStore(TPictureStore* store);
    int ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int offset);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c);
    bool ItemHint = false;
    bool HTMLHint = false;
    String Version() const { return "1.5.0.0"; }
    void SetVersion(const String&) {}

    // The line's plain text; "Item index out of range" outside the lines.
    String StrippedItems(int index);

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;

    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void MeasureItem(int index, int& height) override;
    void Change() override;
    void DropDown() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    // With ItemHint, the chosen line's text at the control's top-left corner.
    bool ControlHintAt(const TPoint& p, String& text, TPoint& screenPos) override;

protected:
    bool HandleEvent(QEvent* event) override;
    // A destroyed image list or picture store is no longer drawn from.
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct HitTest {
        bool onAnchor = false;
        String anchor;
    };
    struct Measured {
        String plain;
        int height = 0;
    };
    // Lays a line out without drawing it, in the client width.
    Measured Measure(int index);
    HitTest HitTestAt(int x, int y);
    // Selects the first line whose plain text begins with the lookup text; false when none does.
    bool SelectLookupMatch(char key);
    void FindLookupMatch(char key);
    void AnchorClickAt(int x, int y, bool& consumed);

    TColor urlColor_ = clBlue;
    TImageList* images_ = nullptr;
    int listCurrent_ = -1;
    bool sorted_ = false;
    bool dropped_ = false;
    bool ellipsis_ = false;
    TPictureStore* pictureStore_ = nullptr;
    int shadowOffset_ = 1;
    TColor shadowColor_ = clBlack;
    std::unique_ptr<TMarkupPictureCache> cache_;
};
