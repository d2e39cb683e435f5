#pragma once
// What a whole-file save needs to survive a kill or a power cut and to share its folder with
// another running copy of the program: a temporary file that its writer holds locked while it
// lives, the removal of temporaries whose writer is gone, a folder synced after a rename, and a
// lock under which a file is read, merged and written back as one step.
#include "SysUtils.h"

// Creates "<file>.tmp-XXXXXX" beside the file, locked for as long as the descriptor stays
// open, so that RemoveStaleTemporaries leaves it alone. -1 with errno set when it cannot.
int CreateLockedTemporary(const String& fileName, String& temporary);

// Removes the temporaries of the file that no living writer holds: what a save interrupted by a
// kill, a crash or a power cut left behind. Never raises.
void RemoveStaleTemporaries(const String& fileName);
// The same for every file in a folder that belongs to the program as a whole.
void RemoveStaleTemporariesIn(const String& folder);

// Writes the folder's entries to the disk, so that a rename into it survives a power cut.
void SyncFolderOf(const String& fileName);

// An exclusive lock on the folder of a file, held for the object's life: another copy of the
// program waits for it (a few seconds at most) before it reads and rewrites a file there. A
// folder that cannot be opened is simply not locked.
class TFolderLock {
public:
    explicit TFolderLock(const String& fileName);
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

private:
    int fd_ = -1;
};
