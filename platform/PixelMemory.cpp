#include "PixelMemory.h"

#include <cstdlib>
#include <sys/mman.h>

namespace {
constexpr size_t kHugePage = 2u << 20;
constexpr size_t kLarge = 4 * kHugePage;

struct Mapping {
    void* address;
    size_t length;
};

void Unmap(void* info)
{
    auto* m = static_cast<Mapping*>(info);
    ::munmap(m->address, m->length);
    delete m;
}
}  // namespace

QImage NewZeroedImage(int width, int height, QImage::Format format)
{
    if (width <= 0 || height <= 0)
        return QImage();
    int depth = QImage::toPixelFormat(format).bitsPerPixel();
    qsizetype bytesPerLine = ((static_cast<qsizetype>(width) * depth + 31) / 32) * 4;
    size_t size = static_cast<size_t>(bytesPerLine) * static_cast<size_t>(height);
    if (size >= kLarge) {
        // Fresh anonymous memory is zero; the kernel clears each huge page as it is first touched.
        size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
        void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (address == MAP_FAILED)
            return QImage();
        ::madvise(address, length, MADV_HUGEPAGE);
        return QImage(static_cast<uchar*>(address), width, height, bytesPerLine, format, Unmap,
                      new Mapping{address, length});
    }
    void* bits = std::calloc(size, 1);
    if (!bits)
        return QImage();
    return QImage(static_cast<uchar*>(bits), width, height, bytesPerLine, format, std::free, bits);
}
