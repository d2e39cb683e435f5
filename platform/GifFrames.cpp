#include "GifFrames.h"

#include <cstring>

namespace {
uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace

bool IsGifData(const uint8_t* data, size_t size)
{
    return size >= 5 && std::memcmp(data, "GIF8", 4) == 0;
}

bool IsGifFrameMarker(const uint8_t* data, size_t size, size_t p)
{
    return p + 17 <= size && data[p] == 0x21 && data[p + 1] == 0xF9 && data[p + 2] == 0x04 && data[p + 8] == 0x2C;
}

TGifFrameMarker ReadGifFrameMarker(const uint8_t* data, size_t p)
{
    TGifFrameMarker m;
    m.Position = p;
    m.Packed = data[p + 3];
    m.Delay = Word(data + p + 4);
    m.Left = Word(data + p + 9);
    m.Top = Word(data + p + 11);
    m.Width = Word(data + p + 13);
    m.Height = Word(data + p + 15);
    return m;
}

int CountGifFrameMarkers(const uint8_t* data, size_t size)
{
    int n = 0;
    for (size_t p = 0; p + 17 <= size; ++p)
        if (IsGifFrameMarker(data, size, p))
            ++n;
    return n;
}

bool FindGifFrameMarker(const uint8_t* data, size_t size, int k, TGifFrameMarker& marker)
{
    if (k < 1)
        return false;
    int n = 0;
    for (size_t p = 0; p + 17 <= size; ++p)
        if (IsGifFrameMarker(data, size, p) && ++n == k) {
            marker = ReadGifFrameMarker(data, p);
            return true;
        }
    return false;
}

bool ReadGifScreenSize(const uint8_t* data, size_t size, uint16_t& width, uint16_t& height)
{
    if (size < 13)
        return false;
    width = Word(data + 6);
    height = Word(data + 8);
    return true;
}

std::vector<uint8_t> SelectGifFrame(const uint8_t* data, size_t size, int frame, TGifFrameMarker& selected, bool& found)
{
    found = false;
    std::vector<uint8_t> out;
    out.reserve(size);
    int n = 1;
    bool skip = false;
    for (size_t p = 0; p < size; ++p) {
        if (IsGifFrameMarker(data, size, p)) {
            if (n == frame) {
                selected = ReadGifFrameMarker(data, p);
                found = true;
            }
            ++n;
            skip = frame >= n;
        }
        if (!skip)
            out.push_back(data[p]);
    }
    return out;
}
