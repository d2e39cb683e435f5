#include "PictureLimits.h"

#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint32_t Be32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           static_cast<uint32_t>(p[3]);
}

bool IsIcon(const uint8_t* data, size_t size)
{
    return size >= 6 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) && data[3] == 0;
}
}  // namespace

void CheckPicturePixels(const char* kind, int64_t width, int64_t height)
{
    if (width > 0 && height > 0 && width * height > kMaxPicturePixels)
        throw EInvalidGraphic(Format("%s image is too large: %lld x %lld pixels (at most %lld megapixels)", kind,
                                     static_cast<long long>(width), static_cast<long long>(height),
                                     static_cast<long long>(kMaxPicturePixels / (1024 * 1024))));
}

bool JpegFrameSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF)
            return false;
        const uint8_t marker = data[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length field
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)  // end of image, start of scan: no frame came
            return false;
        const size_t length = static_cast<size_t>(data[at + 2]) << 8 | data[at + 3];
        // Start-of-frame markers are C0 to CF except C4 (Huffman tables), C8 and CC.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (length < 7 || at + 9 > size)
                return false;
            height = static_cast<uint32_t>(data[at + 5]) << 8 | data[at + 6];
            width = static_cast<uint32_t>(data[at + 7]) << 8 | data[at + 8];
            return true;
        }
        if (length < 2)
            return false;
        at += 2 + length;
    }
    return false;
}

bool BmpFrameSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height)
{
    if (size < 26 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t headerSize = Le32(data + 14);
    if (headerSize == 12) {  // the old core header: 16-bit sizes
        width = data[18] | data[19] << 8;
        height = data[20] | data[21] << 8;
        return true;
    }
    width = std::llabs(static_cast<int32_t>(Le32(data + 18)));
    height = std::llabs(static_cast<int32_t>(Le32(data + 22)));
    return true;
}

bool PngFrameSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height)
{
    // The signature, then the header chunk's length and type, then its width and height.
    if (size < 24 || std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    width = Be32(data + 16);
    height = Be32(data + 20);
    return true;
}

void CheckIconPixels(const uint8_t* data, size_t size)
{
    if (!IsIcon(data, size))
        return;
    const size_t count = std::min<size_t>(data[4] | data[5] << 8, (size - 6) / 16);
    for (size_t i = 0; i < count; ++i) {
        const size_t offset = Le32(data + 6 + 16 * i + 12);
        if (offset >= size)
            continue;
        const uint8_t* image = data + offset;
        const size_t left = size - offset;
        int64_t width = 0, height = 0;
        if (PngFrameSize(image, left, width, height)) {
            CheckPicturePixels("Icon", width, height);
        } else if (left >= 12) {
            // A bitmap header whose height counts the colour and the mask rows together.
            width = std::llabs(static_cast<int32_t>(Le32(image + 4)));
            height = std::llabs(static_cast<int32_t>(Le32(image + 8))) / 2;
            CheckPicturePixels("Icon", width, height);
        }
    }
}

void CheckPictureDataPixels(const uint8_t* data, size_t size)
{
    int64_t width = 0, height = 0;
    uint32_t jpegWidth = 0, jpegHeight = 0;
    if (BmpFrameSize(data, size, width, height))
        CheckPicturePixels("Bitmap", width, height);
    else if (PngFrameSize(data, size, width, height))
        CheckPicturePixels("PNG", width, height);
    else if (JpegFrameSize(data, size, jpegWidth, jpegHeight))
        CheckPicturePixels("JPEG", jpegWidth, jpegHeight);
    else
        CheckIconPixels(data, size);
}

void AllowPictureMemory()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Four bytes a pixel, as the readers widen 24-bit bitmaps, and some room for their rows.
        constexpr int64_t needed = kMaxPicturePixels * 4 / (1024 * 1024) + 16;
        QImageReader::setAllocationLimit(static_cast<int>(std::max<int64_t>(QImageReader::allocationLimit(), needed)));
    });
}
