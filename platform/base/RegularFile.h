#pragma once
// Files that must be plain files: a FIFO, a device or a directory is refused at once instead of
// blocking the program or feeding it without end, and what is read stays within a limit.
#include "SysUtils.h"

#include <cstdint>
#include <vector>

// A regular file open for reading. Opening never waits (a FIFO would wait for a writer) and
// raises EFOpenError when the file cannot be opened or is not a regular file.
class TRegularFile {
public:
    explicit TRegularFile(const String& fileName);
    ~TRegularFile();
    TRegularFile(const TRegularFile&) = delete;
    TRegularFile& operator=(const TRegularFile&) = delete;

    uint64_t Size() const { return size_; }
    int Handle() const { return fd_; }
    // Up to count bytes from the current position; fewer only at the end. Raises EReadError.
    size_t Read(void* buffer, size_t count);
    // Appends the rest of the file to data, raising EReadError when data would exceed maxSize
    // bytes (the file may grow while it is read).
    void AppendRest(std::vector<uint8_t>& data, size_t maxSize);

private:
    String fileName_;
    int fd_ = -1;
    uint64_t size_ = 0;
};

// The whole file; EFOpenError as above, EReadError when it holds more than maxSize bytes.
std::vector<uint8_t> ReadRegularFile(const String& fileName, size_t maxSize);

// True when the name leads (through links) to an existing regular file.
bool IsRegularFile(const String& fileName);
