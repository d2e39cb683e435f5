#include "MainMenu.h"

#include "Controls.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <map>

namespace {

class MenuBarWidget : public QMenuBar {
public:
    MenuBarWidget(TMainMenu* menu, QWidget* window);
    void Rebuild();
    TMenuItem* ItemOf(const QAction* action) const
    {
        auto it = items_.find(action);
        return it == items_.end() ? nullptr : it->second;
    }
    QAction* ActionOf(const TMenuItem* item) const
    {
        for (const auto& [action, each] : items_)
            if (each == item)
                return const_cast<QAction*>(action);
        return nullptr;
    }
    TMainMenu* Menu() const { return menu_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TMainMenu* menu_;
    std::map<const QAction*, TMenuItem*> items_;
};

// Owner-drawn top-level items are as large as their measure handlers ask.
class BarStyle : public QProxyStyle {
public:
    BarStyle() { setParent(qApp); }
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        const auto* bar = dynamic_cast<const MenuBarWidget*>(widget);
        const auto* entry = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuBarItem || !bar || !entry || !bar->Menu()->OwnerDraw)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        for (QAction* action : bar->actions()) {
            TMenuItem* item = bar->ItemOf(action);
            if (action->text() != entry->text || !item || !item->OnMeasureItem)
                continue;
            TBitmap scratch(1, 1);
            TCanvas& canvas = scratch.Canvas();
            int width = 0;
            int height = canvas.TextHeight("Wg");
            GuardedCall([&] { item->OnMeasureItem(item, canvas, width, height); });
            // The bar keeps the same room beside the asked width as a menu does.
            return {std::max(width, 0) + MenuCheckMarkRoom, std::max(height, 1)};
        }
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    static BarStyle* Shared()
    {
        static BarStyle* style = new BarStyle;
        return style;
    }
};

MenuBarWidget::MenuBarWidget(TMainMenu* menu, QWidget* window) : QMenuBar(window), menu_(menu)
{
    setStyle(BarStyle::Shared());
    setNativeMenuBar(false);
}

void MenuBarWidget::Rebuild()
{
    clear();
    items_.clear();
    setLayoutDirection(menu_->RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    TMenuItem& top = menu_->Items();
    for (int i = 0; i < top.Count(); ++i) {
        TMenuItem* item = top.Items(i);
        if (!item->Visible || item->IsLine())
            continue;
        QAction* action;
        if (item->Count() > 0) {
            auto* sub = new QMenu(this);
            menu_->FillMenu(sub, *item);
            action = addMenu(sub);
            action->setText(QString::fromStdString(item->Caption));
        } else {
            action = addAction(QString::fromStdString(item->Caption));
            QObject::connect(action, &QAction::triggered, [item] { GuardedCall([item] { item->Click(); }); });
        }
        action->setEnabled(item->Enabled);
        items_[action] = item;
    }
    adjustSize();
    update();
}

void MenuBarWidget::paintEvent(QPaintEvent* e)
{
    QMenuBar::paintEvent(e);
    if (!menu_->OwnerDraw)
        return;
    // Each owner-drawn item paints over the bar's own drawing of it, in the order they stand.
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter);
    for (QAction* action : actions()) {
        TMenuItem* item = ItemOf(action);
        const QRect g = actionGeometry(action);
        if (!item || !item->OnDrawItem || g.isEmpty())
            continue;
        // Selected: the item's menu is open, or the keyboard is on it; the pointer over an item
        // only makes it hot, which its handler finds out for itself.
        const bool open = action->menu() && action->menu()->isVisible();
        const bool selected = open || (activeAction() == action && hasFocus());
        const TRect rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        GuardedCall([&] { item->OnDrawItem(item, canvas, rect, selected); });
    }
    canvas.Release();
}

MenuBarWidget* BarOf(const QPointer<QMenuBar>& bar) { return static_cast<MenuBarWidget*>(bar.data()); }

}  // namespace

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() { delete bar_.data(); }

void TMainMenu::AttachTo(QWidget* window)
{
    delete bar_.data();
    bar_ = window ? new MenuBarWidget(this, window) : nullptr;
    UpdateItems();
    if (bar_)
        bar_->show();
}

void TMainMenu::UpdateItems()
{
    if (!bar_)
        return;
    BarOf(bar_)->Rebuild();
    if (OnBarChange)
        OnBarChange();
}

QMenuBar* TMainMenu::Bar() const { return bar_; }

int TMainMenu::BarHeight() const { return bar_ ? bar_->sizeHint().height() : 0; }

TPoint TMainMenu::ScreenToBar(const TPoint& screen) const
{
    if (!bar_)
        return screen;
    const QPoint p = bar_->mapFromGlobal(QPoint(screen.X, screen.Y));
    return {p.x(), p.y()};
}

TRect TMainMenu::ItemRect(const TMenuItem* item) const
{
    QAction* action = bar_ ? BarOf(bar_)->ActionOf(item) : nullptr;
    if (!action)
        return {0, 0, 0, 0};
    const QRect g = bar_->actionGeometry(action);
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}
