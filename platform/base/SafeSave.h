#pragma once
// What a whole-file save needs to survive a kill or a power cut and to share its folder with
// another running copy of the program: a temporary file that its writer holds locked while it
// lives, the removal of temporaries whose writer is gone, a folder synced after a rename, and a
// lock under which a file is read, merged and written back as one step.
#include "SysUtils.h"

#include <functional>

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

// A file's lineage: a mark that a save hands on from the file it read to the file it writes in
// its place. A copy of the program that finds the lineage it last read or wrote knows the file
// for that one, rewritten since by other copies; another lineage means a file made anew (the
// old one vanished meanwhile) or put there by other means. The mark is an extended attribute;
// an unmarked file (or one on a file system without them) has its identity, size and time of
// change as its lineage.
String FileLineage(int fd);
// The file's device, inode number, size and time of change.
String FileIdentity(int fd);
// The lineage of a file that descends from none.
String NewLineage();
// Gives the open file the lineage, where its file system keeps the mark.
void MarkLineage(int fd, const String& lineage);

// An exclusive lock on the folder of a file, held for the object's life: every copy of the
// program takes it before it reads and rewrites a file there, and nothing is written without
// it. While another process holds it, the constructor waits for as long as that process lives
// and is not stopped, calling waiting between its tries. It raises EFCreateError, saying why,
// when the folder cannot be locked, when the holder is stopped, when waiting answers false (the
// user gave up), or when a holder it cannot see (another machine's, say) keeps the lock longer
// than kUnseenHolderSeconds.
class TFolderLock {
public:
    static constexpr int kUnseenHolderSeconds = 30;
    explicit TFolderLock(const String& fileName, const std::function<bool()>& waiting = {});
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

private:
    int fd_ = -1;
};
