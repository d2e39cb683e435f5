#pragma once
// Two-pass filtered resampling and its table of reconstruction filters.
#include "Graphics.h"

#include <array>
#include <cstdint>

// Weight of a source pixel at a distance (in source pixels) from the sample point.
using TFilterProc = float (*)(float Value);

float Sinc(float Value);
float HermiteFilter(float Value);
float BoxFilter(float Value);
float TriangleFilter(float Value);
float BellFilter(float Value);
float SplineFilter(float Value);
float Lanczos3Filter(float Value);
float MitchellFilter(float Value);

struct TFilterEntry {
    const char* Name;
    TFilterProc Filter;
    float Support;  // in source pixels; the filter is 0 from here on
};

// Callers choose a filter by its index in this table.
extern const std::array<TFilterEntry, 7> ResampleFilters;

// One source pixel's share of a destination sample.
struct TContributor {
    int32_t Pixel;
    float Weight;
};

// Resamples all of Src into all of Dst, whose size the caller has set. Weights are not
// normalised. Raises Exception "Source bitmap too small" for an empty source.
void Stretch(const TBitmap& Src, TBitmap& Dst, TFilterProc Filter, float Support);
