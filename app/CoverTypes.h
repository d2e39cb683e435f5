#pragma once
// Cover layouts and the file they live in.
#include "Classes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

constexpr int kCoverNameMax = 50;
// Every distance of a layout lies from 0 to this many inches: no page is larger.
constexpr float kMaxLayoutInches = 100;
// About 200,000 layouts; a larger "Settings.ini" is refused, and left as it is.
constexpr size_t kMaxCoverFileSize = 16 * 1024 * 1024;

// One layout, exactly as stored: 84 bytes, little-endian, floats in inches on a landscape page.
#pragma pack(push, 1)
struct TCoverRec {
    float Left;
    float Top;
    float Width;
    float Height;
    uint8_t NameLength;
    char NameChars[kCoverNameMax];  // Windows-1252
    uint8_t Pad1;
    int32_t Style;     // 0 disc label, 1 cover
    uint8_t Dual;      // 1: two pictures per page
    uint8_t Pad2[3];
    float GapDist;
    int32_t IconIndex;

    // The name as text; a stored length above 50 reads as 50.
    String Name() const;
    // Stores at most 50 characters; unused name bytes become zero.
    void SetName(const String& name);
};
#pragma pack(pop)
static_assert(sizeof(TCoverRec) == 84, "a layout record is 84 bytes on disk");

// The characters of a name, each once, that a stored layout cannot hold (the record's 8-bit code
// page has no byte for them, so they would be stored as "?"); only the stored part is looked at.
std::vector<TUnmappable> UnstorableNameCharacters(const String& name);

using PCoverRec = TCoverRec*;

// Brings each distance into 0 to kMaxLayoutInches: beyond it to the nearer bound, not a
// number to 0.
void BoundLayout(TCoverRec& rec);

// A position in inches as device pixels: Trunc(inches x pixels per inch), held within a range
// that no sum of positions overflows.
int InchesToDevice(long double inches, int pixelsPerInch);

// Owns the layouts in file order. Setting the file name loads it; destruction rewrites it.
//
// Another copy of the program may share the file. A save therefore never writes back blindly
// what this list read: under a lock on the folder it reads the file again and writes what it
// holds now with this list's own changes since its last load or save merged in. A layout
// changed here takes its place in the file when the file still holds there what this list last
// had; when the other copy changed that place too, both are kept, this list's one added at the
// end. Layouts added here are appended; those the other copy added or changed stay. A file that
// does not descend from the one this list last read or wrote (it vanished, and a copy wrote
// one anew; or another program cut it short or rewrote it) has no places of this list: there each layout of this list is looked for by its
// value, and appended when it is not found.
class TCoverList : public TPersistent {
public:
    TCoverList() = default;
    ~TCoverList() override;
    TCoverList(const TCoverList&) = delete;
    TCoverList& operator=(const TCoverList&) = delete;

    String CoverFileName() const { return fileName_; }
    // Loads the file read-only and appends its records, their distances bounded. A file that
    // exists but cannot be read (also a FIFO or one beyond kMaxCoverFileSize) raises the
    // file-open or read error and is then left alone at exit, so it is never destroyed.
    // Temporaries that interrupted saves left beside the file are removed.
    void SetCoverFileName(const String& name);
    int CoverNo() const { return static_cast<int>(items_.size()) - 1; }
    // Raises "List index out of bounds (%d)" outside 0..CoverNo.
    PCoverRec GetCover(int index);
    void AddCover(std::unique_ptr<TCoverRec> record);
    // Merges this list's changes into the file as it is now (above) and writes it through a
    // temporary file, under the folder's lock (waiting for another copy that holds it, calling
    // waiting meanwhile; see TFolderLock). Raises the file-create error, also when the lock
    // cannot be had, or the read error of a file that can no longer be read, which is then left
    // as it is. A failed save changes nothing: the next one writes what this one could not.
    void Save(const std::function<bool()>& waiting = {});

private:
    // Where a layout of this list stands in the file, as of the last load or save.
    struct TFilePlace {
        bool InFile = false;
        size_t Index = 0;
        TCoverRec MemoryValue {};  // what this list held then
    };

    std::vector<std::unique_ptr<TCoverRec>> items_;
    std::vector<TFilePlace> places_;  // one for each of items_
    String fileName_;
    String lineage_;        // of the file last read or written
    size_t leftCount_ = 0;  // the records it held; a file descending from it holds no fewer
    PCoverRec lastFetched_ = nullptr;
    bool saveAtExit_ = false;
};
