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
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

namespace {
constexpr char kTemporaryMark[] = ".tmp-";
constexpr size_t kMarkLength = sizeof kTemporaryMark - 1;
constexpr size_t kSuffixLength = 6;  // what mkstemp puts in place of "XXXXXX"
constexpr char kLineageAttribute[] = "user.ombrelle.lineage";

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

String FileIdentity(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return String();
    // Size and time of change tell a file changed in place, or one that took a freed inode number.
    return Format("file %llu:%llu %lld %lld.%09ld", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino), static_cast<long long>(st.st_size),
                  static_cast<long long>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec);
}

String FileLineage(int fd)
{
    char mark[256];
    const ssize_t n = ::fgetxattr(fd, kLineageAttribute, mark, sizeof mark);
    return n > 0 ? String(mark, static_cast<size_t>(n)) : FileIdentity(fd);
}

String NewLineage()
{
    std::random_device random;
    return Format("%08x%08x%08x", random(), random(), random());
}

void MarkLineage(int fd, const String& lineage)
{
    // Without the mark the file's identity stands in: a later save then takes the file for one
    // made anew, and keeps every layout it cannot find there.
    if (!lineage.empty())
        ::fsetxattr(fd, kLineageAttribute, lineage.data(), lineage.size(), 0);
}

namespace {
// The process holding a whole-file lock on the folder, from the kernel's table of locks; 0 when
// it cannot be seen (one of another machine or another process namespace, or just released).
pid_t LockHolder(const struct stat& folder)
{
    std::ifstream table("/proc/locks");
    for (String line; std::getline(table, line);) {
        if (line.find("->") != String::npos)
            continue;  // a process waiting for the lock, not holding it
        std::istringstream fields(line);
        String ordinal, kind, mode, access, id;
        long pid = 0;
        if (!(fields >> ordinal >> kind >> mode >> access >> pid >> id) || kind != "FLOCK")
            continue;
        unsigned major = 0, minor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(id.c_str(), "%x:%x:%llu", &major, &minor, &inode) == 3 && major == major(folder.st_dev) &&
            minor == minor(folder.st_dev) && inode == folder.st_ino)
            return static_cast<pid_t>(pid);
    }
    return 0;
}

// The state letter the kernel gives the process ('R' running, 'S' sleeping, 'T' stopped, ...);
// 0 when there is no such process.
char ProcessState(pid_t pid)
{
    std::ifstream stat(Format("/proc/%ld/stat", static_cast<long>(pid)));
    String line;
    std::getline(stat, line);
    const size_t name = line.rfind(')');  // the command name may hold blanks and brackets
    return name != String::npos && name + 2 < line.size() ? line[name + 2] : 0;
}
}  // namespace

TFolderLock::TFolderLock(const String& fileName, const std::function<bool()>& waiting)
    : fd_(::open(FolderOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    const String folder = FolderOf(fileName);
    auto fail = [&](const String& why) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        throw EFCreateError(Format("Cannot lock the folder \"%s\". %s", folder.c_str(), why.c_str()));
    };
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        fail(SysErrorMessage(errno));
    auto lastSeen = std::chrono::steady_clock::now();
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            fail(SysErrorMessage(errno));
        // A holder that lives and runs finishes its save; one stopped (or hung in a debugger)
        // may never, and writing past it would let its late rename drop what this one wrote.
        const pid_t holder = LockHolder(st);
        const char state = holder ? ProcessState(holder) : 0;
        if (state == 'T' || state == 't')
            fail(Format("Another program (process %ld) holds it and is stopped.", static_cast<long>(holder)));
        if (state)
            lastSeen = std::chrono::steady_clock::now();
        else if (std::chrono::steady_clock::now() - lastSeen > std::chrono::seconds(kUnseenHolderSeconds))
            fail(Format("Another program has held it for more than %d seconds.", kUnseenHolderSeconds));
        if (waiting && !waiting())
            fail("The wait for another program holding it was cancelled.");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TFolderLock::~TFolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}
