#pragma once
// The list view in report style: items in rows, their sub-items in the columns after the first.
#include "Controls.h"

#include <vector>

class QTreeWidget;

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);
    void AddColumn(const String& caption, int width);
    // Returns the new item's index.
    int AddItem(const String& caption, const std::vector<String>& subItems = {});
    int Count() const;
    String Caption(int index) const;
    String SubItem(int index, int column) const;

private:
    QTreeWidget* view_;
    int columns_ = 0;
};
