#include "MarkupPanelGroup.h"

#include <algorithm>

TMarkupPanelGroup::TMarkupPanelGroup(TComponent* owner) : TMarkupPanel(owner) {}

void TMarkupPanelGroup::SetGroupStyle(TGroupStyle v)
{
    if (v == groupStyle_)
        return;
    groupStyle_ = v;
    UpdateScrollBar();
    Arrange();
}

void TMarkupPanelGroup::SetColumns(int v)
{
    if (v < 1)
        return;
    columns_ = v;
    UpdateScrollBar();
    Arrange();
    UpdateScrollBar();
}

void TMarkupPanelGroup::SetScrollPosition(int v)
{
    scrollPosition_ = std::min(v, scrollMax_ - scrollPage_);
    scrollPosition_ = std::max(scrollPosition_, 0);
    Arrange();
}

void TMarkupPanelGroup::Loaded()
{
    TMarkupPanel::Loaded();
    UpdateScrollBar();
    Arrange();
}

void TMarkupPanelGroup::SetBounds(int left, int top, int width, int height)
{
    TMarkupPanel::SetBounds(left, top, width, height);
    Arrange();
}

void TMarkupPanelGroup::StateChanged()
{
    Arrange();
    UpdateScrollBar();
}

std::vector<TCustomMarkupPanel*> TMarkupPanelGroup::Members() const
{
    std::vector<TCustomMarkupPanel*> members;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomMarkupPanel*>(Controls(i)))
            members.push_back(panel);
    return members;
}

void TMarkupPanelGroup::Arrange()
{
    if (loading_ || arranging_)
        return;
    arranging_ = true;
    auto members = Members();
    const bool vertical = groupStyle_ == gsVertical;
    std::stable_sort(members.begin(), members.end(), [vertical](auto* a, auto* b) {
        return vertical ? a->Top() < b->Top() : a->Left() < b->Left();
    });
    const int bar = scrollVisible_ ? kScrollBarSize : 0;
    if (vertical) {
        int y = vertPadding_ - (scrollVisible_ ? scrollPosition_ : 0) + (Caption().Visible() ? Caption().Height() : 0);
        for (size_t i = 0; i < members.size(); ++i) {
            TCustomMarkupPanel* p = members[i];
            const int left = ((Width() - bar - horzPadding_) / columns_) * static_cast<int>(i % columns_) + horzPadding_;
            const int width = (Width() - 2 * horzPadding_ - bar) / columns_;
            p->SetBounds(left, y, width, p->Height());
            if (p->Visible() && (i + 1) % columns_ == 0)
                y += p->Height() + vertPadding_;
        }
    } else {
        int x = horzPadding_ - (scrollVisible_ ? scrollPosition_ : 0);
        for (TCustomMarkupPanel* p : members) {
            p->SetBounds(x, vertPadding_, p->Width(), Height() - 2 * vertPadding_ - bar);
            if (p->Visible())
                x += p->Width() + horzPadding_;
        }
    }
    arranging_ = false;
}

void TMarkupPanelGroup::UpdateScrollBar()
{
    const auto members = Members();
    scrollVertical_ = groupStyle_ == gsVertical;
    int total = scrollVertical_ ? vertPadding_ : horzPadding_;
    const int extent = scrollVertical_ ? Height() : Width();
    for (size_t i = 0; i < members.size(); ++i) {
        if (!members[i]->Visible())
            continue;
        if (scrollVertical_ && (i + 1) % columns_ == 0)
            total += members[i]->Height() + vertPadding_;
        else if (!scrollVertical_)
            total += members[i]->Width() + horzPadding_;
    }
    if (total >= 1 && total > extent) {
        scrollPosition_ = std::min(scrollPosition_, total);
        scrollPage_ = extent;
        scrollMax_ = total;
    }
    scrollVisible_ = total > extent;
}
