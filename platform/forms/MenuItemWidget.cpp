#include "MenuItemWidget.h"

#include "Controls.h"
#include "Menus.h"

#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QWidget>
#include <QWidgetAction>

namespace {

// The item's pixels and size come from its handlers; everything else (the selection by mouse
// and keyboard, Return, the underlined letter, opening a sub-menu) is the menu's own work on
// the item's action, as for a plain entry.
class OwnerDrawnItem : public QWidget {
public:
    OwnerDrawnItem(TMenuItem* item, QMenu* menu, QAction* action) : item_(item), menu_(menu), action_(action)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
        // Keyboard moves change the menu's active action: the item then shows it.
        QObject::connect(menu, &QMenu::hovered, this, [this] { update(); });
    }

    QSize sizeHint() const override
    {
        // Handlers measure on a canvas of their own; a small bitmap gives them the screen's metrics.
        TBitmap scratch(1, 1);
        TCanvas& canvas = scratch.Canvas();
        int width = 0;
        int height = item_->IsLine() ? 0 : canvas.TextHeight("Wg");
        GuardedCall([&] { Fire(item_->OnMeasureItem, item_, canvas, width, height); });
        // The menu keeps room for a check mark beside what the handler asked for.
        return {std::max(width, 0) + MenuCheckMarkRoom, std::max(height, 0)};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const bool selected = Selectable() && menu_->activeAction() == action_;
        QPainter painter(this);
        TCanvas canvas;
        canvas.Attach(&painter);
        GuardedCall([&] { Fire(item_->OnDrawItem, item_, canvas, TRect{0, 0, width(), height()}, selected); });
        canvas.Release();
        if (item_->Count() > 0)
            DrawSubMenuArrow(painter);
    }
    void enterEvent(QEnterEvent*) override { update(); }
    void leaveEvent(QEvent*) override { update(); }

private:
    bool Selectable() const { return item_->Enabled && !item_->IsLine(); }
    // The menu marks an item that opens a sub-menu with an arrow at its right, over the
    // handler's drawing.
    void DrawSubMenuArrow(QPainter& painter) const
    {
        const int x = width() - 9;
        const int y = height() / 2;
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(item_->Enabled ? QColor(Qt::black) : QColor(Qt::gray));
        painter.drawPolygon(QPolygon({QPoint(x, y - 4), QPoint(x + 4, y), QPoint(x, y + 4)}));
    }
    TMenuItem* item_;
    QMenu* menu_;
    QAction* action_;
};

}  // namespace

QAction* NewOwnerDrawnAction(QMenu* menu, TMenuItem* item, QMenu* subMenu)
{
    auto* action = new QWidgetAction(menu);
    // The caption's "&" marks the letter that runs the item.
    action->setText(QString::fromStdString(item->IsLine() ? String() : item->Caption));
    // A separator, with or without a section title, is passed over by the keyboard.
    action->setEnabled(item->Enabled && !item->IsLine());
    action->setDefaultWidget(new OwnerDrawnItem(item, menu, action));
    if (subMenu) {
        action->setMenu(subMenu);
        QObject::connect(action, &QObject::destroyed, subMenu, &QObject::deleteLater);
    } else if (!item->IsLine()) {
        QObject::connect(action, &QAction::triggered, [item] { GuardedCall([item] { item->Click(); }); });
    }
    return action;
}
