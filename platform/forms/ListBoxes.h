#pragma once
// List boxes: plain or owner-drawn items, fixed or variable heights.
#include "Controls.h"

#include <memory>

class QListView;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TOwnerDrawState = unsigned;
using TDrawItemEvent = std::function<void(TWinControl* control, int index, const TRect& rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStringList& Items() { return items_; }
    const TStringList& Items() const { return items_; }
    int Count() const { return items_.Count(); }
    void Clear() { items_.Clear(); }
    // Setting the selection from code raises no click.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on);
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle s);
    int TopIndex() const;
    void SetTopIndex(int index);
    // The item at a point of the client area; -1 (or Count when existing is false) when none.
    int ItemAtPos(const TPoint& p, bool existing) const;
    TRect ItemRect(int index) const;
    // The area the items are shown in: inside the border, without the scroll bars.
    int ClientWidth() const override;
    int ClientHeight() const override;
    // Width the items may scroll to horizontally, in pixels.
    int ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(int w);
    // How far the items are scrolled to the left, in pixels.
    int HorizontalPosition() const;
    // The width of a vertical scroll bar.
    static int ScrollBarWidth();
    // Valid while an item is drawn.
    TCanvas& Canvas() { return canvas_; }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // Draws one item: OnDrawItem when assigned, else the text on the highlight or the control's colour.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    // Lays the items out again, for heights that changed.
    void ItemsChanged();
    // The hint for a point of the client area; false shows none. The text is shown as plain
    // text; screenPos (the mouse's screen position on entry) may be moved.
    virtual bool HintAt(const TPoint& p, String& text, TPoint& screenPos) { return false; }

    // Platform side.
    void PaintItem(QPainter* painter, int index, const TRect& rect, TOwnerDrawState state);
    int HeightOf(int index);
    QListView* View() const { return view_; }

private:
    class Model;
    class ListView;
    class Delegate;
    class ViewportFilter;
    TStringList items_;
    QListView* view_;
    std::unique_ptr<Model> model_;
    std::unique_ptr<Delegate> delegate_;
    std::unique_ptr<ViewportFilter> viewportFilter_;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 13;
    int scrollWidth_ = 0;
    bool multiSelect_ = false;
    bool fromCode_ = false;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};
