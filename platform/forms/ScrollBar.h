#pragma once
// The class library's scroll bar control.
#include "Controls.h"

class QScrollBar;

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    int Position() const { return position_; }
    // Kept within Min and Max; a change fires OnChange.
    void SetPosition(int position);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMax(int max);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int pageSize);
    int SmallChange = 1;
    int LargeChange = 1;
    TNotifyEvent OnChange;

private:
    void Sync();

    QScrollBar* bar_;
    TScrollBarKind kind_ = sbHorizontal;
    int position_ = 0;
    int min_ = 0;
    int max_ = 100;
    int pageSize_ = 0;
    bool syncing_ = false;
};
