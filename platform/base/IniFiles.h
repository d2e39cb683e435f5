#pragma once
// The class library's ini-file object with the platform's semantics: sections and keys match
// without regard to case, key order is kept, a write leaves every other line alone, and every
// write reaches the disk at once, unless it is part of an update (below). A file name without a
// folder lives in the per-user config folder.
#include "Classes.h"

#include <memory>

class TIniText;

class TIniFile : public TObject {
public:
    explicit TIniFile(const String& fileName);
    ~TIniFile() override;
    const String& FileName() const { return fileName_; }

    // Writes between BeginUpdate and EndUpdate reach the disk together, once, at EndUpdate
    // (which raises EFCreateError); an update left unfinished writes nothing.
    void BeginUpdate();
    void EndUpdate();

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
    TIniText Current() const;
    String fileName_;
    int updates_ = 0;
    std::unique_ptr<TIniText> pending_;  // the file's text during an update
    bool changed_ = false;
};
