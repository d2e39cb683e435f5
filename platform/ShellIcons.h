#pragma once
// The shell's icons of files and drives, kept in one system image list per size.
#include "ImgList.h"

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
