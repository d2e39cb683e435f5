#pragma once
// What a picture file may cost before it is decoded: its size on disk and its pixel count,
// both checked from the file's first bytes so that a hostile file is refused before memory is
// spent on it.
#include "SysUtils.h"

#include <cstdint>

// As for GIF: 64 megapixels, 192 MB as a 24-bit bitmap.
constexpr int64_t kMaxPicturePixels = 64LL * 1024 * 1024;
constexpr uint64_t kMaxPictureFileSize = 256ULL * 1024 * 1024;
// Enough to reach the frame header behind the usual metadata blocks.
constexpr size_t kPictureHeaderSize = 256 * 1024;

// Raises EInvalidGraphic naming the kind and the size when the picture has more pixels than
// kMaxPicturePixels.
void CheckPicturePixels(const char* kind, int64_t width, int64_t height);

// The frame size a JPEG stream's first bytes declare; false when they hold no frame header.
bool JpegFrameSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height);
// The size a Windows bitmap file's header declares (height without its sign); false when the
// bytes are not one.
bool BmpFrameSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height);
