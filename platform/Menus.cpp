#include "Menus.h"

#include "Controls.h"
#include "MenuItemWidget.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QPaintEvent>
#include <QWidget>
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

namespace {
// A see-through child on top of a menu window, item widgets included, that hands its pixels
// to the menu's OnPaintWindow.
class MenuWindowOverlay : public QWidget {
public:
    MenuWindowOverlay(QMenu* window, TPopupMenu* menu) : QWidget(window), menu_(menu)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        window->installEventFilter(this);
        Follow();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::ChildAdded: Follow(); break;
        default: break;
        }
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!menu_->OnPaintWindow)
            return;
        QPainter painter(this);
        TCanvas canvas;
        canvas.Attach(&painter);
        GuardedCall([&] { menu_->OnPaintWindow(canvas, TRect{0, 0, width(), height()}); });
        canvas.Release();
    }

private:
    void Follow()
    {
        setGeometry(parentWidget()->rect());
        raise();
    }
    TPopupMenu* menu_;
};
}  // namespace

void TPopupMenu::HookWindows()
{
    QList<QMenu*> windows = menu_->findChildren<QMenu*>();
    windows.prepend(menu_.get());
    for (QMenu* window : windows)
        if (!window->property("ombrelleWindowOverlay").toBool()) {
            new MenuWindowOverlay(window, this);
            window->setProperty("ombrelleWindowOverlay", true);
        }
}

QMenu* TPopupMenu::BuildMenu()
{
    if (!menu_)
        menu_ = std::make_unique<QMenu>();
    menu_->clear();
    menu_->setSeparatorsCollapsible(AutoLineReduction);
    Fill(menu_.get(), *items_, Images, OwnerDraw);
    HookWindows();
    if (!popupHooked_) {
        QObject::connect(menu_.get(), &QMenu::aboutToShow, menu_.get(), [this] {
            GuardedCall([this] {
                PreparePopup();
                // Entries follow the items as they are now: items added since the last showing appear.
                menu_->clear();
                menu_->setSeparatorsCollapsible(AutoLineReduction);
                Fill(menu_.get(), *items_, Images, OwnerDraw);
                HookWindows();
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
