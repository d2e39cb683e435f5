#include "PictureDecoding.h"

#include "GifFrames.h"

#include <new>

std::unique_ptr<TOlePicture> DecodePictureData(const std::vector<uint8_t>& raw, bool selectGifFrame, int frame,
                                               TGifFrameInfo& info)
{
    info.FrameLeft = info.FrameTop = info.ScreenWidth = info.ScreenHeight = 0;
    std::vector<uint8_t> block;
    try {
        if (selectGifFrame && IsGifData(raw.data(), raw.size()) && CountGifFrameMarkers(raw.data(), raw.size()) >= 1) {
            ReadGifScreenSize(raw.data(), raw.size(), info.ScreenWidth, info.ScreenHeight);
            TGifFrameMarker marker;
            bool found = false;
            block = SelectGifFrame(raw.data(), raw.size(), frame, marker, found);
            if (found) {
                info.FrameLeft = marker.Left;
                info.FrameTop = marker.Top;
                info.FrameWidth = marker.Width;
                info.FrameHeight = marker.Height;
            }
        } else {
            block = raw;
        }
    } catch (const std::bad_alloc&) {
        throw Exception("Could not allocate memory for image");
    }
    std::unique_ptr<TMemoryStream> stream;
    try {
        stream = std::make_unique<TMemoryStream>();
        stream->Data() = std::move(block);
    } catch (const std::bad_alloc&) {
        throw Exception("Could not create image stream");
    }
    // The loader reads the bytes kept after frame selection, not the raw data's length.
    std::unique_ptr<TOlePicture> picture;
    switch (OleLoadPicture(*stream, static_cast<int64_t>(stream->Data().size()), picture)) {
    case TOleLoadResult::Loaded:
        return picture;
    case TOleLoadResult::NoPicture:
        throw Exception("Could not load image");
    case TOleLoadResult::InvalidFormat:
        break;
    }
    throw Exception("Could not load image. Invalid format");
}
