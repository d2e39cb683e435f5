// GIF frame walking, frame selection, composing and decoding on arbitrary data. The first byte picks
// the frame; the rest is the picture file.
#include "GifAnimation.h"
#include "GifFrames.h"
#include "PictureDecoding.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int frame = data[0] % 8;
    const std::vector<uint8_t> raw(data + 1, data + size);
    if (!IsGifData(raw.data(), raw.size()))
        return 0;
    const int count = CountGifFrameMarkers(raw.data(), raw.size());
    for (int k = 0; k <= count + 1 && k < 8; ++k) {
        TGifFrameMarker marker;
        if (FindGifFrameMarker(raw.data(), raw.size(), k, marker) && marker.Position + 10 > raw.size())
            __builtin_trap();
    }
    // Composing every frame, within a cap small enough for the fuzzer's memory limit.
    try {
        if (auto animation = TGifAnimation::Compose(raw.data(), raw.size(), count, 64u << 20))
            if (animation->Count() != count)
                __builtin_trap();
    } catch (const EInvalidGraphic&) {
    }
    TGifFrameInfo info;
    try {
        auto picture = DecodePictureData(raw, true, frame, info);
        if (!picture || picture->PixelWidth() <= 0)
            __builtin_trap();
    } catch (const Exception&) {
    }
    return 0;
}
