#pragma once
// Reading a whole file that must be a plain file of bounded size: a FIFO, a device or a file
// that grows without end is refused instead of blocking or exhausting memory.
#include "SysUtils.h"

#include <vector>

// Raises EFOpenError when the file cannot be opened or is not a regular file, and EReadError
// when it holds more than maxSize bytes or cannot be read.
std::vector<uint8_t> ReadRegularFile(const String& fileName, size_t maxSize);

// True when the name leads (through links) to an existing regular file.
bool IsRegularFile(const String& fileName);
