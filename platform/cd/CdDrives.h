#pragma once
// The drive table: drive letters standing for the machine's CD devices (/dev/sr0 ... lettered
// from "E", the first CD drive of a Windows machine) and for virtual CD drives holding disc
// images (CUE sheet and BIN file). The rest of the program sees drives only through the calls
// below, as it would on Windows.
#include "SysUtils.h"

#include <cstdint>
#include <vector>

enum : unsigned {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

// Roots ("E:\") of every drive in the table, in letter order.
std::vector<String> GetLogicalDriveStrings();
// Bit 0 set for drive A, bit 1 for B, and so on, for every drive in the table.
uint32_t GetLogicalDrives();
// Of a root or a bare letter, either case.
unsigned GetDriveType(const String& root);
// The volume label of a root or letter: "Audio CD" for an audio disc, the ISO 9660 volume id
// of a data disc (at most 63 characters); false when the drive has no readable disc.
bool GetVolumeLabel(const String& root, String& label);

// The medium in a drive: a device path, a CUE sheet, or empty for an empty drive.
String CdDriveSource(char letter);

// Virtual drives. Inserting creates the drive when the letter has none; the media watcher
// then broadcasts the arrival, as it broadcasts the removal after CdEjectImage. Images listed
// under HKEY_CURRENT_USER "Software\Ombrelle\CD Images" (value name: the letter, value: the
// CUE sheet) are inserted when the table is first used.
void CdInsertImage(char letter, const String& cueSheet);
// Reads that list again: a newly listed image gets its drive (or takes the place of the disc
// in it), and the drive of an image no longer listed goes. The watcher broadcasts the changes.
void CdReadImageList();
void CdEjectImage(char letter);
// Removes drives from the table (tests start from a known machine).
void CdForgetDrive(char letter);
void CdForgetAllDrives();

// For the media watcher, when it starts: what each drive holds now is what it knew, so that
// only later changes are broadcast (a real drive is looked at by the watcher's first round).
void CdTakeBaseline();
// For the media watcher: every drive with its source and the identity it last reported
// (-1 before the first look at a real device), under one lock.
struct TCdDriveState {
    char Letter;
    String Source;
    int64_t LastIdentity;
};
std::vector<TCdDriveState> CdDriveStates();
// Stores what the watcher saw and gives the identity stored before; false (nothing stored)
// when the drive's medium changed since the watcher looked.
bool CdUpdateIdentity(char letter, const String& source, int64_t identity, int64_t& previous);
