#pragma once
// The scroll box: a bordered container whose controls scroll when they reach past its edges.
#include "Controls.h"

class QScrollArea;

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* owner);
    QWidget* HostWidget() const override;
    // The scroll range follows the controls: the contents are as large as the box or as far as
    // the controls reach.
    void Realign() override;

private:
    QScrollArea* area_;
    QWidget* contents_;
};
