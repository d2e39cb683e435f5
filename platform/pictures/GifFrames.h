#pragma once
// Finding the frames of GIF data and keeping one frame of it.
//
// The data is walked block by block: the header and its colour table, then extensions (each a
// run of sub-blocks) and images (a descriptor, an optional colour table and the image data's
// sub-blocks) up to the trailer. Every image is a frame. A frame starts at the graphic control
// extension that applies to it, wherever other extensions stand between the two, or at its
// image descriptor when it has none. A frame counts when its descriptor lies wholly inside the
// data; the walk stops at the first block that is cut short or unknown.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TGifFrameMarker {
    size_t Position = 0;    // where the frame starts
    uint8_t Packed = 0;     // packed field of the control extension; 0 without one
    uint16_t Delay = 0;     // hundredths of a second; 0 without a control extension
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;  // from the image descriptor
};

// At least 5 bytes, starting with exactly "GIF8".
bool IsGifData(const uint8_t* data, size_t size);
// Every frame in order; none for data that is not GIF.
std::vector<TGifFrameMarker> FindGifFrames(const uint8_t* data, size_t size);
int CountGifFrameMarkers(const uint8_t* data, size_t size);
// The k-th frame (1-based); false when there is none.
bool FindGifFrameMarker(const uint8_t* data, size_t size, int k, TGifFrameMarker& marker);
// The logical screen size; false when the 13-byte header is not all there.
bool ReadGifScreenSize(const uint8_t* data, size_t size, uint16_t& width, uint16_t& height);

// The data with earlier frames left out: everything up to the first frame, then everything
// from the frame-th frame on. Frames 0 and 1 keep everything. When the frame-th frame exists,
// its descriptor is stored in selected and found is set.
std::vector<uint8_t> SelectGifFrame(const uint8_t* data, size_t size, int frame, TGifFrameMarker& selected, bool& found);
