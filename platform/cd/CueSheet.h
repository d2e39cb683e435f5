#pragma once
// CUE sheets of disc images, checked before the CD library sees them: that library trusts the
// sheet (more than 99 tracks overrun its track table, a malformed FILE line leaks) and only
// opens a BIN file named like the sheet. A sheet that passes is rewritten in a canonical form
// next to a link to the file its FILE line names.
#include "SysUtils.h"

#include <cstdint>
#include <vector>

class ECueSheetError : public Exception { using Exception::Exception; };

constexpr int kCueMaxTracks = 99;
// 100 minutes of frames: no disc is longer, so no position may lie beyond.
constexpr int32_t kCueMaxFrames = 100 * 60 * 75;

struct TCueIndex {
    int Number;      // 0 to 99
    int32_t Frame;   // position in the file, frames of 1/75 s
};

struct TCueTrack {
    int Number;                    // 1 to 99, each one more than the last
    String Mode;                   // AUDIO, MODE1/2048, MODE1/2352, MODE2/2336, MODE2/2352
    int SectorSize;                // bytes per frame in the file, from the mode
    int32_t Pregap = 0;            // frames of silence the file does not hold
    std::vector<TCueIndex> Indexes;  // increasing numbers and positions; INDEX 01 always there
    int32_t Start() const;         // INDEX 01
};

struct TCueSheet {
    String DataFile;               // as the FILE line names it
    std::vector<TCueTrack> Tracks;
};

// Checks the sheet's text; sheetName goes into the messages. Raises ECueSheetError naming
// the sheet and what is wrong.
TCueSheet ParseCueSheet(const std::string& text, const String& sheetName);

// Raises ECueSheetError when a track starts at or beyond the end of a data file of that size,
// or the file holds more than 100 minutes.
void CheckCueDataSize(const TCueSheet& sheet, uint64_t dataSize, const String& sheetName);

// The sheet in the form the CD library reads safely, with dataName on its FILE line.
std::string CanonicalCueText(const TCueSheet& sheet, const String& dataName);

struct TCheckedCue {
    TCueSheet Sheet;
    String DataPath;  // the FILE line resolved against the sheet's folder
};

// Reads and checks a sheet and the data file it names: both must be regular files (a FIFO
// is refused at once, never waited on). Raises ECueSheetError or EFOpenError naming the file.
TCheckedCue ReadCueSheet(const String& fileName);
