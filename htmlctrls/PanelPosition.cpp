#include "PanelPosition.h"

#include "MarkupPanel.h"
#include "PanelPositionStore.h"

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
    owner_->SetTop(store->ReadInteger(Section, "Top", owner_->Top()));
    owner_->SetLeft(store->ReadInteger(Section, "Left", owner_->Left()));
    owner_->SetHeight(store->ReadInteger(Section, "Height", owner_->Height()));
    owner_->SetWidth(store->ReadInteger(Section, "Width", owner_->Width()));
    owner_->SetCollaps(store->ReadInteger(Section, "Collaps", 0) == 1);
    owner_->SetFullHeight(store->ReadInteger(Section, "FullHeight", owner_->Height()));
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
