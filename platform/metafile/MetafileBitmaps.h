#pragma once
// Device-independent bitmaps as metafile records carry them: a header with its colour table,
// then the rows. The size a header declares is checked against the limits before any pixel
// memory is taken, and the rows must lie inside the record.
#include "MetafileFormat.h"

#include <QImage>
#include <QRectF>

class TMetafileDevice;

struct TDib {
    int Width = 0, Height = 0;  // the height without its sign
    bool TopDown = false;
    int Bits = 0;
    uint32_t Compression = 0;
    size_t ColorsAt = 0;  // where the colour table starts in the header
    int Colors = 0;
    int ColorSize = 4;
    uint32_t Masks[3] = {};
};

// Reads the header; false for a bitmap this player does not draw. Raises EMetafileLimit through
// the device when the bitmap is larger than the limits allow.
bool ReadDib(const TRecordReader& header, const TMetafileDevice& device, TDib& dib);
// The rows as an image, top row first; a null image when they fall short of what the header
// declares. With palette indices the colour table holds indices into the selected palette;
// with alpha a 32-bit bitmap keeps its (premultiplied) alpha.
QImage DecodeDib(const TDib& dib, const TRecordReader& header, const TRecordReader& bits, const TMetafileDevice& device,
                 bool paletteIndices, bool alpha = false);
// A source rectangle of the records, whose rows a bottom-up bitmap counts from its last row, in
// the decoded image's rows.
QRectF DibSource(const TDib& dib, double x, double y, double width, double height);
