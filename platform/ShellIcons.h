#pragma once
// The desktop's icons of files, folders and file types: the stand-in for the system image list
// that the shell hands out icon indexes into.
#include "ImgList.h"

// Index in the system image list of the icon of a path: of the existing file or folder, or, with
// useFileAttributes, of whatever the name says (an extension known only by name). Indexes stay
// valid for the whole run and mean the same picture in the small and the large list.
int ShellIconIndex(const String& path, bool useFileAttributes);

// The system image list: small icons (16 x 16) or large ones (32 x 32). It holds every icon
// ShellIconIndex has handed out so far; the first indexes are the desktop's standard icons
// (computer, desktop, trash, network, drive, folder, file).
TImageList& SystemImageList(bool large);
