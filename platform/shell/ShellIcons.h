#pragma once
// The desktop's icons of files, folders, file types and drives: the stand-in for the system
// image list that the shell hands out icon indexes into.
#include "ImgList.h"

// Index in the system image list of the icon of a path: of the existing file or folder, or, with
// useFileAttributes, of whatever the name says (an extension known only by name). Indexes stay
// valid for the whole run and mean the same picture in the small and the large list.
int ShellIconIndex(const String& path, bool useFileAttributes);

// The system image list: small icons (16 x 16) or large ones (32 x 32). It holds every icon
// ShellIconIndex has handed out so far; the first indexes are the desktop's standard icons
// (computer, desktop, trash, network, drive, folder, file).
TImageList& SystemImageList(bool large);

enum : unsigned { SHGFI_LARGEICON = 0x0, SHGFI_SMALLICON = 0x1, SHGFI_SYSICONINDEX = 0x4000 };

struct SHFILEINFO {
    int iIcon = -1;  // index in the system image list
};

// The system image list (16 x 16 with SHGFI_SMALLICON, else 32 x 32) and, in info, the index
// of the path's icon in it; nullptr when the shell has no icon for the path. A drive root
// ("E:\") gets the icon of its drive type; an unknown drive has none.
TImageList* SHGetFileInfo(const String& path, unsigned flags, SHFILEINFO& info);

// The icon of a drive type (DRIVE_FIXED, DRIVE_CDROM ...), as SHGetFileInfo gives it for a root
// of that type.
TImageList* ShellDriveTypeIcon(unsigned driveType, unsigned flags, SHFILEINFO& info);
