#include "GifFrames.h"

#include <cstring>

namespace {
constexpr uint8_t kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B;
constexpr uint8_t kControlLabel = 0xF9, kPlainTextLabel = 0x01;
constexpr size_t kHeaderSize = 13, kDescriptorSize = 10;

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Bytes of the colour table a packed field announces.
size_t ColourTableSize(uint8_t packed) { return (packed & 0x80) ? 3u << ((packed & 7) + 1) : 0; }

// The position after the run of sub-blocks starting at p; 0 when the run is cut short.
size_t SkipSubBlocks(const uint8_t* data, size_t size, size_t p)
{
    while (p < size) {
        const size_t length = data[p];
        ++p;
        if (length == 0)
            return p;
        p += length;
    }
    return 0;
}
}  // namespace

bool IsGifData(const uint8_t* data, size_t size)
{
    return size >= 5 && std::memcmp(data, "GIF8", 4) == 0;
}

std::vector<TGifFrameMarker> FindGifFrames(const uint8_t* data, size_t size)
{
    std::vector<TGifFrameMarker> frames;
    if (!IsGifData(data, size) || size < kHeaderSize)
        return frames;
    size_t p = kHeaderSize + ColourTableSize(data[10]);
    bool control = false;  // a control extension waits for its image
    TGifFrameMarker pending;
    while (p < size && data[p] != kTrailer) {
        if (data[p] == kExtension) {
            if (p + 2 > size)
                break;
            const uint8_t label = data[p + 1];
            if (label == kControlLabel && p + 7 < size && data[p + 2] >= 4) {
                pending = TGifFrameMarker{};
                pending.Position = p;
                pending.Packed = data[p + 3];
                pending.Delay = Word(data + p + 4);
                control = true;
            } else if (label == kPlainTextLabel) {
                control = false;  // the control extension was the text's
            }
            const size_t next = SkipSubBlocks(data, size, p + 2);
            if (next == 0)
                break;
            p = next;
        } else if (data[p] == kImage) {
            if (p + kDescriptorSize > size)
                break;
            TGifFrameMarker frame = control ? pending : TGifFrameMarker{};
            if (!control)
                frame.Position = p;
            frame.Left = Word(data + p + 1);
            frame.Top = Word(data + p + 3);
            frame.Width = Word(data + p + 5);
            frame.Height = Word(data + p + 7);
            frames.push_back(frame);
            control = false;
            // The table, the code size byte, then the image data.
            const size_t codeSize = p + kDescriptorSize + ColourTableSize(data[p + 9]);
            const size_t next = codeSize < size ? SkipSubBlocks(data, size, codeSize + 1) : 0;
            if (next == 0)
                break;
            p = next;
        } else {
            break;
        }
    }
    return frames;
}

int CountGifFrameMarkers(const uint8_t* data, size_t size)
{
    return static_cast<int>(FindGifFrames(data, size).size());
}

bool FindGifFrameMarker(const uint8_t* data, size_t size, int k, TGifFrameMarker& marker)
{
    const std::vector<TGifFrameMarker> frames = FindGifFrames(data, size);
    if (k < 1 || k > static_cast<int>(frames.size()))
        return false;
    marker = frames[static_cast<size_t>(k - 1)];
    return true;
}

bool ReadGifScreenSize(const uint8_t* data, size_t size, uint16_t& width, uint16_t& height)
{
    if (size < kHeaderSize)
        return false;
    width = Word(data + 6);
    height = Word(data + 8);
    return true;
}

std::vector<uint8_t> SelectGifFrame(const uint8_t* data, size_t size, int frame, TGifFrameMarker& selected, bool& found)
{
    found = false;
    const std::vector<TGifFrameMarker> frames = FindGifFrames(data, size);
    if (frame == 1 && !frames.empty()) {
        selected = frames.front();
        found = true;
    }
    if (frames.empty() || frame <= 1)
        return std::vector<uint8_t>(data, data + size);
    if (frame > static_cast<int>(frames.size()))
        return std::vector<uint8_t>(data, data + frames.front().Position);
    selected = frames[static_cast<size_t>(frame - 1)];
    found = true;
    std::vector<uint8_t> out(data, data + frames.front().Position);
    out.insert(out.end(), data + selected.Position, data + size);
    return out;
}
