#include "RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<uint8_t> ReadRegularFile(const String& fileName, size_t maxSize)
{
    // Non-blocking open: opening a FIFO for reading would otherwise wait for a writer.
    int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), SysErrorMessage(errno).c_str()));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw EFOpenError(Format("Cannot open file \"%s\". Not a regular file", fileName.c_str()));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (static_cast<uint64_t>(st.st_size) > maxSize)
        throw EReadError(Format("File \"%s\" is too large", fileName.c_str()));
    std::vector<uint8_t> data(static_cast<size_t>(st.st_size));
    size_t done = 0;
    for (;;) {
        if (done == data.size()) {
            // The file may have grown since it was measured; read on, within the limit.
            if (data.size() > maxSize)
                throw EReadError(Format("File \"%s\" is too large", fileName.c_str()));
            data.resize(std::min(maxSize + 1, data.size() + 65536));
        }
        ssize_t n = ::read(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EReadError(Format("Cannot read file \"%s\". %s", fileName.c_str(), SysErrorMessage(errno).c_str()));
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    data.resize(done);
    return data;
}

bool IsRegularFile(const String& fileName)
{
    struct stat st {};
    return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
