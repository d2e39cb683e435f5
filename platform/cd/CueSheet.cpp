#include "CueSheet.h"

#include "RegularFile.h"

#include <cctype>
#include <sstream>

namespace {

// A sheet of 99 tracks with titles and performers is a few kilobytes.
constexpr size_t kMaxSheetSize = 256 * 1024;

[[noreturn]] void Refuse(const String& sheetName, const String& reason)
{
    throw ECueSheetError(Format("The CUE sheet \"%s\" cannot be used: %s.", sheetName.c_str(), reason.c_str()));
}

int SectorSizeOf(const String& mode)
{
    if (mode == "AUDIO" || mode == "MODE1/2352" || mode == "MODE2/2352")
        return 2352;
    if (mode == "MODE1/2048")
        return 2048;
    if (mode == "MODE2/2336")
        return 2336;
    return 0;
}

// Splits a line into words; a double-quoted word may hold blanks. False on an unclosed quote.
bool Words(const std::string& line, std::vector<std::string>& words)
{
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        if (line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string::npos)
                return false;
            word = line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
                word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

// "2 digits" as a CUE sheet writes numbers; -1 when it is not one.
int SmallNumber(const std::string& s)
{
    if (s.empty() || s.size() > 2)
        return -1;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
    return std::stoi(s);
}

// "mm:ss:ff"; -1 when malformed or out of range.
int32_t Frames(const std::string& s)
{
    if (s.size() != 8 || s[2] != ':' || s[5] != ':')
        return -1;
    int m = SmallNumber(s.substr(0, 2)), sec = SmallNumber(s.substr(3, 2)), f = SmallNumber(s.substr(6, 2));
    if (m < 0 || sec < 0 || sec >= 60 || f < 0 || f >= 75)
        return -1;
    return (m * 60 + sec) * 75 + f;
}

String MsfText(int32_t frames) { return Format("%02d:%02d:%02d", frames / 4500, frames / 75 % 60, frames % 75); }

String Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool PrintableName(const std::string& name)
{
    for (unsigned char c : name)
        if (c < 32 || c == 127)
            return false;
    return !name.empty();
}

}  // namespace

int32_t TCueTrack::Start() const
{
    for (const TCueIndex& i : Indexes)
        if (i.Number == 1)
            return i.Frame;
    return 0;
}

TCueSheet ParseCueSheet(const std::string& text, const String& sheetName)
{
    if (text.size() > kMaxSheetSize)
        Refuse(sheetName, "it is larger than 256 KB");
    if (text.find('\0') != std::string::npos)
        Refuse(sheetName, "it is not a text file");
    TCueSheet sheet;
    std::istringstream in(text);
    std::string line;
    std::vector<std::string> w;
    int lineNo = 0;
    auto bad = [&](const char* what) { Refuse(sheetName, Format("line %d: %s", lineNo, what)); };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        if (!Words(line, w))
            bad("unclosed quote");
        if (w.empty())
            continue;
        const String command = Upper(w[0]);
        if (command == "FILE") {
            if (!sheet.DataFile.empty())
                bad("a second FILE line (one data file per image)");
            if (w.size() != 3 || !PrintableName(w[1]))
                bad("FILE needs a file name and a type");
            if (Upper(w[2]) != "BINARY")
                bad("only BINARY data files can be read");
            sheet.DataFile = w[1];
        } else if (command == "TRACK") {
            if (sheet.DataFile.empty())
                bad("TRACK before FILE");
            if (sheet.Tracks.size() >= static_cast<size_t>(kCueMaxTracks))
                Refuse(sheetName, "it has more than 99 tracks");
            int number = w.size() == 3 ? SmallNumber(w[1]) : -1;
            if (number < 1)
                bad("TRACK needs a number from 1 to 99 and a mode");
            if (!sheet.Tracks.empty() && number != sheet.Tracks.back().Number + 1)
                bad("track numbers must follow each other");
            String mode = Upper(w[2]);
            int sectorSize = SectorSizeOf(mode);
            if (sectorSize == 0)
                bad("unknown track mode");
            if (!sheet.Tracks.empty() && sheet.Tracks.back().Indexes.empty())
                bad("the track before has no INDEX 01");
            sheet.Tracks.push_back(TCueTrack{number, mode, sectorSize, 0, {}});
        } else if (command == "INDEX") {
            if (sheet.Tracks.empty())
                bad("INDEX before TRACK");
            int number = w.size() == 3 ? SmallNumber(w[1]) : -1;
            int32_t frame = w.size() == 3 ? Frames(w[2]) : -1;
            if (number < 0 || frame < 0)
                bad("INDEX needs a number from 0 to 99 and a position mm:ss:ff");
            auto& indexes = sheet.Tracks.back().Indexes;
            if (!indexes.empty() && (number <= indexes.back().Number || frame < indexes.back().Frame))
                bad("indexes must rise in number and position");
            if (indexes.empty() && number > 1)
                bad("a track's first index is 00 or 01");
            indexes.push_back(TCueIndex{number, frame});
        } else if (command == "PREGAP") {
            int32_t frame = w.size() == 2 ? Frames(w[1]) : -1;
            if (sheet.Tracks.empty() || !sheet.Tracks.back().Indexes.empty() || frame < 0)
                bad("PREGAP needs a position and belongs before a track's indexes");
            sheet.Tracks.back().Pregap = frame;
        }
        // Everything else (titles, performers, remarks, flags, ISRC, POSTGAP) describes the disc
        // but does not shape its table of contents, and is not passed on.
    }
    if (sheet.Tracks.empty())
        Refuse(sheetName, "it has no tracks");
    int32_t previous = -1;
    int32_t gaps = 0;
    for (const TCueTrack& t : sheet.Tracks) {
        bool hasStart = false;
        for (const TCueIndex& i : t.Indexes)
            hasStart = hasStart || i.Number == 1;
        if (!hasStart)
            Refuse(sheetName, Format("track %d has no INDEX 01", t.Number));
        if (t.Start() <= previous)
            Refuse(sheetName, Format("track %d does not start after the track before", t.Number));
        if (!t.Indexes.empty() && t.Indexes.front().Frame <= previous)
            Refuse(sheetName, Format("track %d overlaps the track before", t.Number));
        previous = t.Start();
        gaps += t.Pregap;
        if (previous + gaps >= kCueMaxFrames)
            Refuse(sheetName, "it is longer than 100 minutes");
    }
    return sheet;
}

