#include "PictureStore.h"

TPictureItem::TPictureItem(TPictureCollection* collection)
    : collection_(collection), picture_(std::make_unique<TMarkupPicture>())
{
}

void TPictureItem::Assign(const TPersistent& source)
{
    auto* item = dynamic_cast<const TPictureItem*>(&source);
    if (!item)
        return TPersistent::Assign(source);
    if (item == this)
        return;
    Name = item->Name;
    Tag = item->Tag;
    picture_->Assign(*item->picture_);
}

TPictureItem* TPictureCollection::Add()
{
    items_.push_back(std::make_unique<TPictureItem>(this));
    return items_.back().get();
}

TPictureItem* TPictureCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return items_[index].get();
}

void TPictureCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    items_.erase(items_.begin() + index);
}

void TPictureCollection::Assign(const TPersistent& source)
{
    auto* other = dynamic_cast<const TPictureCollection*>(&source);
    if (!other)
        return TPersistent::Assign(source);
    if (other == this)
        return;
    std::vector<std::unique_ptr<TPictureItem>> copies;
    for (const auto& item : other->items_) {
        copies.push_back(std::make_unique<TPictureItem>(this));
        copies.back()->Assign(*item);
    }
    items_ = std::move(copies);
}

bool TPictureCollection::AnimatePictures()
{
    bool any = false;
    for (const auto& item : items_)
        any = item->Picture().AnimateStep() || any;
    return any;
}

TPictureStore::TPictureStore(TComponent* owner) : TComponent(owner), items_(this) {}

TMarkupPicture* TPictureStore::FindPicture(const String& name)
{
    String wanted = UpperCase(name);
    for (int i = 0; i < items_.Count(); ++i)
        if (UpperCase(items_.Items(i)->Name) == wanted)
            return &items_.Items(i)->Picture();
    return nullptr;
}
