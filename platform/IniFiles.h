#pragma once
// The class library's ini-file object with the platform's semantics: sections and keys match
// without regard to case, key order is kept, a write leaves every other line alone, and every
// write reaches the disk at once. A file name without a folder lives in the per-user config
// folder.
#include "Classes.h"

class TIniFile : public TObject {
public:
    explicit TIniFile(const String& fileName);
    const String& FileName() const { return fileName_; }

    String ReadString(const String& section, const String& ident, const String& fallback) const;
    int ReadInteger(const String& section, const String& ident, int fallback) const;
    // Raises EFCreateError when the file cannot be written.
    void WriteString(const String& section, const String& ident, const String& value);
    void WriteInteger(const String& section, const String& ident, int value);

    // True when the section holds at least one key.
    bool SectionExists(const String& section) const;
    // The section's keys, in file order.
    void ReadSection(const String& section, TStrings& keys) const;
    // The section's "key=value" lines, in file order.
    void ReadSectionValues(const String& section, TStrings& values) const;

private:
    String fileName_;
};
