#include "PageControl.h"

#include <QTabWidget>

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner)
{
    auto* page = new QWidget;
    SetWidget(page);
    // A page shows its own colour, as the other containers do.
    SetColor(clBtnFace);
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::ParentChanged()
{
    if (TPageControl* pages = PageControl())
        pages->Tabs()->addTab(Widget(), QString::fromStdString(Caption()));
}

void TTabSheet::SetCaption(const String& text)
{
    TWinControl::SetCaption(text);
    if (TPageControl* pages = PageControl())
        pages->Tabs()->setTabText(pages->Tabs()->indexOf(Widget()), QString::fromStdString(text));
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner), tabs_(new QTabWidget)
{
    SetWidget(tabs_);
    QObject::connect(tabs_, &QTabWidget::currentChanged, [this] { GuardedCall([this] { Fire(OnChange, this); }); });
}

int TPageControl::PageCount() const { return tabs_->count(); }

TTabSheet* TPageControl::ActivePage() const
{
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* sheet = dynamic_cast<TTabSheet*>(Controls(i)); sheet && sheet->Widget() == tabs_->currentWidget())
            return sheet;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* sheet)
{
    if (sheet && sheet->PageControl() == this)
        tabs_->setCurrentWidget(sheet->Widget());
}
