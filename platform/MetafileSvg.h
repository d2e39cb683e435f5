#pragma once
// The two metafile converters behind TMetafile: each checks the file's header and records
// against the limits in Metafile.h, then hands it to its library for SVG.
#include "SysUtils.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

struct TMetafileSvg {
    QByteArray Svg;
    int Width = 0;   // the picture's own size, in pixels at 96 per inch
    int Height = 0;
};

bool IsEnhancedMetafile(const std::vector<uint8_t>& data);
bool IsWindowsMetafile(const std::vector<uint8_t>& data);
// Raise EInvalidGraphic with the reason.
TMetafileSvg WmfToSvg(const std::vector<uint8_t>& data);
TMetafileSvg EmfToSvg(const std::vector<uint8_t>& data);
// Raises EInvalidGraphic for a size outside the limits.
void CheckMetafileSize(int64_t width, int64_t height);

// Little-endian fields of a metafile.
inline uint16_t MetaU16(const std::vector<uint8_t>& d, size_t at) { return uint16_t(d[at] | d[at + 1] << 8); }
inline uint32_t MetaU32(const std::vector<uint8_t>& d, size_t at) { return MetaU16(d, at) | uint32_t(MetaU16(d, at + 2)) << 16; }
inline int32_t MetaS32(const std::vector<uint8_t>& d, size_t at) { return static_cast<int32_t>(MetaU32(d, at)); }
inline int16_t MetaS16(const std::vector<uint8_t>& d, size_t at) { return static_cast<int16_t>(MetaU16(d, at)); }
