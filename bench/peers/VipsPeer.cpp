// libvips' reduce: the separable convolution alone, without the box shrink its resize puts
// first for large factors.
#include "ResamplePeers.h"

#include <vips/vips.h>

#include <stdexcept>
#include <vector>

namespace {

struct Kernel {
    VipsKernel kernel;
    const char* name;
};

// Box, Triangle, Hermite, Bell, B-Spline, Lanczos3, Mitchell: libvips has no Hermite, Bell or
// B-spline; they take the kernel of the same or a shorter reach.
const Kernel kKernels[] = {{VIPS_KERNEL_NEAREST, "nearest"}, {VIPS_KERNEL_LINEAR, "linear"},
                           {VIPS_KERNEL_LINEAR, "linear"},   {VIPS_KERNEL_LINEAR, "linear"},
                           {VIPS_KERNEL_CUBIC, "cubic"},     {VIPS_KERNEL_LANCZOS3, "lanczos3"},
                           {VIPS_KERNEL_MITCHELL, "mitchell"}};

class TVipsPeer : public TResamplePeer {
public:
    TVipsPeer(const uint8_t* pixels, int width, int height)
        : pixels_(pixels, pixels + static_cast<size_t>(3) * width * height), width_(width), height_(height)
    {
        static const bool started = [] {
            if (VIPS_INIT("bench"))
                throw std::runtime_error("libvips does not start");
            vips_cache_set_max(0);  // every call computes afresh
            return true;
        }();
        (void)started;
    }

    void Resample(int filter, int width, int height, int threads) override
    {
        vips_concurrency_set(threads);
        VipsImage* in = vips_image_new_from_memory(pixels_.data(), pixels_.size(), width_, height_, 3, VIPS_FORMAT_UCHAR);
        VipsImage* out = nullptr;
        if (vips_reduce(in, &out, static_cast<double>(width_) / width, static_cast<double>(height_) / height, "kernel",
                        kKernels[filter].kernel, "gap", 0.0, nullptr))
            throw std::runtime_error(vips_error_buffer());
        size_t size = 0;
        void* result = vips_image_write_to_memory(out, &size);
        if (!result || size != static_cast<size_t>(3) * width * height)
            throw std::runtime_error("libvips made another size");
        g_free(result);
        g_object_unref(out);
        g_object_unref(in);
    }

    const char* Kernel(int filter) const override { return kKernels[filter].name; }

private:
    std::vector<uint8_t> pixels_;
    int width_, height_;
};

}  // namespace

std::unique_ptr<TResamplePeer> NewVipsPeer(const uint8_t* pixels, int width, int height)
{
    return std::make_unique<TVipsPeer>(pixels, width, height);
}
