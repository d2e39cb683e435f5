#include "MetafileBitmaps.h"

#include "MetafileDevice.h"

#include <algorithm>
#include <bit>

namespace {
enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

uint64_t RowBytes(const TDib& dib) { return (uint64_t(dib.Width) * dib.Bits + 31) / 32 * 4; }

// A channel of a bit-field pixel, widened to eight bits.
int Channel(uint32_t pixel, uint32_t mask)
{
    if (!mask)
        return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    return int(((pixel & mask) >> shift) * 255 / max);
}

// Run-length encoded rows (4 or 8 bits a pixel), bottom row first; every write is checked
// against the picture, so a hostile run or jump cannot reach past it.
void DecodeRle(const TDib& dib, const TRecordReader& bits, QImage& image)
{
    const bool four = dib.Compression == BI_RLE4;
    int x = 0, y = 0;
    auto put = [&](int index) {
        if (x < dib.Width && y < dib.Height)
            image.scanLine(dib.Height - 1 - y)[x] = uint8_t(index);
        ++x;
    };
    size_t at = 0;
    while (at + 2 <= bits.Size() && y < dib.Height) {
        const int count = bits.U8(at), value = bits.U8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < dib.Width; ++i)
                put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // jump
            x += bits.U8(at);
            y += bits.U8(at + 1);
            at += 2;
        } else {  // a run of literal pixels, padded to a word
            const size_t bytes = four ? (size_t(value) + 1) / 2 : size_t(value);
            for (int i = 0; i < value && x < dib.Width; ++i)
                put(four ? (i % 2 ? bits.U8(at + size_t(i / 2)) & 0xF : bits.U8(at + size_t(i / 2)) >> 4) : bits.U8(at + size_t(i)));
            at += (bytes + 1) & ~size_t(1);
        }
    }
}
}  // namespace

bool ReadDib(const TRecordReader& h, const TMetafileDevice& device, TDib& dib)
{
    const uint32_t size = h.U32(0);
    if (size == 12) {  // the old core header: 16-bit sizes, three-byte colours
        dib.Width = h.U16(4);
        dib.Height = h.U16(6);
        dib.Bits = h.U16(10);
        dib.ColorSize = 3;
    } else if (size >= 40 && h.Has(0, 40)) {
        const int32_t height = h.S32(8);
        dib.Width = h.S32(4);
        dib.Height = height == INT32_MIN ? 0 : std::abs(height);
        dib.TopDown = height < 0;
        dib.Bits = h.U16(14);
        dib.Compression = h.U32(16);
        const uint32_t used = h.U32(32);
        dib.Colors = dib.Bits <= 8 && used ? int(std::min<uint32_t>(used, 1u << dib.Bits)) : 0;
        if (dib.Compression == BI_BITFIELDS) {
            const size_t masksAt = size >= 52 ? 40 : size;  // inside a newer header, after an older one
            for (int i = 0; i < 3; ++i)
                dib.Masks[i] = h.U32(masksAt + 4 * size_t(i));
        }
    } else {
        return false;
    }
    if (dib.Width <= 0 || dib.Height <= 0)
        return false;
    switch (dib.Compression) {
    case BI_RGB:
        if (dib.Bits != 1 && dib.Bits != 4 && dib.Bits != 8 && dib.Bits != 16 && dib.Bits != 24 && dib.Bits != 32)
            return false;
        break;
    case BI_RLE8: if (dib.Bits != 8 || dib.TopDown) return false; break;
    case BI_RLE4: if (dib.Bits != 4 || dib.TopDown) return false; break;
    case BI_BITFIELDS: if (dib.Bits != 16 && dib.Bits != 32) return false; break;
    default: return false;  // compressed as a JPEG or PNG picture: not drawn
    }
    if (dib.Bits <= 8 && !dib.Colors)
        dib.Colors = 1 << dib.Bits;
    dib.ColorsAt = size + (dib.Compression == BI_BITFIELDS && size == 40 ? 12 : 0);
    device.AllowBitmap(dib.Width, dib.Height);
    return true;
}

QImage DecodeDib(const TDib& dib, const TRecordReader& h, const TRecordReader& bits, const TMetafileDevice& device,
                 bool paletteIndices, bool alpha)
{
    const uint64_t rowBytes = RowBytes(dib);
    const bool rle = dib.Compression == BI_RLE8 || dib.Compression == BI_RLE4;
    if (!rle && !bits.Has(0, rowBytes * uint64_t(dib.Height)))
        return {};
    if (dib.Bits <= 8) {
        QImage image(dib.Width, dib.Height, QImage::Format_Indexed8);
        if (image.isNull())
            return {};
        // Every index a row can hold has a colour, so none reads past the table.
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (int i = 0; i < dib.Colors; ++i) {
            const size_t at = dib.ColorsAt + size_t(i) * (paletteIndices ? 2 : dib.ColorSize);
            table[i] = paletteIndices ? device.Color(0x01000000u | h.U16(at)).rgb() : qRgb(h.U8(at + 2), h.U8(at + 1), h.U8(at));
        }
        image.setColorTable(table);
        if (rle) {
            image.fill(0);
            DecodeRle(dib, bits, image);
            return image;
        }
        const int perByte = 8 / dib.Bits, mask = (1 << dib.Bits) - 1;
        for (int y = 0; y < dib.Height; ++y) {
            const uint8_t* src = bits.At(size_t(rowBytes) * size_t(y));
            uint8_t* dst = image.scanLine(dib.TopDown ? y : dib.Height - 1 - y);
            for (int x = 0; x < dib.Width; ++x) {
                const int shift = 8 - dib.Bits * (x % perByte + 1);
                dst[x] = uint8_t(src[x / perByte] >> shift & mask);
            }
        }
        return image;
    }
    QImage image(dib.Width, dib.Height, alpha && dib.Bits == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const bool fields = dib.Compression == BI_BITFIELDS;
    const uint32_t r = fields ? dib.Masks[0] : dib.Bits == 16 ? 0x7C00 : 0xFF0000;
    const uint32_t g = fields ? dib.Masks[1] : dib.Bits == 16 ? 0x03E0 : 0x00FF00;
    const uint32_t b = fields ? dib.Masks[2] : dib.Bits == 16 ? 0x001F : 0x0000FF;
    for (int y = 0; y < dib.Height; ++y) {
        const uint8_t* src = bits.At(size_t(rowBytes) * size_t(y));
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(dib.TopDown ? y : dib.Height - 1 - y));
        for (int x = 0; x < dib.Width; ++x) {
            if (dib.Bits == 24) {
                const uint8_t* p = src + 3 * x;
                dst[x] = qRgb(p[2], p[1], p[0]);
                continue;
            }
            const uint8_t* p = src + x * (dib.Bits / 8);
            const uint32_t v = dib.Bits == 16 ? uint32_t(p[0] | p[1] << 8) : uint32_t(p[0] | p[1] << 8 | p[2] << 16) | uint32_t(p[3]) << 24;
            if (image.format() == QImage::Format_ARGB32_Premultiplied) {
                // Premultiplied channels never exceed their alpha.
                const int a = p[3];
                dst[x] = qRgba(std::min<int>(p[2], a), std::min<int>(p[1], a), std::min<int>(p[0], a), a);
            } else {
                dst[x] = qRgb(Channel(v, r), Channel(v, g), Channel(v, b));
            }
        }
    }
    return image;
}

QRectF DibSource(const TDib& dib, double x, double y, double width, double height)
{
    return QRectF(x, dib.TopDown ? y : dib.Height - y - height, width, height);
}
