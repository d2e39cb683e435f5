// The control's popup menu: Qt asks for it through the widget's custom context-menu request
// when the mouse does; the Menu key and Shift+F10 open it too, as on the desktop the program
// comes from, under the current row of a list (else at the control's corner).
#include "Controls.h"

#include "Menus.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QWidget>

namespace {

const char* const kKeyboardPopupName = "keyboard popup";

bool IsMenuKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

// Where the menu opens for the keys: at the left of the current row, just below it.
QPoint KeyboardPoint(QWidget& widget)
{
    if (auto* view = qobject_cast<QAbstractItemView*>(&widget)) {
        const QRect row = view->visualRect(view->currentIndex());
        if (row.isValid() && view->viewport()->rect().intersects(row))
            return view->viewport()->mapToGlobal(row.bottomLeft());
    }
    return widget.mapToGlobal(QPoint(0, 0));
}

class TKeyboardPopup : public QObject {
public:
    TKeyboardPopup(QWidget* widget, std::function<void(const QPoint&)> popup)
        : QObject(widget), widget_(*widget), popup_(std::move(popup))
    {
        setObjectName(kKeyboardPopupName);
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        const bool byKey = (e->type() == QEvent::KeyPress && IsMenuKey(*static_cast<QKeyEvent*>(e))) ||
                           (e->type() == QEvent::ContextMenu &&
                            static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Keyboard);
        if (!byKey)
            return false;
        popup_(KeyboardPoint(widget_));
        return true;
    }

private:
    QWidget& widget_;
    std::function<void(const QPoint&)> popup_;
};

}  // namespace

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
    delete widget->findChild<QObject*>(kKeyboardPopupName, Qt::FindDirectChildrenOnly);
    if (!menu)
        return;
    auto popup = [this](const QPoint& at) {
        GuardedCall([&] {
            if (popupMenu_ && popupMenu_->AutoPopup)
                popupMenu_->Popup(at.x(), at.y());
        });
    };
    QObject::connect(widget, &QWidget::customContextMenuRequested, widget, [popup] { popup(QCursor::pos()); });
    new TKeyboardPopup(widget, popup);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    // The menu is told of once only its component part is left: compared by address.
    if (operation == opRemove && popupMenu_ && static_cast<void*>(component) == static_cast<void*>(popupMenu_))
        SetPopupMenu(nullptr);
    TComponent::Notification(component, operation);
}
