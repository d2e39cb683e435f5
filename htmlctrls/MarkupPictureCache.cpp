#include "MarkupPictureCache.h"

TMarkupPicture* TMarkupPictureCache::FindPicture(const String& address) const
{
    for (const auto& picture : pictures_)
        if (picture->URL() == address)
            return picture.get();
    return nullptr;
}

TMarkupPicture* TMarkupPictureCache::AddPicture()
{
    pictures_.push_back(std::make_unique<TMarkupPicture>());
    return pictures_.back().get();
}

bool TMarkupPictureCache::AnimatePictures()
{
    bool any = false;
    for (const auto& picture : pictures_)
        any = picture->AnimateStep() || any;
    return any;
}

TMarkupImage* TMarkupPictureCache::FindImage(const String& source)
{
    TMarkupPicture* picture = FindPicture(source);
    if (picture)
        return picture;
    picture = AddPicture();
    picture->Async = false;
    try {
        picture->LoadFromURL(source);
    } catch (const std::exception&) {
        // Data the loader cannot read: the picture stays, and shows nothing.
    }
    return picture;
}
