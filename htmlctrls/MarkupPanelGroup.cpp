#include "MarkupPanelGroup.h"

#include <algorithm>

TMarkupPanelGroup::TMarkupPanelGroup(TComponent* owner) : TMarkupPanel(owner), scrollBar_(new TScrollBar(this))
{
    scrollBar_->SetKind(sbVertical);
    scrollBar_->SmallChange = 2;
    scrollBar_->LargeChange = 20;
    scrollBar_->SetTabStop(false);
    scrollBar_->SetWidth(kScrollBarSize);
    scrollBar_->SetVisible(false);
    scrollBar_->SetParent(this);
    scrollBar_->SetAlign(alRight);
    scrollBar_->OnChange = [this](TObject*) {
        const int limit = scrollBar_->Max() - scrollBar_->PageSize();
        if (scrollBar_->Position() > limit)
            scrollBar_->SetPosition(limit);
        Arrange();
    };
}

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

void TMarkupPanelGroup::Resize()
{
    TMarkupPanel::Resize();
    UpdateScrollBar();
}

bool TMarkupPanelGroup::MouseWheel(TShiftState, int delta, const TPoint&)
{
    const int step = 2 * scrollBar_->SmallChange;
    scrollBar_->SetPosition(std::max(0, scrollBar_->Position() + (delta < 0 ? step : -step)));
    return true;
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
    const bool scrolled = scrollBar_->Visible();
    const int bar = scrolled ? kScrollBarSize : 0;
    if (vertical) {
        int y = vertPadding_ - (scrolled ? scrollBar_->Position() : 0) + (Caption().Visible() ? Caption().Height() : 0);
        for (size_t i = 0; i < members.size(); ++i) {
            TCustomMarkupPanel* p = members[i];
            const int left = ((Width() - bar - horzPadding_) / columns_) * static_cast<int>(i % columns_) + horzPadding_;
            const int width = (Width() - 2 * horzPadding_ - bar) / columns_;
            p->SetBounds(left, y, width, p->Height());
            if (p->Visible() && (i + 1) % columns_ == 0)
                y += p->Height() + vertPadding_;
        }
    } else {
        int x = horzPadding_ - (scrolled ? scrollBar_->Position() : 0);
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
    const bool vertical = groupStyle_ == gsVertical;
    if (vertical && scrollBar_->Kind() == sbHorizontal) {
        scrollBar_->SetKind(sbVertical);
        scrollBar_->SetAlign(alRight);
        scrollBar_->SetWidth(kScrollBarSize);
    } else if (!vertical && scrollBar_->Kind() == sbVertical) {
        scrollBar_->SetKind(sbHorizontal);
        scrollBar_->SetAlign(alBottom);
        scrollBar_->SetHeight(kScrollBarSize);
    }
    int total = vertical ? vertPadding_ : horzPadding_;
    const int extent = vertical ? Height() : Width();
    for (size_t i = 0; i < members.size(); ++i) {
        if (!members[i]->Visible())
            continue;
        if (vertical && (i + 1) % columns_ == 0)
            total += members[i]->Height() + vertPadding_;
        else if (!vertical)
            total += members[i]->Width() + horzPadding_;
    }
    if (total >= 1 && total > extent) {
        if (scrollBar_->Position() > total)
            scrollBar_->SetPosition(total);
        scrollBar_->SetPageSize(extent);
        scrollBar_->SetMax(total);
    }
    scrollBar_->SetVisible(total > extent);
    scrollBar_->Invalidate();
}
