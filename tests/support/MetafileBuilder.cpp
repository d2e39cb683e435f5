#include "MetafileBuilder.h"

#include <algorithm>
#include <cstring>

namespace {
struct Writer {
    std::vector<uint8_t> bytes;
    void U16(int v)
    {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(int(v & 0xFFFF));
        U16(int(v >> 16));
    }
    void Append(const std::vector<uint8_t>& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
};

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;  // colour references: red in the low byte
}  // namespace

std::vector<uint8_t> WmfFile(const std::vector<WmfRecord>& records, std::optional<WmfFrame> frame, int objects)
{
    Writer body;
    size_t largest = 3;
    auto record = [&](int function, const std::vector<int>& words) {
        body.U32(uint32_t(3 + words.size()));
        body.U16(function);
        for (int v : words)
            body.U16(v);
        largest = std::max(largest, 3 + words.size());
    };
    for (const WmfRecord& r : records)
        record(r.Function, r.Words);
    record(0, {});  // EOF

    Writer file;
    if (frame) {
        Writer head;
        head.U32(0x9AC6CDD7);
        head.U16(0);
        for (int v : {frame->Left, frame->Top, frame->Right, frame->Bottom, frame->UnitsPerInch})
            head.U16(v);
        head.U32(0);
        int checksum = 0;
        for (size_t i = 0; i < head.bytes.size(); i += 2)
            checksum ^= head.bytes[i] | head.bytes[i + 1] << 8;
        head.U16(checksum);
        file.Append(head.bytes);
    }
    file.U16(1);  // on disk
    file.U16(9);
    file.U16(0x0300);
    file.U32(uint32_t(9 + body.bytes.size() / 2));
    file.U16(objects);
    file.U32(uint32_t(largest));
    file.U16(0);
    file.Append(body.bytes);
    return file.bytes;
}

std::vector<uint8_t> EmfFile(const std::vector<EmfRecord>& records, int width, int height)
{
    Writer body;
    int count = 1;
    auto record = [&](uint32_t type, const std::vector<uint32_t>& fields) {
        body.U32(type);
        body.U32(uint32_t(8 + 4 * fields.size()));
        for (uint32_t v : fields)
            body.U32(v);
        ++count;
    };
    for (const EmfRecord& r : records)
        record(r.Type, r.Fields);
    record(14, {0, 16, 20});  // EOF

    Writer file;
    file.U32(1);
    file.U32(88);
    for (int v : {0, 0, width - 1, height - 1})  // bounds, device pixels, inclusive
        file.U32(uint32_t(v));
    for (int v : {0, 0, width * 2540 / 96, height * 2540 / 96})  // frame, hundredths of a millimetre
        file.U32(uint32_t(v));
    file.U32(0x464D4520);
    file.U32(0x10000);
    file.U32(uint32_t(88 + body.bytes.size()));
    file.U32(uint32_t(count));
    file.U16(16);  // handles
    file.U16(0);
    file.U32(0);
    file.U32(0);
    file.U32(0);
    file.U32(960);  // reference device: 960 x 960 pixels on 254 x 254 millimetres (96 per inch)
    file.U32(960);
    file.U32(254);
    file.U32(254);
    file.Append(body.bytes);
    return file.bytes;
}

std::vector<int> WmfWords(const std::vector<uint8_t>& bytes)
{
    std::vector<int> words;
    for (size_t i = 0; i < bytes.size(); i += 2)
        words.push_back(bytes[i] | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0));
    return words;
}

std::vector<uint32_t> EmfFields(const std::vector<uint8_t>& bytes)
{
    std::vector<uint32_t> fields;
    for (size_t i = 0; i < bytes.size(); i += 4) {
        uint32_t v = 0;
        for (size_t k = 0; k < 4 && i + k < bytes.size(); ++k)
            v |= uint32_t(bytes[i + k]) << (8 * k);
        fields.push_back(v);
    }
    return fields;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

uint32_t FloatBits(float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

std::vector<uint8_t> DibHeader(int width, int height, int bits, uint32_t colors, uint32_t compression)
{
    Writer w;
    w.U32(40);
    w.U32(uint32_t(width));
    w.U32(uint32_t(height));
    w.U16(1);
    w.U16(bits);
    w.U32(compression);
    for (int i = 0; i < 2; ++i)
        w.U32(0);  // no image size, no resolution across
    w.U32(0);
    w.U32(colors);
    w.U32(0);
    return w.bytes;
}

std::vector<uint8_t> Dib24(int width, int height, const std::vector<uint32_t>& colors)
{
    std::vector<uint8_t> dib = DibHeader(width, height, 24, 0);
    const int stride = (width * 3 + 3) / 4 * 4;
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(stride), 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colors[size_t(y * width + x)];
            row[size_t(3 * x)] = uint8_t(c >> 16);  // blue, green, red
            row[size_t(3 * x + 1)] = uint8_t(c >> 8);
            row[size_t(3 * x + 2)] = uint8_t(c);
        }
        dib.insert(dib.end(), row.begin(), row.end());
    }
    return dib;
}

