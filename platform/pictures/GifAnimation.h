#pragma once
// The frames of an animated GIF, each composed onto the logical screen as it shows after that
// frame (disposal methods applied), decoded once so that stepping the animation decodes nothing.
#include "OlePicture.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TGifAnimation {
public:
    // Null when the frames' pictures would take more than maxBytes, or when not all of the
    // frameCount frames decode: such a GIF is not animated. The size is checked before
    // anything is decoded. Frames are decoded only while their own pixels, all together, stay
    // within maxBytes / 4; a GIF whose frames go beyond raises EInvalidGraphic naming the limit.
    static std::shared_ptr<const TGifAnimation> Compose(const uint8_t* data, size_t size, int frameCount,
                                                        size_t maxBytes);

    int Count() const { return static_cast<int>(frames_.size()); }
    // The k-th frame (1-based) as shown.
    std::shared_ptr<const TOlePicture> Picture(int k) const { return frames_.at(static_cast<size_t>(k - 1)); }

private:
    std::vector<std::shared_ptr<const TOlePicture>> frames_;
};