void CheckCueDataSize(const TCueSheet& sheet, uint64_t dataSize, const String& sheetName)
{
    // Each track's frames have its own size in the file, so positions become byte offsets
    // track by track.
    uint64_t offset = 0;
    int32_t at = 0;
    int sectorSize = sheet.Tracks.front().SectorSize;
    for (const TCueTrack& t : sheet.Tracks) {
        offset += static_cast<uint64_t>(t.Start() - at) * static_cast<uint64_t>(sectorSize);
        at = t.Start();
        sectorSize = t.SectorSize;
        if (offset >= dataSize)
            Refuse(sheetName, Format("track %d starts beyond the end of \"%s\"", t.Number, sheet.DataFile.c_str()));
    }
    uint64_t frames = static_cast<uint64_t>(at) + (dataSize - offset) / static_cast<uint64_t>(sectorSize);
    if (frames >= static_cast<uint64_t>(kCueMaxFrames))
        Refuse(sheetName, Format("\"%s\" holds more than 100 minutes", sheet.DataFile.c_str()));
}

std::string CanonicalCueText(const TCueSheet& sheet, const String& dataName)
{
    std::string text = "FILE \"" + dataName + "\" BINARY\n";
    for (const TCueTrack& t : sheet.Tracks) {
        text += Format("  TRACK %02d %s\n", t.Number, t.Mode.c_str());
        if (t.Pregap > 0)
            text += "    PREGAP " + MsfText(t.Pregap) + "\n";
        for (const TCueIndex& i : t.Indexes)
            text += Format("    INDEX %02d ", i.Number) + MsfText(i.Frame) + "\n";
    }
    return text;
}

TCheckedCue ReadCueSheet(const String& fileName)
{
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadRegularFile(fileName, kMaxSheetSize);
    } catch (const EReadError&) {
        Refuse(fileName, "it is larger than 256 KB");
    }
    TCheckedCue checked;
    checked.Sheet = ParseCueSheet(std::string(bytes.begin(), bytes.end()), fileName);
    const String& data = checked.Sheet.DataFile;
    checked.DataPath = !data.empty() && data[0] == '/' ? data : ExtractFilePath(fileName) + data;
    uint64_t dataSize = 0;
    try {
        dataSize = TRegularFile(checked.DataPath).Size();
    } catch (const EFOpenError& e) {
        Refuse(fileName, e.Message);
    }
    CheckCueDataSize(checked.Sheet, dataSize, fileName);
    return checked;
}
