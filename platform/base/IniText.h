#pragma once
// The text of one ini file, kept line by line so that a write changes only its own line and
// leaves comments, other sections and other keys as they were.
#include "SysUtils.h"

#include <utility>
#include <vector>

class TIniText {
public:
    // An absent or unreadable file (also a FIFO, a device or one beyond 64 MB) reads as an
    // empty one. The bytes are Windows-1252.
    void Load(const String& fileName);
    // Whole file through a temporary file and a rename; CR LF line ends. Raises EFCreateError,
    // also for a file that existed but could not be loaded, which is left as it is.
    void Save(const String& fileName) const;

    bool HasHeader(const String& section) const;
    // Keys of the first section of that name, in file order (first of each name only).
    std::vector<std::pair<String, String>> Keys(const String& section) const;
    bool Find(const String& section, const String& key, String& value) const;
    void Set(const String& section, const String& key, const String& value);
    void AddHeader(const String& section);

private:
    int HeaderLine(const String& section) const;
    int SectionEnd(int header) const;  // the next header's line, or the line count
    std::vector<String> lines_;
    String unread_;  // why an existing file could not be loaded
};
