#pragma once
// Small metafiles written record by record, as 16-bit (.wmf) and enhanced (.emf) files: any
// records a test lists, and a stock drawing (a red rectangle and a thick blue line on a 100 x 50
// pixel picture).
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// One 16-bit record: its function and its parameters as the 16-bit words it stores.
struct WmfRecord {
    int Function;
    std::vector<int> Words;
};

// The placeable header's frame, in units of which UnitsPerInch make an inch.
struct WmfFrame {
    int Left = 0, Top = 0, Right = 100, Bottom = 50, UnitsPerInch = 96;
};

std::vector<uint8_t> WmfFile(const std::vector<WmfRecord>& records, std::optional<WmfFrame> frame = WmfFrame{},
                             int objects = 16);

// One enhanced record: its type and its fields as 32-bit values (the record's size is added).
struct EmfRecord {
    uint32_t Type;
    std::vector<uint32_t> Fields;
};

// A picture of width x height pixels on a reference device of 96 pixels per inch.
std::vector<uint8_t> EmfFile(const std::vector<EmfRecord>& records, int width = 100, int height = 50);

// Bytes as 16-bit or 32-bit little-endian values, zero-padded.
std::vector<int> WmfWords(const std::vector<uint8_t>& bytes);
std::vector<uint32_t> EmfFields(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> Bytes(const std::string& text);
uint32_t FloatBits(float f);

// A bottom-up device-independent bitmap (header, colour table, rows): 24-bit from colour
// references given top row first, or with a palette of colour references and one index a pixel;
// or any kind, from its rows' bytes as stored; or its header alone, claiming what it is told.
std::vector<uint8_t> DibHeader(int width, int height, int bits, uint32_t colors, uint32_t compression = 0);
std::vector<uint8_t> Dib24(int width, int height, const std::vector<uint32_t>& colors);
std::vector<uint8_t> Dib8(int width, int height, const std::vector<uint32_t>& palette, const std::vector<uint8_t>& indices);
std::vector<uint8_t> Dib(int width, int height, int bits, const std::vector<uint32_t>& palette,
                         const std::vector<uint8_t>& rows, uint32_t compression = 0);

// TextOut of the text at (x, y); StretchDIBits of the whole of a sw x sh bitmap into (x, y, w, h).
WmfRecord WmfTextOut(int x, int y, const std::string& text);
WmfRecord WmfStretchDib(int x, int y, int w, int h, int sw, int sh, const std::vector<uint8_t>& dib);

struct MetafileDrawing {
    int Width = 100, Height = 50;        // pixels at 96 per inch
    int RectLeft = 10, RectTop = 10, RectRight = 60, RectBottom = 40;
    int LineX = 80, LineTop = 5, LineBottom = 45, LineWidth = 4;
};

std::vector<uint8_t> BuildWmf(const MetafileDrawing& drawing = {}, bool placeable = true);
std::vector<uint8_t> BuildEmf(const MetafileDrawing& drawing = {});
