#include "ListBoxes.h"

#include <QAbstractListModel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

// The items as Qt sees them: the control's string list itself, never a copy.
class TCustomListBox::Model : public QAbstractListModel {
public:
    explicit Model(TCustomListBox* box) : box_(box) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : box_->Count(); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole && index.row() < box_->Count())
            return QString::fromStdString(box_->Items()[index.row()]);
        return {};
    }
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    TCustomListBox* box_;
};

class TCustomListBox::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(TCustomListBox* box) : box_(box) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect& r = option.rect;
        TOwnerDrawState state = 0;
        if (option.state & QStyle::State_Selected)
            state |= odSelected;
        if (option.state & QStyle::State_HasFocus)
            state |= odFocused;
        if (!(option.state & QStyle::State_Enabled))
            state |= odDisabled;
        box_->PaintItem(painter, index.row(), {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, state);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        int w = std::max(box_->ScrollWidth(), option.rect.width());
        return QSize(std::max(w, 1), box_->HeightOf(index.row()));
    }

private:
    TCustomListBox* box_;
};

// The view. Entering it leaves its current item as it was: with none, the focus frame stands
// where the first item is or would be, and no item is chosen until the user chooses one.
class TCustomListBox::ListView : public QListView {
public:
    explicit ListView(TCustomListBox* box) : box_(box) {}

protected:
    void focusInEvent(QFocusEvent* e) override
    {
        QAbstractScrollArea::focusInEvent(e);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QListView::focusOutEvent(e);
        viewport()->update();
    }
    // Items span the view as it is: when the vertical scroll bar comes or goes they are laid out
    // again, so none lies partly under the bar.
    void resizeEvent(QResizeEvent* e) override
    {
        QListView::resizeEvent(e);
        if (e->size().width() != e->oldSize().width())
            scheduleDelayedItemsLayout();
    }
    void paintEvent(QPaintEvent* e) override
    {
        QListView::paintEvent(e);
        if (!hasFocus() || currentIndex().isValid())
            return;
        TRect caret = box_->Count() > 0 ? box_->ItemRect(0) : TRect{0, 0, viewport()->width(), box_->ItemHeight()};
        QPainter painter(viewport());
        DrawFocusFrame(painter, caret, 0);
    }

private:
    TCustomListBox* box_;
};

// Pointer input reaches the view's viewport; the control hears it in its own coordinates.
class TCustomListBox::ViewportFilter : public QObject {
public:
    explicit ViewportFilter(TCustomListBox* box) : box_(box) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ToolTip: {
            // Hints are plain text: a server's mark-up or pictures never render in one.
            auto* help = static_cast<QHelpEvent*>(event);
            String text;
            TPoint screen{help->globalPos().x(), help->globalPos().y()};
            bool shown = false;
            GuardedCall([&] { shown = box_->HintAt({help->pos().x(), help->pos().y()}, text, screen); });
            if (shown && !text.empty())
                QToolTip::showText(QPoint(screen.X, screen.Y),
                                   "<p style='white-space:pre'>" + QString::fromStdString(text).toHtmlEscaped() + "</p>",
                                   box_->View()->viewport());
            else
                QToolTip::hideText();
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            bool consumed = false;
            GuardedCall([&] { consumed = box_->TControl::HandleEvent(event); });
            return consumed;
        }
        default:
            return false;
        }
    }

private:
    TCustomListBox* box_;
};

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), view_(new ListView(this)), model_(std::make_unique<Model>(this)),
      delegate_(std::make_unique<Delegate>(this)), viewportFilter_(std::make_unique<ViewportFilter>(this))
{
    view_->setModel(model_.get());
    view_->setItemDelegate(delegate_.get());
    view_->setUniformItemSizes(false);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // until items are given a width to scroll
    view_->viewport()->installEventFilter(viewportFilter_.get());
    view_->viewport()->setMouseTracking(true);
    SetWidget(view_);
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
    items_.OnChange = [this](TObject*) { ItemsChanged(); };
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, view_, [this] {
        if (!fromCode_)
            GuardedCall([this] { Click(); });
    });
    QObject::connect(view_, &QListView::doubleClicked, view_, [this] { GuardedCall([this] { DblClick(); }); });
}

TCustomListBox::~TCustomListBox()
{
    // The view goes before the model and delegate it points to (unless its window took it already).
    if (Widget()) {
        view_->viewport()->removeEventFilter(viewportFilter_.get());
        view_->setModel(nullptr);
        view_->setItemDelegate(nullptr);
    }
}

