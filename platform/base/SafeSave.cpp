#include "SafeSave.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr char kTemporaryMark[] = ".tmp-";
constexpr size_t kMarkLength = sizeof kTemporaryMark - 1;
constexpr size_t kSuffixLength = 6;  // what mkstemp puts in place of "XXXXXX"

String FolderOf(const String& fileName)
{
    const String folder = ExtractFilePath(fileName);
    return folder.empty() ? String("./") : folder;
}

// "<base>.tmp-" and six letters or digits; any base when base is empty.
bool IsTemporaryName(const String& name, const String& base)
{
    const size_t tail = kMarkLength + kSuffixLength;
    if (name.size() <= tail || (!base.empty() && name.size() != base.size() + tail))
        return false;
    const size_t mark = name.size() - tail;
    if (name.compare(mark, kMarkLength, kTemporaryMark) != 0 || (!base.empty() && name.compare(0, mark, base) != 0))
        return false;
    for (size_t i = mark + kMarkLength; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

int LockWaiting(int fd)
{
    int result;
    while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    return result;
}

void RemoveStale(const String& folder, const String& base)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const String name = entry->d_name;
        if (!IsTemporaryName(name, base))
            continue;
        const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened {}, named {};
        // A writer holds its temporary locked until it has renamed it: a lock taken at once
        // means the writer is gone. The name must still be the file locked, not a new one.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == opened.st_ino &&
            named.st_dev == opened.st_dev)
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}
}  // namespace

int CreateLockedTemporary(const String& fileName, String& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = fileName + kTemporaryMark + String(kSuffixLength, 'X');
        const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        struct stat st {};
        if (LockWaiting(fd) != 0 || ::fstat(fd, &st) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            errno = error;
            return -1;
        }
        // Another copy's clean-up may have taken it for stale before the lock was in place.
        if (st.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

void RemoveStaleTemporaries(const String& fileName)
{
    RemoveStale(FolderOf(fileName), ExtractFileName(fileName));
}

void RemoveStaleTemporariesIn(const String& folder)
{
    RemoveStale(folder.empty() ? String("./") : folder, String());
}

void SyncFolderOf(const String& fileName)
{
    const int fd = ::open(FolderOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Some file systems cannot sync a folder; the file has its new name all the same, so
    // that is no failure of the save.
    ::fsync(fd);
    ::close(fd);
}

TFolderLock::TFolderLock(const String& fileName)
    : fd_(::open(FolderOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    // A copy that hangs while it holds the lock must not hang this one: after a few seconds the
    // save goes on unlocked, as it would without another copy.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR) &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TFolderLock::~TFolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}
