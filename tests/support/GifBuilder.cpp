#include "GifBuilder.h"

#include <algorithm>

namespace {
void Word(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

// Packs codes of varying width, low bits first.
class CodeWriter {
public:
    void Put(int code, int width)
    {
        bits_ |= static_cast<uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_ += static_cast<char>(bits_ & 0xFF);
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    std::string Done()
    {
        if (count_)
            bytes_ += static_cast<char>(bits_ & 0xFF);
        return bytes_;
    }

private:
    std::string bytes_;
    uint32_t bits_ = 0;
    int count_ = 0;
};

// LZW data of n pixels of one colour with a minimum code size of 2, as an encoder makes it:
// the strings grow by one pixel each, so a few kilobytes hold millions of pixels. The table
// starts again when it is full.
std::string Pixels(uint64_t n, uint8_t colour)
{
    constexpr int kClear = 4, kEnd = 5, kFirst = 6, kTableSize = 4096;
    CodeWriter out;
    int width = 3, next = kFirst;
    out.Put(kClear, width);
    // Code next - 1 holds the longest string so far, of length (next - kFirst) + 1.
    uint64_t left = n;
    while (left > 0) {
        const uint64_t longest = static_cast<uint64_t>(next - kFirst) + 1;
        const uint64_t take = std::min(longest, left);
        out.Put(take == 1 ? colour : static_cast<int>(take) + kFirst - 2, width);
        left -= take;
        // A reader adds each entry one code later than the writer, and widens its codes when
        // its table reaches the next power of two.
        if (next == (1 << width) && width < 12)
            ++width;
        if (left == 0)
            break;
        if (next == kTableSize) {
            out.Put(kClear, width);
            width = 3;
            next = kFirst;
            continue;
        }
        ++next;
    }
    out.Put(kEnd, width);
    const std::string bytes = out.Done();
    std::string data(1, '\x02');
    for (size_t p = 0; p < bytes.size(); p += 255) {
        std::string block = bytes.substr(p, 255);
        data += static_cast<char>(block.size());
        data += block;
    }
    data += '\0';
    return data;
}
}  // namespace

std::string MakeGif(uint16_t screenWidth, uint16_t screenHeight, const std::vector<TGifTestFrame>& frames)
{
    std::string out = "GIF89a";
    Word(out, screenWidth);
    Word(out, screenHeight);
    out += '\x81';  // global table of four colours
    out += '\0';
    out += '\0';
    out += std::string("\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x00\xFF", 12);
    for (const TGifTestFrame& f : frames) {
        out += "\x21\xF9\x04";
        out += static_cast<char>(f.Packed);
        Word(out, f.Delay);
        out += '\0';  // transparent index
        out += '\0';
        out += '\x2C';
        Word(out, f.Left);
        Word(out, f.Top);
        Word(out, f.Width);
        Word(out, f.Height);
        out += '\0';
        out += Pixels(static_cast<uint64_t>(f.Width) * f.Height, f.Colour);
    }
    out += '\x3B';
    return out;
}

std::string WithLoopExtensionInFirstFrame(const std::string& gif)
{
    // Header and the four-colour table take 25 bytes, the control extension 8.
    const std::string loop("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    return gif.substr(0, 33) + loop + gif.substr(33);
}