void TCustomListBox::ItemsChanged()
{
    int keep = ItemIndex();
    fromCode_ = true;
    model_->Reset();
    if (keep >= 0 && keep < Count())
        view_->setCurrentIndex(model_->index(keep));
    fromCode_ = false;
}

int TCustomListBox::ItemIndex() const
{
    QModelIndex i = view_->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TCustomListBox::SetItemIndex(int index)
{
    fromCode_ = true;
    if (index >= 0 && index < Count()) {
        view_->setCurrentIndex(model_->index(index));
        if (!multiSelect_)
            view_->selectionModel()->select(model_->index(index), QItemSelectionModel::ClearAndSelect);
    } else {
        view_->selectionModel()->clear();
    }
    fromCode_ = false;
}

void TCustomListBox::SetMultiSelect(bool on)
{
    multiSelect_ = on;
    view_->setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TCustomListBox::Selected(int index) const
{
    return index >= 0 && index < Count() && view_->selectionModel()->isSelected(model_->index(index));
}

void TCustomListBox::SetSelected(int index, bool on)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    fromCode_ = true;
    view_->selectionModel()->select(model_->index(index), on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
    fromCode_ = false;
}

void TCustomListBox::SetItemHeight(int h)
{
    if (h <= 0)
        return;
    itemHeight_ = h;
    view_->doItemsLayout();
}

void TCustomListBox::SetStyle(TListBoxStyle s)
{
    style_ = s;
    view_->doItemsLayout();
}

int TCustomListBox::TopIndex() const
{
    QModelIndex i = view_->indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

void TCustomListBox::SetTopIndex(int index)
{
    if (index >= 0 && index < Count())
        view_->scrollTo(model_->index(index), QAbstractItemView::PositionAtTop);
}

int TCustomListBox::ItemAtPos(const TPoint& p, bool existing) const
{
    QModelIndex i = view_->indexAt(QPoint(p.X, p.Y));
    if (i.isValid())
        return i.row();
    return existing ? -1 : Count();
}

TRect TCustomListBox::ItemRect(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    QRect r = view_->visualRect(model_->index(index));
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Worked out from the view's frame and its vertical scroll bar: the viewport's own geometry
// catches up with a new size only after the control has heard of it.
int TCustomListBox::ClientWidth() const
{
    QScrollBar* bar = view_->verticalScrollBar();
    return std::max(0, view_->contentsRect().width() - (bar->isVisibleTo(view_) ? bar->sizeHint().width() : 0));
}

int TCustomListBox::ClientHeight() const
{
    QScrollBar* bar = view_->horizontalScrollBar();
    return std::max(0, view_->contentsRect().height() - (bar->isVisibleTo(view_) ? bar->sizeHint().height() : 0));
}

void TCustomListBox::SetScrollWidth(int w)
{
    scrollWidth_ = std::max(0, w);
    view_->setHorizontalScrollBarPolicy(scrollWidth_ > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    view_->doItemsLayout();
}

int TCustomListBox::HeightOf(int index)
{
    int h = itemHeight_;
    if (style_ == lbOwnerDrawVariable)
        GuardedCall([&] { MeasureItem(index, h); });
    return std::max(1, h);
}

void TCustomListBox::MeasureItem(int index, int& height) { Fire(OnMeasureItem, this, index, height); }

void TCustomListBox::PaintItem(QPainter* painter, int index, const TRect& rect, TOwnerDrawState state)
{
    canvas_.Attach(painter);
    canvas_.Font.Assign(Font);
    GuardedCall([&] { DrawItem(index, rect, state); });
    // The focused item is framed over whatever the item drew.
    if (state & odFocused)
        canvas_.DrawFocusRect(rect);
    canvas_.Release();
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    if (OnDrawItem && style_ != lbStandard) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_.Brush.Style = bsSolid;
    canvas_.Brush.Color = (state & odSelected) ? clHighlight : Color();
    canvas_.Font.SetColor((state & odSelected) ? clHighlightText : Font.Color());
    canvas_.FillRect(rect);
    if (index >= 0 && index < Count())
        canvas_.TextOut(rect.Left + 2, rect.Top, items_[index]);
}

int TCustomListBox::HorizontalPosition() const { return view_->horizontalScrollBar()->value(); }

int TCustomListBox::ScrollBarWidth()
{
    static const int width = [] {
        QScrollBar probe(Qt::Vertical);
        return probe.sizeHint().width();
    }();
    return width;
}

