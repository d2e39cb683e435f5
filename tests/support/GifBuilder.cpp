#include "GifBuilder.h"

namespace {
void Word(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

// LZW data of n pixels of one colour with a minimum code size of 2. A clear code before every
// pair keeps the codes 3 bits wide.
std::string Pixels(size_t n, uint8_t colour)
{
    std::vector<int> codes;
    for (size_t i = 0; i < n; i += 2) {
        codes.push_back(4);
        codes.push_back(colour);
        if (i + 1 < n)
            codes.push_back(colour);
    }
    codes.push_back(5);
    std::string bytes;
    unsigned bits = 0, count = 0;
    for (int c : codes) {
        bits |= static_cast<unsigned>(c) << count;
        count += 3;
        while (count >= 8) {
            bytes += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    if (count)
        bytes += static_cast<char>(bits & 0xFF);
    std::string out(1, '\x02');
    for (size_t p = 0; p < bytes.size(); p += 255) {
        std::string block = bytes.substr(p, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    return out;
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
        out += Pixels(static_cast<size_t>(f.Width) * f.Height, f.Colour);
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
