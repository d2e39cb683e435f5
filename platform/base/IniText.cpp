#include "IniText.h"

#include "Classes.h"
#include "RegularFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unordered_set>

namespace {

// Far beyond any settings file; a larger one is not read, and so never rewritten.
constexpr size_t kMaxIniSize = 64 * 1024 * 1024;

bool IsHeader(const String& trimmed) { return !trimmed.empty() && trimmed[0] == '['; }

String HeaderName(const String& trimmed)
{
    size_t close = trimmed.find(']');
    return Trim(trimmed.substr(1, close == String::npos ? String::npos : close - 1));
}

// Splits "key = value"; false for blank lines, comments and lines without '='.
bool SplitKey(const String& line, String& key, String& value)
{
    String t = Trim(line);
    if (t.empty() || t[0] == ';' || IsHeader(t))
        return false;
    size_t eq = t.find('=');
    if (eq == String::npos)
        return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return !key.empty();
}

// A line break inside a name or value would start a new line in the file.
String OneLine(String s)
{
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

// Names match without regard to case, as the platform matches them.
bool SameText(const String& a, const String& b) { return UpperCase(a) == UpperCase(b); }

}  // namespace

void TIniText::Load(const String& fileName)
{
    lines_.clear();
    unread_.clear();
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 && errno == ENOENT)
        return;
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadRegularFile(fileName, kMaxIniSize);
    } catch (const Exception& e) {
        unread_ = e.Message;
        return;
    }
    TStringList list;
    list.SetText(AnsiToUtf8(std::string(bytes.begin(), bytes.end())));
    lines_.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        lines_.push_back(list[i]);
}

void TIniText::Save(const String& fileName) const
{
    // Writing what was read of a file that could not be read would destroy it.
    if (!unread_.empty())
        throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), unread_.c_str()));
    std::string bytes;
    for (const String& line : lines_)
        bytes += Utf8ToAnsi(line) + "\r\n";
    WriteFileAtomically(fileName, bytes.data(), bytes.size());
}

int TIniText::HeaderLine(const String& section) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        String t = Trim(lines_[i]);
        if (IsHeader(t) && SameText(HeaderName(t), section))
            return static_cast<int>(i);
    }
    return -1;
}

int TIniText::SectionEnd(int header) const
{
    int i = header + 1;
    while (i < static_cast<int>(lines_.size()) && !IsHeader(Trim(lines_[i])))
        ++i;
    return i;
}

bool TIniText::HasHeader(const String& section) const { return HeaderLine(section) >= 0; }

std::vector<std::pair<String, String>> TIniText::Keys(const String& section) const
{
    std::vector<std::pair<String, String>> keys;
    int header = HeaderLine(section);
    if (header < 0)
        return keys;
    std::unordered_set<String> seen;  // upper-cased: a section of thousands of keys stays linear
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i) {
        String key, value;
        if (SplitKey(lines_[i], key, value) && seen.insert(UpperCase(key)).second)
            keys.emplace_back(key, value);
    }
    return keys;
}

bool TIniText::Find(const String& section, const String& key, String& value) const
{
    int header = HeaderLine(section);
    if (header < 0)
        return false;
    const String wanted = UpperCase(key);
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i) {
        String k, v;
        if (SplitKey(lines_[i], k, v) && UpperCase(k) == wanted) {
            value = v;
            return true;
        }
    }
    return false;
}

void TIniText::AddHeader(const String& section)
{
    if (!HasHeader(section))
        lines_.push_back("[" + OneLine(section) + "]");
}

void TIniText::Set(const String& section, const String& key, const String& value)
{
    String line = OneLine(key) + "=" + OneLine(value);
    int header = HeaderLine(section);
    if (header < 0) {
        lines_.push_back("[" + OneLine(section) + "]");
        lines_.push_back(line);
        return;
    }
    int end = SectionEnd(header);
    int lastKey = header;
    for (int i = header + 1; i < end; ++i) {
        String k, v;
        if (!SplitKey(lines_[i], k, v))
            continue;
        if (SameText(k, key)) {
            lines_[i] = line;
            return;
        }
        lastKey = i;
    }
    lines_.insert(lines_.begin() + lastKey + 1, line);
}
