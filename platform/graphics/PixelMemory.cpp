#include "PixelMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sys/mman.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define POISON(address, length) ASAN_POISON_MEMORY_REGION(address, length)
#define UNPOISON(address, length) ASAN_UNPOISON_MEMORY_REGION(address, length)
#else
#define POISON(address, length) ((void)(address), (void)(length))
#define UNPOISON(address, length) ((void)(address), (void)(length))
#endif

namespace {
constexpr size_t kHugePage = 2u << 20;
constexpr size_t kLarge = 4 * kHugePage;
// The pool holds a handful of pictures' worth: enough for a source, its result and a work
// bitmap of a 48-megapixel photograph, little beside what the program just had in use.
constexpr size_t kPoolBuffers = 4;
constexpr size_t kPoolBytes = 512u << 20;

struct Mapping {
    void* address;
    size_t length;
};

// Freed large mappings, most recently freed last. Their memory is poisoned for the address
// sanitizer while it waits, so a picture still read after it was freed is caught.
class Pool {
public:
    // A kept mapping of at least length bytes and not much more, else none.
    Mapping Take(size_t length)
    {
        std::lock_guard lock(mutex_);
        auto best = kept_.end();
        for (auto it = kept_.begin(); it != kept_.end(); ++it)
            if (it->length >= length && it->length - length <= length / 4 && (best == kept_.end() || it->length < best->length))
                best = it;
        if (best == kept_.end())
            return {nullptr, 0};
        const Mapping m = *best;
        kept_.erase(best);
        bytes_ -= m.length;
        UNPOISON(m.address, m.length);
        return m;
    }

    // Keeps the mapping, unmapping the oldest kept ones beyond the cap.
    void Give(Mapping m)
    {
        std::vector<Mapping> drop;
        {
            std::lock_guard lock(mutex_);
            POISON(m.address, m.length);
            kept_.push_back(m);
            bytes_ += m.length;
            while (kept_.size() > kPoolBuffers || bytes_ > kPoolBytes) {
                drop.push_back(kept_.front());
                bytes_ -= kept_.front().length;
                kept_.erase(kept_.begin());
            }
        }
        for (const Mapping& d : drop) {
            UNPOISON(d.address, d.length);
            ::munmap(d.address, d.length);
        }
    }

    TPixelPoolState State()
    {
        std::lock_guard lock(mutex_);
        return {kept_.size(), bytes_};
    }

private:
    std::mutex mutex_;
    std::vector<Mapping> kept_;
    size_t bytes_ = 0;
};

Pool& ThePool()
{
    // Never destroyed: images freed while the program ends still return their memory here.
    static Pool* pool = new Pool;
    return *pool;
}

void GiveBack(void* info)
{
    auto* m = static_cast<Mapping*>(info);
    ThePool().Give(*m);
    delete m;
}

// Zeroes each row's bytes after its pixels: no one writes them, yet they are saved with a bitmap.
void ClearPadding(uchar* bits, int width, int height, int depth, qsizetype bytesPerLine)
{
    const size_t used = (static_cast<size_t>(width) * depth + 7) / 8;
    if (used < static_cast<size_t>(bytesPerLine))
        for (int y = 0; y < height; ++y)
            std::memset(bits + y * bytesPerLine + used, 0, bytesPerLine - used);
}

QImage NewImage(int width, int height, QImage::Format format, bool zeroed)
{
    if (width <= 0 || height <= 0)
        return QImage();
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qsizetype bytesPerLine = ((static_cast<qsizetype>(width) * depth + 31) / 32) * 4;
    const size_t size = static_cast<size_t>(bytesPerLine) * static_cast<size_t>(height);
    if (size < kLarge) {
        void* bits = zeroed ? std::calloc(size, 1) : std::malloc(size);
        if (!bits)
            return QImage();
        if (!zeroed)
            ClearPadding(static_cast<uchar*>(bits), width, height, depth, bytesPerLine);
        return QImage(static_cast<uchar*>(bits), width, height, bytesPerLine, format, std::free, bits);
    }
    const size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
    Mapping m = ThePool().Take(length);
    if (m.address) {
        // Reused memory holds the last picture: cleared where the new one must start black,
        // else only in the row padding.
        if (zeroed)
            std::memset(m.address, 0, size);
        else
            ClearPadding(static_cast<uchar*>(m.address), width, height, depth, bytesPerLine);
    } else {
        // Fresh anonymous memory is zero; the kernel clears each huge page as it is first touched.
        void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (address == MAP_FAILED)
            return QImage();
        ::madvise(address, length, MADV_HUGEPAGE);
        m = {address, length};
    }
    return QImage(static_cast<uchar*>(m.address), width, height, bytesPerLine, format, GiveBack, new Mapping(m));
}
}  // namespace

QImage NewZeroedImage(int width, int height, QImage::Format format) { return NewImage(width, height, format, true); }

QImage NewUnclearedImage(int width, int height, QImage::Format format) { return NewImage(width, height, format, false); }

// Each pixel is one 4-byte move with its top byte set: the fourth byte read is the next pixel's
// first, except for the last pixel of a row, which is read as its 3 bytes.
QImage WidenToRgb32(const QImage& bgr)
{
    QImage wide = NewUnclearedImage(bgr.width(), bgr.height(), QImage::Format_RGB32);
    if (wide.isNull())
        return bgr;
    const int w = bgr.width();
    for (int y = 0; y < bgr.height(); ++y) {
        const uchar* in = bgr.constScanLine(y);
        auto* out = reinterpret_cast<uint32_t*>(wide.scanLine(y));
        for (int x = 0; x < w; ++x, in += 3) {
            uint32_t v = 0;
            std::memcpy(&v, in, x + 1 < w ? 4 : 3);
            out[x] = v | 0xFF000000u;
        }
    }
    return wide;
}

TPixelPoolState PixelPoolState() { return ThePool().State(); }
