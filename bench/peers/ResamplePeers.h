#pragma once
// The resampling peers a user would pick instead, called in this process: libvips and
// ImageMagick. Each holds its own copy of the picture in its own form, made once, so that only
// the resampling is timed.
#include <cstdint>
#include <memory>

class TResamplePeer {
public:
    virtual ~TResamplePeer() = default;
    // Resamples the picture to width x height, on the given threads, with the peer's kernel for
    // our filter of that index (ResampleFilters); the result is dropped.
    virtual void Resample(int filter, int width, int height, int threads) = 0;
    // The peer's kernel for our filter of that index: the same filter where the peer has it,
    // else one reaching no further (never more work than ours).
    virtual const char* Kernel(int filter) const = 0;
};

// The picture: width x height pixels of blue, green, red bytes, rows without padding.
std::unique_ptr<TResamplePeer> NewVipsPeer(const uint8_t* pixels, int width, int height);
std::unique_ptr<TResamplePeer> NewMagickPeer(const uint8_t* pixels, int width, int height);
