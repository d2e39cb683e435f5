#pragma once
// Disc images written by tests: a CUE sheet and a sparse BIN file, for the virtual CD drives.
#include "SysUtils.h"

#include <vector>

struct TImageTrack {
    int StartFrame;      // from the start of the disc, two-second lead-in included (150 = 00:02:00)
    bool Audio = true;   // a data track is MODE1/2352
};

// Writes folder/name.cue and folder/name.bin (as long as the lead-out needs, holes only) and
// returns the CUE sheet's path. A data first track gets an ISO 9660 volume descriptor naming
// volumeId.
String WriteDiscImage(const String& folder, const String& name, const std::vector<TImageTrack>& tracks,
                      int leadOutFrame, const String& volumeId = "");

// Frames of minutes, seconds and frames.
constexpr int Msf(int m, int s, int f) { return m * 4500 + s * 75 + f; }
