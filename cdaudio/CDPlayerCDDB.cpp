// The CDDB request addresses and the local CD information file.
#include "CDPlayer.h"

#include "IniFiles.h"

#include <map>

const char* const CDInfoFileName = "RizarOdaza.ini";

namespace {

const char* const kScript = "/~cddb/cddb.cgi?cmd=";
// Appended after lower-casing: the greeting keeps its capitals.
const char* const kGreeting = "&hello=AudioUser+hostname+Dunmarle+1.0&proto=4";
// A disc holds at most 99 tracks; a larger count in the file is not a disc's.
constexpr int kMaxTracks = 99;

String SectionName(int id) { return IntToHex(static_cast<uint32_t>(id), 6); }

}  // namespace

String TCDPlayer::BuildQueryURL(const String& server)
{
    int count = TrackCount();
    if (static_cast<int>(info_.Tracks.size()) != count)
        throw ECDPlayerError("Table of content is not initialized.");
    String url = "http://" + server + kScript + "cddb+query+" + IntToHex(discId_, 8) + "+" + IntToStr(count);
    for (const TTOCEntry& e : info_.Tracks)
        url += "+" + IntToStr(e.StartFrame);
    uint32_t length = DiscLength();
    url += "+" + IntToStr((length & 0xFF) * 60 + ((length >> 8) & 0xFF));
    return LowerCase(url) + kGreeting;
}

String TCDPlayer::BuildReadURL(const String& server, const String& category, const String& idText) const
{
    String url = "http://" + server + kScript + "cddb+read+" + category;
    if (!idText.empty())
        url += "+" + idText;
    return LowerCase(url) + kGreeting;
}

bool TCDPlayer::SaveCDInfo(int id, const String& artist, const String& title, const String& date,
                           const String& category, const TStrings& names) const
{
    // Identity 0 means no disc could be asked; all such discs would share one section.
    if (id == 0)
        return false;
    TIniFile ini(CDInfoFileName);
    String section = SectionName(id);
    // One write of the file for the whole disc, done when this returns.
    ini.BeginUpdate();
    ini.WriteString(section, "artist", artist);
    ini.WriteString(section, "title", title);
    // No names to give never replaces the names stored before.
    if (names.Count() > 0)
        ini.WriteInteger(section, "numtracks", names.Count());
    ini.WriteString(section, "date", date);
    for (int i = 0; i < names.Count(); ++i)
        ini.WriteString(section, IntToStr(i), names[i]);
    ini.EndUpdate();
    return true;
}

bool TCDPlayer::LoadCDInfo(int id, String& artist, String& title, String& date, String& category,
                           TStrings& names) const
{
    names.Clear();
    if (id == 0)
        return false;
    TStringList lines;
    TIniFile(CDInfoFileName).ReadSectionValues(SectionName(id), lines);
    if (lines.Count() == 0)
        return false;
    std::map<String, String> values;  // upper-cased keys
    for (int i = 0; i < lines.Count(); ++i) {
        size_t eq = lines[i].find('=');
        values.emplace(UpperCase(lines[i].substr(0, eq)), eq == String::npos ? String() : lines[i].substr(eq + 1));
    }
    auto value = [&values](const String& key) {
        auto it = values.find(UpperCase(key));
        return it == values.end() ? String() : it->second;
    };
    title = value("title");
    artist = value("artist");
    date = value("date");
    category = value("category");
    int count = StrToIntDef(value("numtracks"), 0);
    if (count > kMaxTracks)
        count = kMaxTracks;
    for (int i = 0; i < count; ++i)
        names.Add(value(IntToStr(i)));
    return true;
}

void TCDPlayer::SetCDInfo(const String& artist, const String& title, const String& date,
                          const String& category, const TStrings& names)
{
    info_.Artist = Trim(artist);
    info_.Title = Trim(title);
    info_.Category = Trim(category);
    info_.Date = date;
    // The table of contents keeps the disc's track count, so that the disc id can still be
    // computed; without one, there is a track for each name. Every track takes its name from
    // the names given, so no name of an earlier entry survives.
    if (info_.Tracks.empty())
        info_.Tracks.resize(static_cast<size_t>(names.Count()));
    for (int i = 0; i < static_cast<int>(info_.Tracks.size()); ++i)
        info_.Tracks[i].Name = i < names.Count() ? names[i] : String();
}
