#include "MenuItemWidget.h"

#include "Controls.h"
#include "Menus.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWidgetAction>

namespace {

class OwnerDrawnItem : public QWidget {
public:
    explicit OwnerDrawnItem(TMenuItem* item) : item_(item)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
    }

    QSize sizeHint() const override
    {
        // Handlers measure on a canvas of their own; a small bitmap gives them the screen's metrics.
        TBitmap scratch(1, 1);
        TCanvas& canvas = scratch.Canvas();
        int width = 0;
        int height = item_->IsLine() ? 0 : canvas.TextHeight("Wg");
        Fire(item_->OnMeasureItem, item_, canvas, width, height);
        return {std::max(width, 0), std::max(height, 0)};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        TCanvas canvas;
        canvas.Attach(&painter);
        GuardedCall([&] { Fire(item_->OnDrawItem, item_, canvas, TRect{0, 0, width(), height()}, selected_); });
        canvas.Release();
    }
    void enterEvent(QEnterEvent*) override { SetSelected(Selectable()); }
    void leaveEvent(QEvent*) override { SetSelected(false); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton || !Selectable() || !rect().contains(event->position().toPoint()))
            return;
        // The menus close before the command runs, as with ordinary entries.
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* menu = qobject_cast<QMenu*>(w))
                menu->close();
        TMenuItem* item = item_;
        GuardedCall([item] { item->Click(); });
    }

private:
    bool Selectable() const { return item_->Enabled && !item_->IsLine(); }
    void SetSelected(bool on)
    {
        if (selected_ == on)
            return;
        selected_ = on;
        update();
    }
    TMenuItem* item_;
    bool selected_ = false;
};

}  // namespace

QAction* NewOwnerDrawnAction(QMenu* menu, TMenuItem* item)
{
    auto* action = new QWidgetAction(menu);
    action->setText(QString::fromStdString(item->Caption));
    action->setEnabled(item->Enabled);
    action->setDefaultWidget(new OwnerDrawnItem(item));
    return action;
}
