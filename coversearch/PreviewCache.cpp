#include "PreviewCache.h"

#include <algorithm>

namespace {
size_t PictureBytes(const TOlePicture* picture)
{
    return picture ? static_cast<size_t>(picture->PixelWidth()) * static_cast<size_t>(picture->PixelHeight()) * 4 : 0;
}

// What the content holds in memory: its bytes, its first picture and its composed frames.
size_t ContentBytes(const TWebPictureContent& content)
{
    // The first picture of an animation is its first frame.
    if (content.Animation)
        return content.Raw.size() +
               PictureBytes(content.Animation->Picture(1).get()) * static_cast<size_t>(content.Animation->Count());
    return content.Raw.size() + PictureBytes(content.First.get());
}
}  // namespace

std::shared_ptr<const TWebPictureContent> TPreviewCache::Find(const String& address)
{
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
        if (it->Address == address) {
            entries_.splice(entries_.begin(), entries_, it);
            return entries_.front().Content;
        }
    return nullptr;
}

bool TPreviewCache::Contains(const String& address) const
{
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.Address == address; });
}

void TPreviewCache::Keep(const String& address, std::shared_ptr<const TWebPictureContent> content)
{
    if (!content || !content->First)
        return;
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
        if (it->Address == address) {
            bytes_ -= it->Bytes;
            entries_.erase(it);
            break;
        }
    const size_t bytes = ContentBytes(*content);
    if (bytes > kMaxBytes)
        return;
    entries_.push_front(Entry{address, std::move(content), bytes});
    bytes_ += bytes;
    while (entries_.size() > kMaxEntries || bytes_ > kMaxBytes) {
        bytes_ -= entries_.back().Bytes;
        entries_.pop_back();
    }
}
