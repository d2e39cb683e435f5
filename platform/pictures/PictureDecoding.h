#pragma once
// Turns a picture file's bytes into a picture through the picture loader, choosing one frame of
// an animated GIF on the way. Shared by the graphics that keep raw picture bytes.
#include "OlePicture.h"

#include <memory>
#include <vector>

// Where the chosen GIF frame sits, and the GIF's logical screen.
struct TGifFrameInfo {
    uint16_t FrameLeft = 0, FrameTop = 0, FrameWidth = 0, FrameHeight = 0;
    uint16_t ScreenWidth = 0, ScreenHeight = 0;
};

// Decodes raw. With selectGifFrame, GIF data with at least one frame marker is decoded from
// its header followed by the frame-th frame on (0 and 1: from the first); info's frame left,
// top and screen size are reset first and the frame's descriptor is taken when that marker
// exists. Failures raise Exception with the loader's messages:
// "Could not allocate memory for image", "Could not create image stream",
// "Could not load image. Invalid format", "Could not load image".
std::unique_ptr<TOlePicture> DecodePictureData(const std::vector<uint8_t>& raw, bool selectGifFrame, int frame,
                                               TGifFrameInfo& info);
