#include "PictureLimits.h"

#include <cstdlib>

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
    auto u32 = [data](size_t at) {
        return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
               static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
    };
    const uint32_t headerSize = u32(14);
    if (headerSize == 12) {  // the old core header: 16-bit sizes
        width = data[18] | data[19] << 8;
        height = data[20] | data[21] << 8;
        return true;
    }
    width = std::llabs(static_cast<int32_t>(u32(18)));
    height = std::llabs(static_cast<int32_t>(u32(22)));
    return true;
}
