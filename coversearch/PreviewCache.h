#pragma once
// The last few pictures shown, by address, as they were read: showing one again needs neither
// a download nor decoding. Bounded by count and by the memory the pictures take.
#include "WebImage.h"

#include <list>
#include <utility>

class TPreviewCache {
public:
    static constexpr size_t kMaxEntries = 6;
    static constexpr size_t kMaxBytes = 384u << 20;

    // Null when the address is not kept; a found one becomes the most recent.
    std::shared_ptr<const TWebPictureContent> Find(const String& address);
    bool Contains(const String& address) const;
    // Keeps the content under the address, forgetting the oldest beyond the bounds. Content
    // larger than the whole budget is not kept.
    void Keep(const String& address, std::shared_ptr<const TWebPictureContent> content);
    size_t Count() const { return entries_.size(); }

private:
    struct Entry {
        String Address;
        std::shared_ptr<const TWebPictureContent> Content;
        size_t Bytes;
    };
    std::list<Entry> entries_;  // most recent first
    size_t bytes_ = 0;
};
