#include "MetafileBuilder.h"

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
    void Append(const Writer& w) { bytes.insert(bytes.end(), w.bytes.begin(), w.bytes.end()); }
};

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;  // colour references: red in the low byte

// One 16-bit record: its size in words, its function, its parameters.
void WmfRecord(Writer& w, int function, std::initializer_list<int> words, int& records, int& largest)
{
    const int size = 3 + int(words.size());
    w.U32(uint32_t(size));
    w.U16(function);
    for (int v : words)
        w.U16(v);
    ++records;
    largest = std::max(largest, size);
}

void EmfRecord(Writer& w, uint32_t type, std::initializer_list<uint32_t> fields, int& records)
{
    w.U32(type);
    w.U32(uint32_t(8 + 4 * fields.size()));
    for (uint32_t v : fields)
        w.U32(v);
    ++records;
}
}  // namespace

std::vector<uint8_t> BuildWmf(const MetafileDrawing& d, bool placeable)
{
    Writer body;
    int records = 0, largest = 0;
    // One logical unit is one pixel at 96 per inch.
    WmfRecord(body, 0x020B, {0, 0}, records, largest);                      // SetWindowOrg
    WmfRecord(body, 0x020C, {d.Height, d.Width}, records, largest);         // SetWindowExt
    WmfRecord(body, 0x02FA, {5, 0, 0, 0, 0}, records, largest);             // CreatePenIndirect: null pen
    WmfRecord(body, 0x02FC, {0, int(kRed & 0xFFFF), int(kRed >> 16), 0}, records, largest);  // CreateBrushIndirect
    WmfRecord(body, 0x012D, {0}, records, largest);                         // SelectObject pen
    WmfRecord(body, 0x012D, {1}, records, largest);                         // SelectObject brush
    WmfRecord(body, 0x041B, {d.RectBottom, d.RectRight, d.RectTop, d.RectLeft}, records, largest);  // Rectangle
    WmfRecord(body, 0x02FA, {0, d.LineWidth, 0, int(kBlue & 0xFFFF), int(kBlue >> 16)}, records, largest);
    WmfRecord(body, 0x012D, {2}, records, largest);                         // the blue pen
    WmfRecord(body, 0x0214, {d.LineTop, d.LineX}, records, largest);        // MoveTo
    WmfRecord(body, 0x0213, {d.LineBottom, d.LineX}, records, largest);     // LineTo
    WmfRecord(body, 0x0000, {}, records, largest);                          // EOF

    Writer file;
    if (placeable) {
        Writer head;
        head.U32(0x9AC6CDD7);
        head.U16(0);
        head.U16(0);
        head.U16(0);
        head.U16(d.Width);
        head.U16(d.Height);
        head.U16(96);
        head.U32(0);
        int checksum = 0;
        for (size_t i = 0; i < head.bytes.size(); i += 2)
            checksum ^= head.bytes[i] | head.bytes[i + 1] << 8;
        head.U16(checksum);
        file.Append(head);
    }
    file.U16(1);  // on disk
    file.U16(9);
    file.U16(0x0300);
    file.U32(uint32_t(9 + body.bytes.size() / 2));
    file.U16(3);  // objects
    file.U32(uint32_t(largest));
    file.U16(0);
    file.Append(body);
    return file.bytes;
}

std::vector<uint8_t> BuildEmf(const MetafileDrawing& d)
{
    Writer body;
    int records = 1;
    EmfRecord(body, 38, {1, 5, 0, 0, 0}, records);                                 // CreatePen 1: null
    EmfRecord(body, 39, {2, 0, kRed, 0}, records);                                 // CreateBrushIndirect 2
    EmfRecord(body, 37, {1}, records);                                             // SelectObject
    EmfRecord(body, 37, {2}, records);
    EmfRecord(body, 43, {uint32_t(d.RectLeft), uint32_t(d.RectTop), uint32_t(d.RectRight), uint32_t(d.RectBottom)},
              records);                                                            // Rectangle
    EmfRecord(body, 38, {3, 0x10000, uint32_t(d.LineWidth), 0, kBlue}, records);   // CreatePen 3: blue, geometric
    EmfRecord(body, 37, {3}, records);
    EmfRecord(body, 27, {uint32_t(d.LineX), uint32_t(d.LineTop)}, records);        // MoveToEx
    EmfRecord(body, 54, {uint32_t(d.LineX), uint32_t(d.LineBottom)}, records);     // LineTo
    EmfRecord(body, 14, {0, 16, 20}, records);                                     // EOF

    Writer file;
    file.U32(1);
    file.U32(88);
    for (int v : {0, 0, d.Width - 1, d.Height - 1})  // bounds, device pixels, inclusive
        file.U32(uint32_t(v));
    for (int v : {0, 0, d.Width * 2540 / 96, d.Height * 2540 / 96})  // frame, hundredths of a millimetre
        file.U32(uint32_t(v));
    file.U32(0x464D4520);
    file.U32(0x10000);
    file.U32(uint32_t(88 + body.bytes.size()));
    file.U32(uint32_t(records));
    file.U16(4);  // handles
    file.U16(0);
    file.U32(0);
    file.U32(0);
    file.U32(0);
    file.U32(1024);  // reference device: 1024 x 768 pixels on 270 x 203 millimetres (96 per inch)
    file.U32(768);
    file.U32(270);
    file.U32(203);
    file.Append(body);
    return file.bytes;
}
