#include "ListView.h"

#include <QHeaderView>
#include <QTreeWidget>

TListView::TListView(TComponent* owner) : TWinControl(owner), view_(new QTreeWidget)
{
    view_->setRootIsDecorated(false);
    view_->setColumnCount(1);
    view_->setHeaderHidden(true);
    SetWidget(view_);
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
}

void TListView::AddColumn(const String& caption, int width)
{
    ++columns_;
    view_->setColumnCount(columns_);
    view_->headerItem()->setText(columns_ - 1, QString::fromStdString(caption));
    view_->setColumnWidth(columns_ - 1, width);
    view_->setHeaderHidden(false);
}

int TListView::AddItem(const String& caption, const std::vector<String>& subItems)
{
    auto* item = new QTreeWidgetItem(view_);
    item->setText(0, QString::fromStdString(caption));
    for (size_t i = 0; i < subItems.size(); ++i)
        item->setText(static_cast<int>(i) + 1, QString::fromStdString(subItems[i]));
    return view_->topLevelItemCount() - 1;
}

int TListView::Count() const { return view_->topLevelItemCount(); }

String TListView::Caption(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return view_->topLevelItem(index)->text(0).toStdString();
}

String TListView::SubItem(int index, int column) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return view_->topLevelItem(index)->text(column + 1).toStdString();
}
