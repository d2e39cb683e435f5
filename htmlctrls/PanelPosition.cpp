#include "PanelPosition.h"

#include "MarkupPanel.h"
#include "Monitors.h"
#include "PanelPositionStore.h"

#include <algorithm>

namespace {

std::unique_ptr<TPositionStore> OpenStore(const TPanelPosition& position)
{
    return position.Location == clRegistry ? OpenRegistryStore(position.Key) : OpenIniStore(position.Key);
}

}  // namespace

void TPanelPosition::Assign(const TPersistent& source)
{
    if (const auto* other = dynamic_cast<const TPanelPosition*>(&source)) {
        Key = other->Key;
        Section = other->Section;
        Save = other->Save;
        Location = other->Location;
    }
}

void TPanelPosition::SavePosition()
{
    if (Key.empty() || Section.empty())
        return;
    auto store = OpenStore(*this);
    store->WriteInteger(Section, "Top", owner_->Top());
    store->WriteInteger(Section, "Left", owner_->Left());
    store->WriteInteger(Section, "Height", owner_->Height());
    store->WriteInteger(Section, "FullHeight", owner_->FullHeight());
    store->WriteInteger(Section, "Width", owner_->Width());
    store->WriteInteger(Section, "Collaps", owner_->Collaps() ? 1 : 0);
}

void TPanelPosition::LoadPosition()
{
    if (Key.empty() || Section.empty())
        return;
    auto store = OpenStore(*this);
    // What the store says is checked against the designed bounds: a panel is never restored
    // smaller than its caption, nor with its caption where no screen shows it.
    const TRect designed = owner_->BoundsRect();
    const int least = std::max(1, owner_->Caption().Height());
    int top = store->ReadInteger(Section, "Top", designed.Top);
    int left = store->ReadInteger(Section, "Left", designed.Left);
    int height = store->ReadInteger(Section, "Height", designed.Height());
    int width = store->ReadInteger(Section, "Width", designed.Width());
    if (height < least || width < least) {
        height = designed.Height();
        width = designed.Width();
    }
    if (!CaptionOnScreen(left, top, width, least)) {
        left = designed.Left;
        top = designed.Top;
    }
    owner_->SetBounds(left, top, width, height);
    owner_->SetCollaps(store->ReadInteger(Section, "Collaps", 0) == 1);
    int fullHeight = store->ReadInteger(Section, "FullHeight", owner_->Height());
    owner_->SetFullHeight(fullHeight < least ? std::max(designed.Height(), least) : fullHeight);
}

bool TPanelPosition::CaptionOnScreen(int left, int top, int width, int captionHeight) const
{
    // Stored bounds are in the parent's client coordinates; a panel without one is on the desktop.
    TPoint origin{left, top};
    if (TWinControl* parent = owner_->Parent()) {
        const TPoint zero = parent->ClientToScreen({0, 0});
        origin = {zero.X + left, zero.Y + top};
    }
    return OnSomeMonitor(Bounds(origin.X, origin.Y, width, captionHeight));
}

void TAutoSize::Assign(const TPersistent& source)
{
    if (const auto* other = dynamic_cast<const TAutoSize*>(&source)) {
        SetEnabled(other->enabled_);
        Height = other->Height;
        Width = other->Width;
    }
}

void TAutoSize::SetEnabled(bool v)
{
    enabled_ = v;
    if (v)
        owner_->DoAutoSize();
}
