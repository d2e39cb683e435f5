// A form's main menu: the bar along the top of the window, the controls below it.
#include "Forms.h"

#include "MainMenu.h"

#include <QDialog>
#include <QMenuBar>

void TForm::SetMenu(TMainMenu* menu)
{
    if (menu == menu_)
        return;
    if (menu_) {
        menu_->OnBarChange = nullptr;
        menu_->AttachTo(nullptr);
        RemoveFreeNotification(menu_);
    }
    menu_ = menu;
    if (menu_) {
        FreeNotification(menu_);
        // New items may make the bar higher: the controls move down with it.
        menu_->OnBarChange = [this] {
            PlaceMenu();
            Realign();
        };
        if (!client_) {
            // The controls move onto a client widget below the bar, keeping their places.
            client_ = new QWidget(Widget());
            client_->show();
            for (int i = 0; i < ControlCount(); ++i)
                if (QWidget* w = Controls(i)->Widget()) {
                    const QRect g = w->geometry();
                    const bool shown = w->isVisibleTo(Widget());
                    w->setParent(client_);
                    w->setGeometry(g);
                    w->setVisible(shown);
                }
        }
        menu_->AttachTo(Widget());
    }
    PlaceMenu();
    Realign();
}

QWidget* TForm::HostWidget() const { return client_ ? client_ : Widget(); }

void TForm::PlaceMenu()
{
    if (!client_ || !Widget())
        return;
    const int barHeight = menu_ ? menu_->BarHeight() : 0;
    if (menu_ && menu_->Bar())
        menu_->Bar()->setGeometry(0, 0, Width(), barHeight);
    client_->setGeometry(0, barHeight, Width(), std::max(0, Height() - barHeight));
}

void TForm::Resize()
{
    PlaceMenu();
    TWinControl::Resize();
}

void TForm::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component == menu_) {
        menu_ = nullptr;
        PlaceMenu();
    }
    TWinControl::Notification(component, operation);
}
