// ImageMagick's resize through its core library, on the picture already in its own form.
#include "ResamplePeers.h"

#include <magick/MagickCore.h>

#include <stdexcept>

namespace {

struct Kernel {
    FilterTypes filter;
    const char* name;
};

// Box, Triangle, Hermite, Bell (its quadratic B-spline), B-Spline, Lanczos3, Mitchell.
const Kernel kKernels[] = {{BoxFilter, "Box"},         {TriangleFilter, "Triangle"}, {HermiteFilter, "Hermite"},
                           {QuadraticFilter, "Quadratic"}, {SplineFilter, "Spline"}, {LanczosFilter, "Lanczos"},
                           {MitchellFilter, "Mitchell"}};

class TMagickPeer : public TResamplePeer {
public:
    TMagickPeer(const uint8_t* pixels, int width, int height)
    {
        static const bool started = [] {
            MagickCoreGenesis("bench", MagickFalse);
            return true;
        }();
        (void)started;
        exception_ = AcquireExceptionInfo();
        image_ = ConstituteImage(width, height, "BGR", CharPixel, pixels, exception_);
        if (!image_ || GetImagePixelCacheType(image_) != MemoryCache)
            throw std::runtime_error("ImageMagick does not hold the picture in memory");
    }
    ~TMagickPeer() override
    {
        DestroyImage(image_);
        DestroyExceptionInfo(exception_);
    }

    void Resample(int filter, int width, int height, int threads) override
    {
        SetMagickResourceLimit(ThreadResource, static_cast<MagickSizeType>(threads));
        Image* out = ResizeImage(image_, width, height, kKernels[filter].filter, 1.0, exception_);
        // A result spilled to disk (past the resource policy's memory) would time the disk.
        if (!out || GetImagePixelCacheType(out) != MemoryCache)
            throw std::runtime_error("ImageMagick does not resize in memory");
        DestroyImage(out);
    }

    const char* Kernel(int filter) const override { return kKernels[filter].name; }

private:
    ExceptionInfo* exception_ = nullptr;
    Image* image_ = nullptr;
};

}  // namespace

std::unique_ptr<TResamplePeer> NewMagickPeer(const uint8_t* pixels, int width, int height)
{
    return std::make_unique<TMagickPeer>(pixels, width, height);
}
