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

void TRegularFile::AppendRest(std::vector<uint8_t>& data, size_t maxSize)
{
    const auto tooLarge = [this] { return EReadError(Format("File \"%s\" is too large", fileName_.c_str())); };
    const off_t at = ::lseek(fd_, 0, SEEK_CUR);
    const uint64_t left = at >= 0 && static_cast<uint64_t>(at) < size_ ? size_ - static_cast<uint64_t>(at) : 0;
    if (data.size() > maxSize || left > maxSize - data.size())
        throw tooLarge();
    // Read in place: a picture is the largest thing read this way, and copying it again costs.
    const size_t start = data.size();
    data.resize(start + static_cast<size_t>(left));
    const size_t done = Read(data.data() + start, static_cast<size_t>(left));
    data.resize(start + done);
    if (done < left)
        return;
    // The file may have grown since it was measured; read on, within the limit.
    uint8_t chunk[16384];
    for (size_t n; (n = Read(chunk, sizeof chunk)) > 0;) {
        if (n > maxSize - data.size())
            throw tooLarge();
        data.insert(data.end(), chunk, chunk + n);
    }
}

std::vector<uint8_t> ReadRegularFile(const String& fileName, size_t maxSize)
{
    TRegularFile file(fileName);
    std::vector<uint8_t> data;
    file.AppendRest(data, maxSize);
    return data;
}

bool IsRegularFile(const String& fileName)
{
    struct stat st {};
    return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
