#pragma once
// The tree view: nodes with captions, each holding child nodes that open below it.
#include "Controls.h"

#include <memory>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class TTreeNode {
public:
    explicit TTreeNode(QTreeWidgetItem* item) : item_(item) {}
    String Text() const;
    int Count() const;
    void Expand();

    // Platform side.
    QTreeWidgetItem* Item() const { return item_; }

private:
    QTreeWidgetItem* item_;
};

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;
    // A node at the top (parent nullptr) or under parent; the view keeps it.
    TTreeNode* AddChild(TTreeNode* parent, const String& text);
    int Count() const { return static_cast<int>(nodes_.size()); }

private:
    QTreeWidget* tree_;
    std::vector<std::unique_ptr<TTreeNode>> nodes_;
};
