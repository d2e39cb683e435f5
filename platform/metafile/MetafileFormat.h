#pragma once
// What the two metafile players share: reading one record's little-endian fields without ever
// reading past it, and the limits on what a file may make the player allocate and do.
#include "SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

constexpr int64_t kMetafileMaxBytes = 64 << 20;
constexpr int kMetafileMaxRecords = 500000;
constexpr int kMetafileMaxSide = 16384;
constexpr int64_t kMetafileMaxPixels = 32 << 20;

// What playing one picture may cost. Work is counted in pixels touched: the area each fill,
// stroke, text and bitmap covers on the picture, plus the points and pixels each record hands
// over; this machine draws somewhat over half a billion of them a second.
struct TMetafileLimits {
    int64_t Work = 2000LL * 1000 * 1000;
    int Seconds = 4;                             // and the work is stopped after this long anyway
    int64_t BitmapPixels = kMetafileMaxPixels;   // one bitmap inside a record
    int64_t PatternPixels = 16LL * 1024 * 1024;  // all pattern brushes alive at once
    int SavedStates = 4096;                      // saved device contexts held at once
    int64_t Points = 4 << 20;                    // points of one record, or of the path being made
};

// A limit the picture goes over. The message is the rest of a sentence whose subject, the file,
// the metafile graphic puts in front.
class EMetafileLimit : public EInvalidGraphic {
    using EInvalidGraphic::EInvalidGraphic;
};

// One record's bytes. A field outside them reads as zero, so a record cut short draws what it
// holds and nothing beyond it; arrays are checked with Has before they are read.
class TRecordReader {
public:
    TRecordReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Size() const { return size_; }
    bool Has(uint64_t at, uint64_t bytes) const { return at <= size_ && bytes <= size_ - at; }
    const uint8_t* At(size_t at) const { return data_ + at; }
    uint8_t U8(size_t at) const { return Has(at, 1) ? data_[at] : 0; }
    uint16_t U16(size_t at) const { return Has(at, 2) ? uint16_t(data_[at] | data_[at + 1] << 8) : 0; }
    int16_t S16(size_t at) const { return static_cast<int16_t>(U16(at)); }
    uint32_t U32(size_t at) const
    {
        return Has(at, 4) ? uint32_t(data_[at]) | uint32_t(data_[at + 1]) << 8 | uint32_t(data_[at + 2]) << 16 |
                                uint32_t(data_[at + 3]) << 24
                          : 0;
    }
    int32_t S32(size_t at) const { return static_cast<int32_t>(U32(at)); }
    float F32(size_t at) const
    {
        const uint32_t bits = U32(at);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    // count unsigned values of size bytes (2 or 4) from at, such as the point counts of a
    // poly-polygon, and their sum; false when they do not fit in the record.
    bool Counts(size_t at, uint64_t count, size_t size, std::vector<uint32_t>& values, uint64_t& sum) const
    {
        if (!Has(at, count * size))
            return false;
        values.resize(size_t(count));
        sum = 0;
        for (size_t i = 0; i < count; ++i)
            sum += values[i] = size == 2 ? U16(at + 2 * i) : U32(at + 4 * i);
        return true;
    }
    TRecordReader Sub(size_t at, size_t bytes) const
    {
        return Has(at, bytes) ? TRecordReader(data_ + at, bytes) : TRecordReader(data_, 0);
    }

private:
    const uint8_t* data_;
    size_t size_;
};
