#pragma once
// The list box base: items as strings, single or multiple selection, owner drawing with fixed
// or variable item heights, a top index, a horizontal extent, item-from-point and hints that
// depend on where the mouse is. The control scrolls by whole items vertically and by pixels
// horizontally.
#include "Controls.h"

class QScrollBar;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odDisabled = 4, odFocused = 16 };
using TOwnerDrawState = unsigned;

class TCustomListBox;

// The items of a list box: every change goes through the control.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TCustomListBox& owner) : owner_(owner) {}
    int Count() const override { return static_cast<int>(items_.size()); }
    const String& Get(int index) const override;
    void Put(int index, const String& s) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    void Clear() override;

private:
    friend class TCustomListBox;
    TCustomListBox& owner_;
    std::vector<String> items_;
};

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    void Clear() { items_.Clear(); }
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle style);
    // The height of fixed items and the start value of a measured one.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    // The height of one item (variable style), at most 255.
    int ItemHeights(int index) const;
    void SetItemHeights(int index, int height);

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on);
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    int SelCount() const;

    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    // The item's rectangle in client coordinates, also for items scrolled out of view.
    TRect ItemRect(int index) const;
    // The item at the point; with existing false, Count() when the point lies below the last
    // item. -1 when existing is true and no item is there.
    int ItemAtPos(const TPoint& p, bool existing) const;
    int HorizontalExtent() const { return horizontalExtent_; }
    void SetHorizontalExtent(int width);
    int HorizontalPosition() const;
    void SetHorizontalPosition(int x);
    // Client width without the vertical scroll bar when it shows.
    int ClientWidth() const override;
    int ClientHeight() const override;
    static int ScrollBarWidth();

    using TDrawItemEvent = std::function<void(TObject* sender, int index, const TRect& rect, TOwnerDrawState state)>;
    using TMeasureItemEvent = std::function<void(TObject* sender, int index, int& height)>;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    bool HandleEvent(QEvent* event) override;

protected:
    // Owner drawing; the default writes the item's text (and calls OnDrawItem when owner-drawn).
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    // After the items changed; the index is the new or removed item's.
    virtual void ItemInserted(int index);
    virtual void ItemDeleted(int index) {}
    virtual void ItemsCleared() {}
    // The hint for a point in client coordinates; false shows none. screenPos may be moved.
    virtual bool HintAt(const TPoint& p, String& text, TPoint& screenPos) { return false; }
    // Hides a hint that shows.
    static void CancelHint();

private:
    friend class TListBoxStrings;
    void Inserted(int index);
    void Deleted(int index);
    void Cleared();
    void UpdateScrollBars();
    int RowHeight(int index) const;
    int VisibleRows() const;

    TListBoxStrings items_;
    std::vector<int> heights_;
    std::vector<bool> selected_;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
    int itemIndex_ = -1;
    bool multiSelect_ = false;
    int topIndex_ = 0;
    int horizontalExtent_ = 0;
    QScrollBar* vertical_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    bool verticalShown_ = false;
    bool horizontalShown_ = false;
    bool syncing_ = false;
};
