// The control's popup menu: Qt asks for it through the widget's custom context-menu request.
#include "Controls.h"

#include "Menus.h"

#include <QCursor>
#include <QWidget>

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    popupMenu_ = menu;
    QWidget* widget = Widget();
    if (!widget)
        return;
    widget->setContextMenuPolicy(menu ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
    QObject::disconnect(widget, &QWidget::customContextMenuRequested, nullptr, nullptr);
    if (menu)
        QObject::connect(widget, &QWidget::customContextMenuRequested, widget, [this] {
            GuardedCall([this] {
                if (popupMenu_) {
                    QPoint at = QCursor::pos();
                    popupMenu_->Popup(at.x(), at.y());
                }
            });
        });
}
