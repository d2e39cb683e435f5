#pragma once
// The pictures an HTML control's mark-up names by address, found again by that address.
#include "MarkupPicture.h"

#include <memory>
#include <vector>

// Owns its pictures: they live as long as the cache.
class TMarkupPictureCache : public TMarkupImageSource {
public:
    TMarkupPictureCache() = default;
    TMarkupPictureCache(const TMarkupPictureCache&) = delete;
    TMarkupPictureCache& operator=(const TMarkupPictureCache&) = delete;

    // The first picture loaded from exactly this address (case counts), or nullptr.
    TMarkupPicture* FindPicture(const String& address) const;
    TMarkupPicture* AddPicture();
    // One animation tick for every picture; true when any of them shows another frame.
    bool AnimatePictures();
    int Count() const { return static_cast<int>(pictures_.size()); }
    TMarkupPicture* Items(int index) const { return pictures_.at(index).get(); }
    void Clear() { pictures_.clear(); }

    // The renderer's lookup: an address not seen yet gets a picture loaded at once.
    TMarkupImage* FindImage(const String& source) override;

private:
    std::vector<std::unique_ptr<TMarkupPicture>> pictures_;
};
