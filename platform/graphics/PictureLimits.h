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
// Real progressive JPEGs have about ten scans; each scan costs a pass over the whole picture,
// so a small file of thousands of scans would take the decoder minutes.
constexpr int kMaxJpegScans = 300;

// Raises EInvalidGraphic naming the kind and the size when the picture has more pixels than
// kMaxPicturePixels.
void CheckPicturePixels(const char* kind, int64_t width, int64_t height);

// The frame size a JPEG stream's first bytes declare; false when they hold no frame header.
bool JpegFrameSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height);
// The size a Windows bitmap file's header declares (height without its sign); false when the
// bytes are not one.
bool BmpFrameSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height);
// The size a PNG stream's header declares; false when the bytes are not one.
bool PngFrameSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height);

// Raises as CheckPicturePixels ("Icon") for the first image of an icon file beyond the limit,
// as its own header (bitmap or PNG) declares it; images beyond the given bytes are not seen.
void CheckIconPixels(const uint8_t* data, size_t size);
// The same check for the picture a stream of bytes holds, whichever format its signature
// names (bitmap, icon, PNG, JPEG); other data passes.
void CheckPictureDataPixels(const uint8_t* data, size_t size);

// Lets Qt's image readers allocate what a picture within kMaxPicturePixels needs: their own
// limit (128 MB) would refuse bitmaps of 32 megapixels and more. Call before decoding.
void AllowPictureMemory();
