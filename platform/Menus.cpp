#include "Menus.h"

#include "Controls.h"
#include "MenuItemWidget.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPixmap>

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}
TMenuItem::~TMenuItem() = default;

void TMenuItem::Add(TMenuItem* item)
{
    item->parent_ = this;
    items_.push_back(item);
}

TPopupMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return dynamic_cast<TPopupMenu*>(root->Owner());
}

TImageList* TMenuItem::GetImageList() const
{
    TPopupMenu* menu = GetParentMenu();
    return menu ? menu->Images : nullptr;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(this)) {}
TPopupMenu::~TPopupMenu() = default;

static void Fill(QMenu* menu, TMenuItem& parent, TImageList* images, bool ownerDraw)
{
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible)
            continue;
        if (ownerDraw && item->OnDrawItem && item->Count() == 0) {
            menu->addAction(NewOwnerDrawnAction(menu, item));
            continue;
        }
        if (item->IsLine()) {
            QAction* sep = menu->addSeparator();
            sep->setText(QString::fromStdString(item->Hint));
            continue;
        }
        QString caption = QString::fromStdString(item->Caption);
        if (item->Count() > 0) {
            QMenu* sub = menu->addMenu(caption);
            Fill(sub, *item, images, ownerDraw);
            continue;
        }
        QAction* a = menu->addAction(caption);
        a->setEnabled(item->Enabled);
        a->setCheckable(item->Checked);
        a->setChecked(item->Checked);
        a->setStatusTip(QString::fromStdString(item->Hint));
        if (images && item->ImageIndex >= 0 && item->ImageIndex < images->Count())
            a->setIcon(QPixmap::fromImage(images->Image(item->ImageIndex)));
        QObject::connect(a, &QAction::triggered, [item] { GuardedCall([item] { item->Click(); }); });
    }
}

QMenu* TPopupMenu::BuildMenu()
{
    if (!menu_)
        menu_ = std::make_unique<QMenu>();
    menu_->clear();
    menu_->setSeparatorsCollapsible(AutoLineReduction);
    Fill(menu_.get(), *items_, Images, OwnerDraw);
    if (!popupHooked_) {
        QObject::connect(menu_.get(), &QMenu::aboutToShow, menu_.get(), [this] {
            GuardedCall([this] {
                PreparePopup();
                // Entries follow the items as they are now: items added since the last showing appear.
                menu_->clear();
                menu_->setSeparatorsCollapsible(AutoLineReduction);
                Fill(menu_.get(), *items_, Images, OwnerDraw);
                Fire(OnPopup, this);
            });
        });
        popupHooked_ = true;
    }
    return menu_.get();
}

void TPopupMenu::Popup(int x, int y)
{
    BuildMenu()->exec(QPoint(x, y));
}
