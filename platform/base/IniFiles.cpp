#include "IniFiles.h"

#include "IniText.h"
#include "UserConfig.h"

TIniFile::TIniFile(const String& fileName)
    : fileName_(fileName.find('/') == String::npos ? UserConfigFolder() + fileName : fileName)
{
}

TIniFile::~TIniFile() = default;

TIniText TIniFile::Current() const
{
    if (pending_)
        return *pending_;
    TIniText text;
    text.Load(fileName_);
    return text;
}

void TIniFile::BeginUpdate()
{
    if (updates_++ == 0) {
        pending_ = std::make_unique<TIniText>();
        pending_->Load(fileName_);
        changed_ = false;
    }
}

void TIniFile::EndUpdate()
{
    if (updates_ == 0 || --updates_ > 0)
        return;
    std::unique_ptr<TIniText> text = std::move(pending_);
    if (changed_) {
        if (fileName_.rfind(UserConfigFolder(), 0) == 0)
            ForceUserConfigFolder();
        text->Save(fileName_);
    }
}

String TIniFile::ReadString(const String& section, const String& ident, const String& fallback) const
{
    String value;
    return Current().Find(section, ident, value) ? value : fallback;
}

int TIniFile::ReadInteger(const String& section, const String& ident, int fallback) const
{
    return StrToIntDef(ReadString(section, ident, ""), fallback);
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value)
{
    if (pending_) {
        pending_->Set(section, ident, value);
        changed_ = true;
        return;
    }
    if (fileName_.rfind(UserConfigFolder(), 0) == 0)
        ForceUserConfigFolder();
    TIniText text;
    text.Load(fileName_);
    text.Set(section, ident, value);
    text.Save(fileName_);
}

void TIniFile::WriteInteger(const String& section, const String& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TIniFile::SectionExists(const String& section) const { return !Current().Keys(section).empty(); }

void TIniFile::ReadSection(const String& section, TStrings& keys) const
{
    keys.BeginUpdate();
    keys.Clear();
    for (const auto& k : Current().Keys(section))
        keys.Add(k.first);
    keys.EndUpdate();
}

void TIniFile::ReadSectionValues(const String& section, TStrings& values) const
{
    values.BeginUpdate();
    values.Clear();
    for (const auto& k : Current().Keys(section))
        values.Add(k.first + "=" + k.second);
    values.EndUpdate();
}
