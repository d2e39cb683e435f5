#include "ListBox.h"

#include <QHelpEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>

namespace {
constexpr int kMaxItemHeight = 255;

QString PlainHint(const String& text)
{
    return "<p style='white-space:pre'>" + QString::fromStdString(text).toHtmlEscaped() + "</p>";
}
}  // namespace

const String& TListBoxStrings::Get(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return items_[index];
}

void TListBoxStrings::Put(int index, const String& s)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    const int keep = owner_.ItemIndex();
    const bool wasSelected = owner_.Selected(index);
    Delete(index);
    Insert(index, s);
    if (keep == index)
        owner_.SetItemIndex(index);
    if (wasSelected)
        owner_.SetSelected(index, true);
}

void TListBoxStrings::Insert(int index, const String& s)
{
    if (index < 0 || index > Count())
        ListIndexError(index);
    items_.insert(items_.begin() + index, s);
    owner_.Inserted(index);
}

void TListBoxStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    items_.erase(items_.begin() + index);
    owner_.Deleted(index);
}

void TListBoxStrings::Clear()
{
    items_.clear();
    owner_.Cleared();
}

TCustomListBox::TCustomListBox(TComponent* owner) : TCustomControl(owner), items_(*this)
{
    SetColor(clWindow);
    vertical_ = new QScrollBar(Qt::Vertical, Widget());
    horizontal_ = new QScrollBar(Qt::Horizontal, Widget());
    vertical_->hide();
    horizontal_->hide();
    QObject::connect(vertical_, &QScrollBar::valueChanged, [this](int v) {
        if (!syncing_)
            SetTopIndex(v);
    });
    QObject::connect(horizontal_, &QScrollBar::valueChanged, [this](int) {
        if (!syncing_)
            Invalidate();
    });
}

TCustomListBox::~TCustomListBox() = default;

int TCustomListBox::ScrollBarWidth()
{
    static const int width = [] {
        QScrollBar probe(Qt::Vertical);
        return probe.sizeHint().width();
    }();
    return width;
}

void TCustomListBox::SetStyle(TListBoxStyle style)
{
    style_ = style;
    Invalidate();
}

void TCustomListBox::SetItemHeight(int height)
{
    itemHeight_ = std::clamp(height, 1, kMaxItemHeight);
    if (style_ != lbOwnerDrawVariable)
        std::fill(heights_.begin(), heights_.end(), itemHeight_);
    UpdateScrollBars();
    Invalidate();
}

int TCustomListBox::ItemHeights(int index) const
{
    if (index < 0 || index >= static_cast<int>(heights_.size()))
        ListIndexError(index);
    return heights_[index];
}

void TCustomListBox::SetItemHeights(int index, int height)
{
    if (index < 0 || index >= static_cast<int>(heights_.size()))
        ListIndexError(index);
    heights_[index] = std::clamp(height, 0, kMaxItemHeight);
    UpdateScrollBars();
    Invalidate();
}

int TCustomListBox::RowHeight(int index) const
{
    return style_ == lbOwnerDrawVariable ? heights_[index] : itemHeight_;
}

void TCustomListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_.Count())
        index = -1;
    itemIndex_ = index;
    if (index >= 0) {
        if (index < topIndex_)
            SetTopIndex(index);
        else
            while (topIndex_ < index && ItemRect(index).Bottom > ClientHeight())
                SetTopIndex(topIndex_ + 1);
    }
    Invalidate();
}

void TCustomListBox::SetMultiSelect(bool on)
{
    multiSelect_ = on;
    std::fill(selected_.begin(), selected_.end(), false);
    Invalidate();
}

bool TCustomListBox::Selected(int index) const
{
    if (index < 0 || index >= items_.Count())
        ListIndexError(index);
    return multiSelect_ ? bool(selected_[index]) : index == itemIndex_;
}

void TCustomListBox::SetSelected(int index, bool on)
{
    if (index < 0 || index >= items_.Count())
        ListIndexError(index);
    if (multiSelect_)
        selected_[index] = on;
    else if (on)
        itemIndex_ = index;
    else if (itemIndex_ == index)
        itemIndex_ = -1;
    Invalidate();
}

