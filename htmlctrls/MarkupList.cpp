#include "MarkupList.h"

#include "HtmlGradient.h"
#include "HtmlRender.h"
#include "HtmlStrip.h"
#include "MarkupEvents.h"
#include "PictureStore.h"
#include "StrCompare.h"

#include <QEvent>

#include <algorithm>
#include <unordered_map>

namespace {

constexpr int kWideItem = 4096;

String UpperAscii(String s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

TMarkupListBox::TMarkupListBox(TComponent* owner)
    : TCustomListBox(owner), measureBitmap_(std::make_unique<TBitmap>(1, 1, pf24bit))
{
    SetStyle(lbOwnerDrawVariable);
    // Item changes also keep the horizontal extent up to date.
    auto relayout = Items().OnChange;
    Items().OnChange = [this, relayout](TObject* sender) {
        const TItemChanges changes = KeepHeights();
        Fire(relayout, sender);
        AfterItemsChanged(changes);
    };
}

TMarkupListBox::~TMarkupListBox() = default;

TCanvas& TMarkupListBox::MeasureCanvas()
{
    TCanvas& canvas = measureBitmap_->Canvas();
    canvas.Font.Assign(Font);
    return canvas;
}

TMarkupListBox::Layout TMarkupListBox::Render(TCanvas& canvas, const String& text, const TRect& r, TPoint mouse,
                                              bool hitTest, bool measure, bool selected, bool blinkVisible,
                                              TColor urlColor, int lineSpacing)
{
    Layout layout;
    String plain, focusAnchor;
    int links = 0, hovered = -1;
    TRect hoveredRect{};
    HtmlDrawText(canvas, text, r, images_, mouse.X, mouse.Y, -1, -1, shadowOffset_, hitTest, measure, false, selected,
                 blinkVisible, false, !ellipsis_, 1.0, urlColor, clNone, clNone, shadowColor_, layout.anchor, plain,
                 focusAnchor, layout.width, layout.height, links, hovered, hoveredRect, &cache_, pictureStore_,
                 lineSpacing);
    return layout;
}

TMarkupListBox::Measured TMarkupListBox::Arrived(int index, TItemChanges& changes)
{
    if (!scrollHorizontal_)
        return {Items()[index], -1};
    // Its width is taken as it comes, to widen the extent without measuring the others.
    const Layout m = MeasureNewItem(index);
    changes.widestNew = std::max(changes.widestNew, m.width + 6);
    return {Items()[index], m.height};
}

TMarkupListBox::TItemChanges TMarkupListBox::KeepHeights()
{
    // Items that stay keep the height they were given when they came; only new ones are
    // measured, whatever moved around them.
    const TStringList::TChange& change = Items().LastChange();
    const int oldCount = static_cast<int>(heights_.size()), newCount = Count();
    TItemChanges changes;
    if (change.Kind == TStringList::TChange::Inserted && newCount == oldCount + 1) {
        heights_.insert(heights_.begin() + change.Index, Arrived(change.Index, changes));
        return changes;
    }
    if (change.Kind == TStringList::TChange::Deleted && newCount == oldCount - 1) {
        heights_.erase(heights_.begin() + change.Index);
        changes.removed = true;
        return changes;
    }
    // Anything else: the lines left alone at both ends are matched in place, the others by text.
    int head = 0;
    while (head < oldCount && head < newCount && heights_[head].text == Items()[head])
        ++head;
    int tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           heights_[oldCount - 1 - tail].text == Items()[newCount - 1 - tail])
        ++tail;
    std::unordered_multimap<String, int> before;
    for (int i = head; i < oldCount - tail; ++i)
        before.emplace(heights_[i].text, heights_[i].height);
    std::vector<Measured> middle;
    for (int i = head; i < newCount - tail; ++i) {
        auto found = before.find(Items()[i]);
        if (found != before.end()) {
            middle.push_back({found->first, found->second});
            before.erase(found);
        } else {
            middle.push_back(Arrived(i, changes));
        }
    }
    changes.removed = !before.empty();
    heights_.erase(heights_.begin() + head, heights_.begin() + (oldCount - tail));
    heights_.insert(heights_.begin() + head, std::make_move_iterator(middle.begin()),
                    std::make_move_iterator(middle.end()));
    return changes;
}

void TMarkupListBox::MeasureItem(int index, int& height)
{
    if (index >= 0 && index < static_cast<int>(heights_.size()) && heights_[index].height >= 0 &&
        heights_[index].text == Items()[index]) {
        height = heights_[index].height;
        return;
    }
    height = MeasureNewItem(index).height;
    if (index >= 0 && index < Count()) {
        heights_.resize(Count());
        heights_[index] = {Items()[index], height};
    }
}

TMarkupListBox::Layout TMarkupListBox::MeasureNewItem(int index)
{
    // The item's rectangle spans the client area as it is now.
    TRect r{0, 0, ClientWidth(), Height()};
    if (scrollHorizontal_)
        r.Right = r.Left + kWideItem;
    else if (static_cast<int64_t>(Count()) * ItemHeight() > Height())
        // Room for the scroll bar the items will need, and for the 2 pixels they are drawn in
        // by: the item is then never measured wider than it is drawn once the bar shows.
        r.Right -= ScrollBarWidth() + 2;
    else
        r.Right -= 4;
    Layout m = Render(MeasureCanvas(), Items()[index], r, {0, 0}, true, true, true, true, urlColor_, lineSpacing_);
    m.height = std::min({m.height, std::max(0, ClientHeight()), 251}) + 4;
    return m;
}

void TMarkupListBox::Resize()
{
    TCustomListBox::Resize();
    if (scrollHorizontal_)
        UpdateHorizontalExtent(0);
    else
        Refresh();
}

int TMarkupListBox::WidestItem()
{
    widest_ = 0;
    for (int i = 0; i < Count(); ++i) {
        const Layout m = Render(MeasureCanvas(), Items()[i], {0, 0, kWideItem, Height()}, {0, 0}, true, true, true,
                                true, urlColor_, 0);
        widest_ = std::max(widest_, m.width + 6);
    }
    return widest_;
}

void TMarkupListBox::UpdateHorizontalExtent(int width)
{
    if (updateCount_ >= 1)
        return;
    if (Count() > 0 && scrollHorizontal_) {
        if (width < 1)
            width = WidestItem();
        ++updateCount_;
        // Item 0's rectangle spans the client area; the view's own stretches with the extent.
        SetScrollWidth(width <= ClientWidth() ? 0 : width);
        --updateCount_;
    } else {
        // An empty list has no widest item: the next one to come sets it afresh.
        if (Count() == 0)
            widest_ = 0;
        SetScrollWidth(0);
    }
}

void TMarkupListBox::AfterItemsChanged(const TItemChanges& changes)
{
    if (!scrollHorizontal_)
        return;
    if (changes.removed) {
        // What was widest may have gone: every item is measured again.
        if (updateCount_ == 0)
            UpdateHorizontalExtent(0);
    } else if (changes.widestNew > widest_) {
        widest_ = changes.widestNew;
        UpdateHorizontalExtent(widest_);
    }
}

void TMarkupListBox::Refresh()
{
    if (!Loading)
        WidestItem();
}

void TMarkupListBox::BeginUpdate()
{
    ++updateCount_;
    Items().BeginUpdate();
}

void TMarkupListBox::EndUpdate()
{
    if (updateCount_ <= 0)
        return;
    --updateCount_;
    // The item list reports its changes now, once; the extent follows.
    Items().EndUpdate();
    if (updateCount_ == 0)
        UpdateHorizontalExtent(0);
}

String TMarkupListBox::StrippedItems(int index) const
{
    if (index < 0 || index >= Count())
        throw EMarkupListBoxError("Item index out of range");
    return HtmlStrip(Items()[index]);
}

void TMarkupListBox::SetEllipsis(bool on)
{
    if (on == ellipsis_)
        return;
    ellipsis_ = on;
    Invalidate();
}

void TMarkupListBox::SetEnableBlink(bool on)
{
    enableBlink_ = on;
    if (Loading)
        return;
    if (on) {
        if (!blinkTimer_) {
            blinkTimer_ = std::make_unique<TTimer>(nullptr);
            blinkTimer_->SetInterval(100);
            blinkTimer_->OnTimer = [this](TObject*) { BlinkTick(); };
        }
    } else {
        blinkTimer_.reset();
        blinkPhase_ = false;
        blinkShown_ = true;
        Invalidate();
    }
}

void TMarkupListBox::SetImages(TImageList* images)
{
    ReferTo(this, images_, images);
    Refresh();
}

void TMarkupListBox::SetPictureStore(TPictureStore* store)
{
    ReferTo(this, pictureStore_, store);
    Refresh();
}

void TMarkupListBox::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component == images_)
        images_ = nullptr;
    if (operation == opRemove && component == pictureStore_)
        pictureStore_ = nullptr;
    TCustomListBox::Notification(component, operation);
}