std::vector<uint8_t> Dib(int width, int height, int bits, const std::vector<uint32_t>& palette,
                         const std::vector<uint8_t>& rows, uint32_t compression)
{
    std::vector<uint8_t> dib = DibHeader(width, height, bits, uint32_t(palette.size()), compression);
    for (uint32_t c : palette)
        dib.insert(dib.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 0});
    dib.insert(dib.end(), rows.begin(), rows.end());
    return dib;
}

std::vector<uint8_t> Dib8(int width, int height, const std::vector<uint32_t>& palette, const std::vector<uint8_t>& indices)
{
    const int stride = (width + 3) / 4 * 4;
    std::vector<uint8_t> rows;
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(stride), 0);
        std::copy_n(indices.begin() + y * width, width, row.begin());
        rows.insert(rows.end(), row.begin(), row.end());
    }
    return Dib(width, height, 8, palette, rows);
}

WmfRecord WmfTextOut(int x, int y, const std::string& text)
{
    WmfRecord r{0x0521, {int(text.size())}};
    for (int w : WmfWords(Bytes(text)))
        r.Words.push_back(w);
    r.Words.insert(r.Words.end(), {y, x});
    return r;
}

WmfRecord WmfStretchDib(int x, int y, int w, int h, int sw, int sh, const std::vector<uint8_t>& dib)
{
    WmfRecord r{0x0F43, {0x0020, 0x00CC, 0, sh, sw, 0, 0, h, w, y, x}};  // SRCCOPY, RGB colours
    for (int v : WmfWords(dib))
        r.Words.push_back(v);
    return r;
}

std::vector<uint8_t> BuildWmf(const MetafileDrawing& d, bool placeable)
{
    // One logical unit is one pixel at 96 per inch.
    const std::vector<WmfRecord> records = {
        {0x020B, {0, 0}},                                                   // SetWindowOrg
        {0x020C, {d.Height, d.Width}},                                      // SetWindowExt
        {0x02FA, {5, 0, 0, 0, 0}},                                          // CreatePenIndirect: null pen
        {0x02FC, {0, int(kRed & 0xFFFF), int(kRed >> 16), 0}},             // CreateBrushIndirect
        {0x012D, {0}},                                                      // SelectObject pen
        {0x012D, {1}},                                                      // SelectObject brush
        {0x041B, {d.RectBottom, d.RectRight, d.RectTop, d.RectLeft}},       // Rectangle
        {0x02FA, {0, d.LineWidth, 0, int(kBlue & 0xFFFF), int(kBlue >> 16)}},
        {0x012D, {2}},                                                      // the blue pen
        {0x0214, {d.LineTop, d.LineX}},                                     // MoveTo
        {0x0213, {d.LineBottom, d.LineX}},                                  // LineTo
    };
    return WmfFile(records, placeable ? std::optional<WmfFrame>(WmfFrame{0, 0, d.Width, d.Height, 96}) : std::nullopt, 3);
}

std::vector<uint8_t> BuildEmf(const MetafileDrawing& d)
{
    const std::vector<EmfRecord> records = {
        {38, {1, 5, 0, 0, 0}},                                                                       // CreatePen 1: null
        {39, {2, 0, kRed, 0}},                                                                       // CreateBrushIndirect 2
        {37, {1}},                                                                                   // SelectObject
        {37, {2}},
        {43, {uint32_t(d.RectLeft), uint32_t(d.RectTop), uint32_t(d.RectRight), uint32_t(d.RectBottom)}},  // Rectangle
        {38, {3, 0x10000, uint32_t(d.LineWidth), 0, kBlue}},                                         // CreatePen 3: blue
        {37, {3}},
        {27, {uint32_t(d.LineX), uint32_t(d.LineTop)}},                                              // MoveToEx
        {54, {uint32_t(d.LineX), uint32_t(d.LineBottom)}},                                           // LineTo
    };
    return EmfFile(records, d.Width, d.Height);
}