int TCustomListBox::SelCount() const
{
    if (!multiSelect_)
        return -1;
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void TCustomListBox::SetTopIndex(int index)
{
    const int top = std::clamp(index, 0, std::max(0, items_.Count() - 1));
    if (top == topIndex_)
        return;
    topIndex_ = top;
    syncing_ = true;
    vertical_->setValue(top);
    syncing_ = false;
    Invalidate();
}

TRect TCustomListBox::ItemRect(int index) const
{
    int y = 0;
    if (index >= topIndex_) {
        for (int i = topIndex_; i < index && i < items_.Count(); ++i)
            y += RowHeight(i);
    } else {
        for (int i = index; i < topIndex_; ++i)
            y -= RowHeight(i);
    }
    const int h = index >= 0 && index < items_.Count() ? RowHeight(index) : itemHeight_;
    return {0, y, ClientWidth(), y + h};
}

int TCustomListBox::ItemAtPos(const TPoint& p, bool existing) const
{
    if (p.X >= 0 && p.X < ClientWidth() && p.Y >= 0 && p.Y < ClientHeight()) {
        int y = 0;
        for (int i = topIndex_; i < items_.Count(); ++i) {
            y += RowHeight(i);
            if (p.Y < y)
                return i;
        }
    }
    return existing ? -1 : items_.Count();
}

int TCustomListBox::ClientWidth() const { return std::max(0, Width() - (verticalShown_ ? ScrollBarWidth() : 0)); }
int TCustomListBox::ClientHeight() const { return std::max(0, Height() - (horizontalShown_ ? ScrollBarWidth() : 0)); }

void TCustomListBox::SetHorizontalExtent(int width)
{
    horizontalExtent_ = std::max(0, width);
    UpdateScrollBars();
    Invalidate();
}

int TCustomListBox::HorizontalPosition() const { return horizontalShown_ ? horizontal_->value() : 0; }

void TCustomListBox::SetHorizontalPosition(int x)
{
    horizontal_->setValue(x);
    Invalidate();
}

void TCustomListBox::UpdateScrollBars()
{
    if (!Widget())
        return;
    const int sb = ScrollBarWidth();
    horizontalShown_ = horizontalExtent_ > Width();
    int total = 0;
    for (int i = 0; i < items_.Count(); ++i)
        total += RowHeight(i);
    verticalShown_ = total > ClientHeight();
    if (verticalShown_ && !horizontalShown_)
        horizontalShown_ = horizontalExtent_ > ClientWidth();
    // The highest top index that still fills the client area.
    int maxTop = items_.Count() - 1;
    for (int rest = 0; maxTop >= 0; --maxTop) {
        rest += RowHeight(maxTop);
        if (rest > ClientHeight()) {
            ++maxTop;
            break;
        }
    }
    maxTop = std::clamp(maxTop, 0, std::max(0, items_.Count() - 1));
    syncing_ = true;
    vertical_->setRange(0, verticalShown_ ? maxTop : 0);
    vertical_->setGeometry(Width() - sb, 0, sb, ClientHeight());
    vertical_->setVisible(verticalShown_);
    horizontal_->setRange(0, horizontalShown_ ? horizontalExtent_ - ClientWidth() : 0);
    horizontal_->setPageStep(std::max(1, ClientWidth()));
    horizontal_->setGeometry(0, Height() - sb, ClientWidth(), sb);
    horizontal_->setVisible(horizontalShown_);
    syncing_ = false;
    if (topIndex_ > maxTop)
        SetTopIndex(maxTop);
}

void TCustomListBox::Inserted(int index)
{
    heights_.insert(heights_.begin() + index, itemHeight_);
    selected_.insert(selected_.begin() + index, false);
    if (itemIndex_ >= index)
        ++itemIndex_;
    ItemInserted(index);
    UpdateScrollBars();
    Invalidate();
}

void TCustomListBox::ItemInserted(int index)
{
    if (style_ != lbOwnerDrawVariable)
        return;
    int height = itemHeight_;
    MeasureItem(index, height);
    heights_[index] = std::clamp(height, 0, kMaxItemHeight);
}

void TCustomListBox::Deleted(int index)
{
    heights_.erase(heights_.begin() + index);
    selected_.erase(selected_.begin() + index);
    if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
    ItemDeleted(index);
    UpdateScrollBars();
    Invalidate();
}

void TCustomListBox::Cleared()
{
    heights_.clear();
    selected_.clear();
    itemIndex_ = -1;
    topIndex_ = 0;
    ItemsCleared();
    UpdateScrollBars();
    Invalidate();
}

void TCustomListBox::MeasureItem(int index, int& height) { Fire(OnMeasureItem, this, index, height); }

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    if (style_ != lbStandard && OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas& canvas = Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = state & odSelected ? clHighlight : Color();
    canvas.Font.SetColor(state & odSelected ? clHighlightText : Font.Color());
    canvas.FillRect(rect);
    canvas.TextOut(rect.Left + 2 - HorizontalPosition(), rect.Top, items_[index]);
}

void TCustomListBox::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    for (int i = topIndex_; i < items_.Count(); ++i) {
        const TRect r = ItemRect(i);
        if (r.Top >= ClientHeight())
            break;
        TOwnerDrawState state = 0;
        if (Selected(i))
            state |= odSelected;
        if (i == itemIndex_ && Focused())
            state |= odFocused;
        if (!Enabled())
            state |= odDisabled;
        canvas.SetClipRect({0, 0, ClientWidth(), ClientHeight()});
        DrawItem(i, r, state);
        canvas.ClearClip();
    }
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const int index = ItemAtPos({x, y}, true);
    if (index >= 0 && button == mbLeft) {
        if (multiSelect_ && (shift & ssCtrl))
            selected_[index] = !selected_[index];
        else if (multiSelect_) {
            std::fill(selected_.begin(), selected_.end(), false);
            selected_[index] = true;
        }
        SetItemIndex(index);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::KeyDown(int& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    const int count = items_.Count();
    if (count == 0)
        return;
    const int page = std::max(1, ClientHeight() / std::max(1, itemHeight_));
    int target = itemIndex_;
    switch (key) {
    case VK_UP: target = std::max(0, itemIndex_ - 1); break;
    case VK_DOWN: target = std::min(count - 1, itemIndex_ + 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    case VK_PRIOR: target = std::max(0, itemIndex_ - page); break;
    case VK_NEXT: target = std::min(count - 1, std::max(0, itemIndex_) + page); break;
    default: return;
    }
    if (target != itemIndex_) {
        SetItemIndex(target);
        Click();
    }
}

bool TCustomListBox::HandleEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto* e = static_cast<QHelpEvent*>(event);
        String text;
        TPoint screen{e->globalPos().x(), e->globalPos().y()};
        if (HintAt({e->pos().x(), e->pos().y()}, text, screen) && !text.empty())
            QToolTip::showText(QPoint(screen.X, screen.Y), PlainHint(text), Widget());
        else
            QToolTip::hideText();
        return true;
    }
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        SetTopIndex(topIndex_ - e->angleDelta().y() / 120 * 3);
        return true;
    }
    case QEvent::Resize:
        TCustomControl::HandleEvent(event);
        UpdateScrollBars();
        return false;
    default:
        return TCustomControl::HandleEvent(event);
    }
}

void TCustomListBox::CancelHint() { QToolTip::hideText(); }
