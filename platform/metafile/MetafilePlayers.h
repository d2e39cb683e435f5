#pragma once
// The two record players behind TMetafile: each reads its kind's header, walks the records
// (refusing a file whose records run past its end, never end, or are too many) and plays each
// one on a device context.
#include "MetafileDevice.h"

#include <QRectF>
#include <QSizeF>

#include <cstdint>
#include <vector>

// 16-bit Windows metafiles, with or without the placeable header in front.
struct TWmfHeader {
    size_t RecordsAt = 0;
    bool Placeable = false;
    QRectF Frame;          // the placeable header's frame, in its own units
    int UnitsPerInch = 0;  // of that frame
    int Objects = 0;       // slots of the object table
};
bool IsWindowsMetafile(const std::vector<uint8_t>& data);
// Raise EInvalidGraphic with the reason.
TWmfHeader ReadWmfHeader(const std::vector<uint8_t>& data);
void PlayWmf(const std::vector<uint8_t>& data, const TWmfHeader& header, TMetafileDevice& device);

// Enhanced metafiles.
struct TEmfHeader {
    QRectF Bounds;       // device pixels, edges included
    QRectF Frame;        // hundredths of a millimetre, edges included
    QSizeF Device;       // the reference device, in pixels
    QSizeF Millimeters;  // and in millimetres
};
bool IsEnhancedMetafile(const std::vector<uint8_t>& data);
TEmfHeader ReadEmfHeader(const std::vector<uint8_t>& data);
void PlayEmf(const std::vector<uint8_t>& data, TMetafileDevice& device);

[[noreturn]] void MetafileDamaged(const char* why);
