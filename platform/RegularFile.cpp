#include "RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TRegularFile::TRegularFile(const String& fileName) : fileName_(fileName)
{
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), SysErrorMessage(errno).c_str()));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw EFOpenError(Format("Cannot open file \"%s\". Not a regular file", fileName.c_str()));
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    size_ = static_cast<uint64_t>(st.st_size);
}

TRegularFile::~TRegularFile() { ::close(fd_); }

size_t TRegularFile::Read(void* buffer, size_t count)
{
    auto* p = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(fd_, p + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EReadError(Format("Cannot read file \"%s\". %s", fileName_.c_str(), SysErrorMessage(errno).c_str()));
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

std::vector<uint8_t> TRegularFile::ReadRest(size_t maxSize)
{
    const off_t at = ::lseek(fd_, 0, SEEK_CUR);
    const uint64_t left = at >= 0 && static_cast<uint64_t>(at) < size_ ? size_ - static_cast<uint64_t>(at) : 0;
    if (left > maxSize)
        throw EReadError(Format("File \"%s\" is too large", fileName_.c_str()));
    std::vector<uint8_t> data(static_cast<size_t>(left));
    size_t done = Read(data.data(), data.size());
    // The file may have grown since it was measured; read on, within the limit.
    while (done == data.size()) {
        if (data.size() > maxSize)
            throw EReadError(Format("File \"%s\" is too large", fileName_.c_str()));
        data.resize(std::min(maxSize + 1, data.size() + 65536));
        size_t n = Read(data.data() + done, data.size() - done);
        done += n;
        if (n == 0)
            break;
    }
    data.resize(done);
    return data;
}

std::vector<uint8_t> ReadRegularFile(const String& fileName, size_t maxSize)
{
    TRegularFile file(fileName);
    return file.ReadRest(maxSize);
}

bool IsRegularFile(const String& fileName)
{
    struct stat st {};
    return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
