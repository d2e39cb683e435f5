#pragma once
// The progress bar: a position between Min and Max shown as a filled part.
#include "Controls.h"

class QProgressBar;

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    int Min() const;
    void SetMin(int value);
    int Max() const;
    void SetMax(int value);
    int Position() const;
    void SetPosition(int value);
    int Step = 10;
    // Moves the position on by Step (by delta), kept within Min and Max.
    void StepIt() { StepBy(Step); }
    void StepBy(int delta);

private:
    QProgressBar* bar_;
};
