#include "MarkupPanel.h"

#include "ExtCtrls.h"

void TCustomMarkupPanel::SetCollaps(bool value)
{
    if (collaps_ && !value)
        Fire(OnMaximize, this);
    else if (!collaps_ && value)
        Fire(OnMinimize, this);
    // A click during a running move finishes that move first, then counts as usual.
    if (busy_)
        FinishCollapse();
    if (value == collaps_ || loading_) {
        collaps_ = value;
        StateChanged();
        Fire(OnEndCollapsExpand, this);
        return;
    }
    busy_ = true;
    collaps_ = value;
    const int captionHeight = caption_->Height();
    if (value) {
        fullHeight_ = Height();
        if (AutoHideChildren)
            for (int i = 0; i < ControlCount(); ++i)
                Controls(i)->Hide();
        savedColor_ = Color();
    }
    if (CollapsSteps <= 0) {
        EndCollapse();
        return;
    }
    if (value) {
        SetColor(CollapsColor);
        collapseStep_ = -(Height() - captionHeight) / CollapsSteps;
    } else {
        SetColor(savedColor_);
        collapseStep_ = (fullHeight_ - captionHeight) / CollapsSteps;
    }
    // The steps run on a timer, so the window paints and answers between them.
    stepsLeft_ = CollapsSteps;
    if (!collapseTimer_) {
        collapseTimer_ = std::make_unique<TTimer>(nullptr);
        collapseTimer_->OnTimer = [this](TObject*) { CollapseStep(); };
    }
    collapseTimer_->SetInterval(std::max(1, CollapsDelay));
    collapseTimer_->SetEnabled(true);
}

void TCustomMarkupPanel::CollapseStep()
{
    SetHeight(Height() + collapseStep_);
    ParentArrange();
    if (--stepsLeft_ <= 0)
        FinishCollapse();
}

void TCustomMarkupPanel::FinishCollapse()
{
    if (collapseTimer_)
        collapseTimer_->SetEnabled(false);
    stepsLeft_ = 0;
    EndCollapse();
}

void TCustomMarkupPanel::EndCollapse()
{
    if (collaps_) {
        SetHeight(caption_->Height());
    } else {
        SetHeight(fullHeight_);
        if (AutoHideChildren)
            for (int i = 0; i < ControlCount(); ++i)
                Controls(i)->Show();
    }
    ParentArrange();
    busy_ = false;
    StateChanged();
    Fire(OnEndCollapsExpand, this);
}
