#include "IniFiles.h"

#include "IniText.h"
#include "UserConfig.h"

TIniFile::TIniFile(const String& fileName)
    : fileName_(fileName.find('/') == String::npos ? UserConfigFolder() + fileName : fileName)
{
}

String TIniFile::ReadString(const String& section, const String& ident, const String& fallback) const
{
    TIniText text;
    text.Load(fileName_);
    String value;
    return text.Find(section, ident, value) ? value : fallback;
}

int TIniFile::ReadInteger(const String& section, const String& ident, int fallback) const
{
    return StrToIntDef(ReadString(section, ident, ""), fallback);
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value)
{
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

bool TIniFile::SectionExists(const String& section) const
{
    TIniText text;
    text.Load(fileName_);
    return !text.Keys(section).empty();
}

void TIniFile::ReadSection(const String& section, TStrings& keys) const
{
    TIniText text;
    text.Load(fileName_);
    keys.BeginUpdate();
    keys.Clear();
    for (const auto& k : text.Keys(section))
        keys.Add(k.first);
    keys.EndUpdate();
}

void TIniFile::ReadSectionValues(const String& section, TStrings& values) const
{
    TIniText text;
    text.Load(fileName_);
    values.BeginUpdate();
    values.Clear();
    for (const auto& k : text.Keys(section))
        values.Add(k.first + "=" + k.second);
    values.EndUpdate();
}
