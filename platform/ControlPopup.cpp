// The control's popup menu: Qt asks for it through the widget's custom context-menu request.
#include "Controls.h"

#include "Menus.h"

#include <QCursor>
#include <QWidget>

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (popupMenu_)
        popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu)
        menu->FreeNotification(this);
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

void TControl::Notification(TComponent* component, TOperation operation)
{
    // The menu is told of once only its component part is left: compared by address.
    if (operation == opRemove && popupMenu_ && static_cast<void*>(component) == static_cast<void*>(popupMenu_))
        SetPopupMenu(nullptr);
    TComponent::Notification(component, operation);
}
