#pragma once
// What the platform reads from a disc: its table of contents and, for a data disc, the ISO 9660
// volume id. One read per call; nothing is cached between calls.
#include "SysUtils.h"

#include <cstdint>
#include <optional>
#include <vector>

struct TDiscToc {
    std::vector<int32_t> Starts;  // logical sector of each track's start, track order
    std::vector<bool> Audio;      // per track
    int32_t LeadOut = 0;          // logical sector of the lead-out
    String VolumeId;              // data discs only: the ISO 9660 volume id
};

// source is a device path (/dev/sr0) or a CUE sheet. Empty when there is no readable disc; a
// CUE sheet that fails its checks is never opened, and refusal (when given) receives why.
std::optional<TDiscToc> ReadDiscToc(const String& source, String* refusal = nullptr);

// The machine's CD devices (/dev/sr0 ...), each once.
std::vector<String> FindCdDevices();

// A number derived from the table of contents; never 0 for a disc.
uint32_t DiscIdentity(const TDiscToc& toc);
