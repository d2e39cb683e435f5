#pragma once
// Scanning GIF data for animation frames and keeping one frame of it.
//
// A frame marker is a Graphic Control Extension of four data bytes directly followed by an
// image descriptor: 0x21 0xF9 0x04 at p, 0x2C at p + 8. Every position is tested, image data
// included, and a marker counts only when its whole descriptor lies inside the data.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TGifFrameMarker {
    size_t Position = 0;
    uint8_t Packed = 0;     // packed field of the control extension
    uint16_t Delay = 0;     // hundredths of a second
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;  // from the image descriptor
};

// At least 5 bytes, starting with exactly "GIF8".
bool IsGifData(const uint8_t* data, size_t size);
bool IsGifFrameMarker(const uint8_t* data, size_t size, size_t p);
TGifFrameMarker ReadGifFrameMarker(const uint8_t* data, size_t p);
// The number of markers.
int CountGifFrameMarkers(const uint8_t* data, size_t size);
// The k-th marker (1-based); false when there is none.
bool FindGifFrameMarker(const uint8_t* data, size_t size, int k, TGifFrameMarker& marker);
// The logical screen size; false when the 13-byte header is not all there.
bool ReadGifScreenSize(const uint8_t* data, size_t size, uint16_t& width, uint16_t& height);

// The data with earlier frames left out: everything up to the first marker, then everything
// from the frame-th marker on. Frames 0 and 1 keep everything. When the frame-th marker exists,
// its descriptor is stored in selected and found is set.
std::vector<uint8_t> SelectGifFrame(const uint8_t* data, size_t size, int frame, TGifFrameMarker& selected, bool& found);
