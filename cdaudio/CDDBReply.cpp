#include "CDDBReply.h"

#include <cctype>
#include <cstdint>

namespace {

constexpr size_t kMaxPiece = 1024;  // characters taken from one line's value
constexpr int kMaxTracks = 99;

std::vector<std::string> Lines(const std::string& reply, size_t most = SIZE_MAX)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < reply.size() && lines.size() < most) {
        size_t end = reply.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = reply.size();
        lines.push_back(reply.substr(start, end - start));
        start = end + (reply.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The first word, and the line without it and its blank.
std::string TakeCode(std::string& line)
{
    size_t blank = line.find(' ');
    if (blank == std::string::npos)
        return Trim(line);
    std::string code = Trim(line.substr(0, blank));
    line.erase(0, blank + 1);
    return code;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// The text cut to at most length characters of the code page, the cut marked with its ellipsis.
std::string Shortened(const std::string& text, size_t length)
{
    return text.size() <= length ? text : text.substr(0, length - 1) + '\x85';
}

// Appends a further piece of a value spread over lines, keeping the whole within bounds.
void AppendPiece(std::string& value, const std::string& piece)
{
    if (value.size() < kMaxEntryText + 1)
        value += piece.substr(0, kMaxEntryText + 1 - value.size());
}

}  // namespace

TCDDBQueryReply ParseQueryReply(const std::string& reply)
{
    TCDDBQueryReply result;
    // Lines beyond the most that can be offered are never split off.
    std::vector<std::string> lines = Lines(reply, kMaxMatches + 1);
    if (lines.empty())
        return result;
    std::string first = lines[0];
    result.ReplyCode = AnsiToUtf8(TakeCode(first));
    if (result.ReplyCode == "200") {
        if (!Trim(first).empty())
            result.Rows.push_back(AnsiToUtf8(Shortened(first, kMaxMatchLength)));
    } else if (result.ReplyCode == "210" || result.ReplyCode == "211") {
        for (size_t i = 1; i < lines.size() && Trim(lines[i]) != "."; ++i)
            if (!Trim(lines[i]).empty())
                result.Rows.push_back(AnsiToUtf8(Shortened(lines[i], kMaxMatchLength)));
    }
    return result;
}

void SplitQueryRow(const String& row, String& category, String& discId)
{
    String rest = Trim(row);
    size_t blank = rest.find(' ');
    category = Trim(rest.substr(0, blank));
    rest = blank == String::npos ? String() : Trim(rest.substr(blank + 1));
    discId = rest.substr(0, rest.find(' '));
}

bool ParseReadReply(const std::string& reply, TCDDBReadReply& entry)
{
    std::vector<std::string> lines = Lines(reply);
    std::string first = lines.empty() ? std::string() : lines[0];
    entry.ReplyCode = AnsiToUtf8(TakeCode(first));
    if (entry.ReplyCode != "210")
        return false;

    std::string dtitle;
    size_t last = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (StartsWith(lines[i], "DTITLE=")) {
            AppendPiece(dtitle, lines[i].substr(7, kMaxPiece));
            last = i;
        } else if (!dtitle.empty()) {
            break;
        }
    }
    dtitle = Shortened(dtitle, kMaxEntryText);
    entry.Artist.clear();
    entry.Title.clear();
    size_t split = dtitle.find(" / ");
    if (split != std::string::npos) {
        entry.Artist = AnsiToUtf8(dtitle.substr(0, split));
        entry.Title = AnsiToUtf8(dtitle.substr(split + 3, kMaxPiece));
    } else {
        // Without the separator the disc is named by one text, which is artist and title alike.
        entry.Artist = entry.Title = AnsiToUtf8(dtitle.substr(0, kMaxPiece));
    }

    // A name too long for one line goes on in a second line with the same index.
    std::vector<std::string> names;
    for (size_t i = last + 1; i < lines.size() && StartsWith(lines[i], "TTITLE"); ++i) {
        const std::string& line = lines[i];
        size_t p = 6, digits = 0;
        int n = 0;
        while (p < line.size() && std::isdigit(static_cast<unsigned char>(line[p])) && digits < 3) {
            n = n * 10 + (line[p] - '0');
            ++p;
            ++digits;
        }
        if (digits == 0 || p >= line.size() || line[p] != '=' || n >= kMaxTracks)
            continue;
        if (static_cast<size_t>(n) >= names.size())
            names.resize(n + 1);
        AppendPiece(names[n], line.substr(p + 1, kMaxPiece));
    }
    entry.Names.Clear();
    for (const std::string& name : names)
        entry.Names.Add(AnsiToUtf8(Shortened(name, kMaxEntryText)));
    return true;
}
