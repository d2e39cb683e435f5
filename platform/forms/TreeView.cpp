#include "TreeView.h"

#include <QTreeWidget>

String TTreeNode::Text() const { return item_->text(0).toStdString(); }
int TTreeNode::Count() const { return item_->childCount(); }
void TTreeNode::Expand() { item_->setExpanded(true); }

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner), tree_(new QTreeWidget)
{
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    SetWidget(tree_);
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
}

TTreeView::~TTreeView() = default;

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const String& text)
{
    auto* item = parent ? new QTreeWidgetItem(parent->Item()) : new QTreeWidgetItem(tree_);
    item->setText(0, QString::fromStdString(text));
    nodes_.push_back(std::make_unique<TTreeNode>(item));
    return nodes_.back().get();
}
