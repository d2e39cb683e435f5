#include "Menus.h"

#include "Controls.h"
#include "MenuItemWidget.h"

#include <QAction>

#include <algorithm>
#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QKeySequence>
#include <QImage>
#include <QMenu>
#include <QPaintEngine>
#include <QPainter>
#include <QPaintEvent>
#include <QWidget>
#include <QPixmap>
#include <QRegion>

namespace {
String KeyName(int key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return String(1, static_cast<char>(key));
    if (key >= 0x70 && key <= 0x87)
        return "F" + std::to_string(key - 0x70 + 1);
    switch (key) {
    case 0x08: return "BkSp";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x1B: return "Esc";
    case 0x20: return "Space";
    case 0x21: return "PgUp";
    case 0x22: return "PgDn";
    case 0x23: return "End";
    case 0x24: return "Home";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x2D: return "Ins";
    case 0x2E: return "Del";
    default: return String();
    }
}
}  // namespace

String ShortCutToText(TShortCut shortCut)
{
    const String name = KeyName(shortCut & 0xFF);
    if (name.empty())
        return String();
    String text;
    if (shortCut & scShift)
        text += "Shift+";
    if (shortCut & scCtrl)
        text += "Ctrl+";
    if (shortCut & scAlt)
        text += "Alt+";
    return text + name;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}
TMenuItem::~TMenuItem()
{
    // A freed item leaves its menu; its own items (owned elsewhere) stay, without a parent.
    if (parent_)
        std::erase(parent_->items_, this);
    for (TMenuItem* item : items_)
        item->parent_ = nullptr;
}

void TMenuItem::Add(TMenuItem* item)
{
    item->parent_ = this;
    items_.push_back(item);
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return dynamic_cast<TMenu*>(root->Owner());
}

int TMenuItem::MenuIndex() const
{
    if (!parent_)
        return -1;
    const auto& siblings = parent_->items_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TImageList* TMenuItem::GetImageList() const
{
    if (parent_ && parent_->SubMenuImages)
        return parent_->SubMenuImages;
    TMenu* menu = GetParentMenu();
    return menu ? menu->Images : nullptr;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(this)) {}
TMenu::~TMenu() = default;

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}
TPopupMenu::~TPopupMenu() = default;

static void Fill(QMenu* menu, TMenuItem& parent, bool ownerDraw)
{
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible)
            continue;
        if (ownerDraw && item->OnDrawItem) {
            QMenu* sub = nullptr;
            if (item->Count() > 0) {
                sub = new QMenu(menu);
                sub->setLayoutDirection(menu->layoutDirection());
                Fill(sub, *item, ownerDraw);
            }
            menu->addAction(NewOwnerDrawnAction(menu, item, sub));
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
            Fill(sub, *item, ownerDraw);
            continue;
        }
        QAction* a = menu->addAction(caption);
        a->setEnabled(item->Enabled);
        a->setCheckable(item->Checked);
        a->setChecked(item->Checked);
        a->setStatusTip(QString::fromStdString(item->Hint));
        if (item->Default) {
            QFont bold = a->font();
            bold.setBold(true);
            a->setFont(bold);
        }
        if (item->ShortCut)
            a->setShortcut(QKeySequence(QString::fromStdString(ShortCutToText(item->ShortCut))));
        TImageList* own = item->GetImageList();
        if (own && item->ImageIndex >= 0 && item->ImageIndex < own->Count()) {
            a->setIcon(QPixmap::fromImage(own->Image(item->ImageIndex)));
        } else if (!item->Bitmap.Empty()) {
            TImageList picture(nullptr, item->Bitmap.Width(), item->Bitmap.Height());
            picture.AddMasked(item->Bitmap, item->Bitmap.TransparentColor());
            a->setIcon(QPixmap::fromImage(picture.Image(0)));
        }
        QObject::connect(a, &QAction::triggered, [item] { GuardedCall([item] { item->Click(); }); });
    }
}

namespace {
// A see-through child on top of a menu window, item widgets included, that hands the window's
// pixels to the menu's OnPaintWindow and shows what it drew over them.
class MenuWindowOverlay : public QWidget, public TMenuWindowRegion {
public:
    MenuWindowOverlay(QMenu* window, TMenu* menu) : QWidget(window), menu_(menu)
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
        // A closed window shows its whole rectangle again when it opens next.
        case QEvent::Hide: parentWidget()->clearMask(); break;
        default: break;
        }
        return false;
    }
    TRect Box() const override
    {
        const QRect box = parentWidget()->mask().boundingRect();
        return {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
    }
    void SetUnion(const TRect& a, const TRect& b) override
    {
        auto rect = [](const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); };
        parentWidget()->setMask(QRegion(rect(a)) | QRegion(rect(b)));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!menu_->OnPaintWindow)
            return;
        QPainter painter(this);
        // The handler draws on a copy of what the window shows, menu and items painted, so that
        // it can read it back; the copy then goes onto the window.
        QImage window(size(), QImage::Format_RGB32);
        window.fill(Qt::white);
        if (auto* surface = dynamic_cast<QImage*>(painter.paintEngine()->paintDevice()))
            window = surface->copy(QRect(painter.deviceTransform().map(QPoint(0, 0)), size()))
                         .convertToFormat(QImage::Format_RGB32);
        {
            QPainter onCopy(&window);
            TCanvas canvas;
            canvas.Attach(&onCopy);
            GuardedCall([&] { menu_->OnPaintWindow(canvas, TRect{0, 0, width(), height()}, *this); });
            canvas.Release();
        }
        painter.drawImage(0, 0, window);
    }

private:
    void Follow()
    {
        setGeometry(parentWidget()->rect());
        raise();
    }
    TMenu* menu_;
};
}  // namespace

void TMenu::FillMenu(QMenu* menu, TMenuItem& parent)
{
    menu->setSeparatorsCollapsible(AutoLineReduction);
    menu->setLayoutDirection(RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    Fill(menu, parent, OwnerDraw);
    HookWindows(menu);
}

void TMenu::HookWindows(QMenu* menu)
{
    QList<QMenu*> windows = menu->findChildren<QMenu*>();
    windows.prepend(menu);
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
    FillMenu();
    if (!popupHooked_) {
        QObject::connect(menu_.get(), &QMenu::aboutToShow, menu_.get(), [this] {
            GuardedCall([this] {
                PreparePopup();
                // Entries follow the items as they are now: items added since the last showing appear.
                FillMenu();
                Fire(OnPopup, this);
            });
        });
        popupHooked_ = true;
    }
    return menu_.get();
}

void TPopupMenu::FillMenu()
{
    menu_->clear();
    TMenu::FillMenu(menu_.get(), Items());
}

void TPopupMenu::Popup(int x, int y)
{
    BuildMenu()->exec(QPoint(x, y));
}