void TMarkupListBox::SetLineSpacing(int spacing)
{
    if (spacing == lineSpacing_)
        return;
    lineSpacing_ = spacing;
    Refresh();
}

void TMarkupListBox::SetMultiline(bool on)
{
    if (on == multiline_)
        return;
    multiline_ = on;
    Refresh();
}

void TMarkupListBox::SetScrollHorizontal(bool on)
{
    if (on == scrollHorizontal_)
        return;
    scrollHorizontal_ = on;
    UpdateHorizontalExtent(0);
}

void TMarkupListBox::SetSelectionFontColor(TColor c)
{
    if (c == selectionFontColor_)
        return;
    selectionFontColor_ = c;
    Invalidate();
}

void TMarkupListBox::SetShadowColor(TColor c)
{
    shadowColor_ = c;
    Invalidate();
}

void TMarkupListBox::SetShadowOffset(int offset)
{
    shadowOffset_ = offset;
    Invalidate();
}

void TMarkupListBox::SetURLColor(TColor c)
{
    if (c == urlColor_)
        return;
    urlColor_ = c;
    Invalidate();
}

void TMarkupListBox::SetSorted(bool on)
{
    sorted_ = on;
    if (!on || Count() < 2)
        return;
    // An item's object goes where the item goes: it belongs to the item, not to the place.
    std::vector<std::pair<String, TObject*>> items;
    std::vector<String> keys;
    for (int i = 0; i < Count(); ++i) {
        items.emplace_back(Items()[i], Items().Objects(i));
        keys.push_back(SortWithHTML ? Items()[i] : StrippedItems(i));
    }
    // Equal keys are never exchanged, so items that compare equal keep their order more often
    // than a plain quicksort would; this is the order the list has always had.
    std::function<void(int, int)> sort = [&](int l, int r) {
        int i = l, j = r;
        const String pivot = keys[(l + r) / 2];
        do {
            while (AnsiCompareStr(pivot, keys[i]) > 0 && i < r)
                ++i;
            while (AnsiCompareStr(pivot, keys[j]) < 0 && j > l)
                --j;
            if (i <= j) {
                if (i != j && AnsiCompareStr(keys[i], keys[j]) != 0) {
                    std::swap(keys[i], keys[j]);
                    std::swap(items[i], items[j]);
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            sort(l, j);
        if (i < r)
            sort(i, r);
    };
    sort(0, Count() - 1);
    TStringList sorted;
    for (const auto& [text, object] : items)
        sorted.AddObject(text, object);
    BeginUpdate();
    Items().Assign(sorted);
    EndUpdate();
}

void TMarkupListBox::Loaded()
{
    Loading = false;
    savedCursor_ = Cursor();
    SetEnableBlink(enableBlink_);
    Refresh();
}

void TMarkupListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas& canvas = Canvas();
    if (index == Count() - 1 && Height() > rect.Bottom) {
        canvas.Pen.Color = Color();
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = Color();
        canvas.Rectangle(rect.Left, rect.Top, rect.Right, Height());
    }
    const bool selected = (state & odSelected) && ShowSelection;
    canvas.Brush.Style = bsSolid;
    if (!selected) {
        canvas.Pen.Color = Color();
        canvas.Brush.Color = Color();
        canvas.Font.SetColor(Font.Color());
        canvas.Rectangle(rect);
    } else {
        canvas.Brush.Color = selectionColors_.ColorFrom();
        canvas.Font.SetColor(selectionFontColor_);
        if (selectionColors_.ColorTo() == clNone) {
            canvas.Pen.Color = canvas.Brush.Color;
            canvas.Rectangle(rect);
        } else {
            HtmlGradientRect(canvas, selectionColors_.ColorFrom(), selectionColors_.ColorTo(),
                             selectionColors_.Direction, rect, 64, selectionColors_.BorderColor());
            canvas.Brush.Color = selectionColors_.ColorFrom();
        }
    }
    // The rectangle already follows the horizontal scrolling.
    TRect r = rect;
    r.Left += 2;
    if (scrollHorizontal_)
        r.Right = r.Left + kWideItem;
    const bool blinkVisible = enableBlink_ ? blinkShown_ : true;
    Render(canvas, Items()[index], r, {mouse_.X + 2, mouse_.Y}, false, false, selected, blinkVisible,
           selected ? selectionFontColor_ : urlColor_, lineSpacing_);
    if ((state & odFocused) && ShowSelection) {
        canvas.Pen.Color = 0x808080;
        canvas.Brush.Style = bsClear;
        canvas.Rectangle(rect);
        canvas.Brush.Style = bsSolid;
    }
}

String TMarkupListBox::AnchorAt(int x, int y, int& index)
{
    index = ItemAtPos({x, y}, true);
    if (index < 0 || index >= Count())
        return String();
    TRect r = ItemRect(index);
    r.Left += 2;  // where the item's text is drawn
    return Render(MeasureCanvas(), Items()[index], r, {x, y}, true, false, true, true, urlColor_, 0).anchor;
}

void TMarkupListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    int index = -1;
    const String anchor = AnchorAt(x, y, index);
    if (anchor.empty()) {
        TCustomListBox::MouseDown(button, shift, x, y);
        return;
    }
    FollowAnchor(this, index, anchor, OnAnchorClick);
}

void TMarkupListBox::MouseMove(TShiftState shift, int x, int y)
{
    TCustomListBox::MouseMove(shift, x, y);
    mouse_ = {x, y};
    int index = ItemAtPos({x, y}, true);
    if (ItemHint) {
        if (index >= 0 && index != hintItem_) {
            CancelHint();
            hintItem_ = index;
        } else if (index < 0 && hintItem_ >= 0) {
            CancelHint();
            hintItem_ = -1;
        }
    }
    const String anchor = AnchorAt(x, y, index);
    if (!anchor.empty()) {
        if (anchor != currentAnchor_ && !currentAnchor_.empty()) {
            CancelHint();
            Fire(OnAnchorExit, this, index, currentAnchor_);
        }
        if (Cursor() != crHandPoint) {
            savedCursor_ = Cursor();
            SetCursor(crHandPoint);
        }
        if (anchor != currentAnchor_)
            Fire(OnAnchorEnter, this, index, anchor);
        currentAnchor_ = anchor;
    } else if (Cursor() == crHandPoint && !currentAnchor_.empty()) {
        CancelHint();
        SetCursor(savedCursor_);
        const String left = currentAnchor_;
        currentAnchor_.clear();
        Fire(OnAnchorExit, this, index, left);
    }
}

bool TMarkupListBox::HintAt(const TPoint& p, String& text, TPoint& screenPos)
{
    if (AnchorHint) {
        int index = -1;
        String anchor = AnchorAt(p.X, p.Y, index);
        if (!anchor.empty()) {
            Fire(OnAnchorHint, this, index, anchor);
            text = anchor;
            screenPos = {screenPos.X + 10, screenPos.Y - 10};
            return true;
        }
    }
    if (ItemHint) {
        const int index = ItemAtPos(p, true);
        if (index >= 0) {
            text = HTMLHint ? Items()[index] : StrippedItems(index);
            screenPos = ClientToScreen({0, ItemRect(index).Top});
            return true;
        }
    }
    return false;
}

bool TMarkupListBox::Find(int from, const String& buffer)
{
    const String wanted = UpperAscii(buffer);
    for (int i = std::max(from, 0); i < Count(); ++i) {
        const String text = StrippedItems(i);
        if (!text.empty() && UpperAscii(text).compare(0, wanted.size(), wanted) == 0) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

void TMarkupListBox::KeyDown(int& key, TShiftState shift)
{
    TCustomListBox::KeyDown(key, shift);
    if (key == 0)
        return;
    if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN)) {
        lookup_.clear();
        return;
    }
    const char c = static_cast<char>(key);
    if (key == VK_BACK && !lookup_.empty())
        lookup_.pop_back();
    else if (!IncrLookup)
        lookup_ = String(1, c);
    else if (key >= 0x20 && key <= 0xFF)
        lookup_ += c;
    const bool typed = key == VK_BACK || (key >= 0x20 && key <= 0xFF);
    bool found = (ItemIndex() >= 0 || IncrLookup) && Find(ItemIndex(), lookup_);
    if (!found)
        found = Find(0, lookup_);
    if (!found && IncrLookup) {
        lookup_ = String(1, c);
        Find(0, lookup_);
    }
    // The list's own lookup replaces the view's: the key goes no further.
    if (typed)
        key = 0;
}

bool TMarkupListBox::HandleEvent(QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        lookup_.clear();
    return TCustomListBox::HandleEvent(event);
}

void TMarkupListBox::BlinkTick()
{
    if (Count() == 0 || !enableBlink_)
        return;
    bool changed = cache_.AnimatePictures();
    if (pictureStore_ && pictureStore_->Items().AnimatePictures())
        changed = true;
    if (changed)
        Invalidate();
    if (++blinkTicks_ % 5 != 0)
        return;
    bool blinking = false;
    for (int i = std::max(0, TopIndex()); i < Count() && !blinking; ++i)
        blinking = UpperCase(Items()[i]).find("<BLINK") != String::npos;
    // The blinking items are drawn again with this phase; painting happens in the paint event.
    blinkShown_ = blinkPhase_;
    blinkPhase_ = !blinkPhase_;
    if (blinking)
        Invalidate();
}
