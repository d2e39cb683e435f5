#include "HtmlTextUtils.h"

#include <cctype>

namespace {
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool MatchAt(const String& s, size_t at, const String& what)
{
    if (at + what.size() > s.size())
        return false;
    for (size_t k = 0; k < what.size(); ++k)
        if (Upper(s[at + k]) != Upper(what[k]))
            return false;
    return true;
}

struct Entity {
    const char* name;
    const char* text;
};

// The Windows-1252 characters the entities stand for, written as Unicode.
const Entity kEntities[] = {
    {"&amp;", "&&"},      {"&quot;", "\""},          {"&sect;", "\xC2\xA7"},
    {"&permil;", "\xE2\x80\xB0"}, {"&reg;", "\xC2\xAE"}, {"&copy;", "\xC2\xA9"},
    {"&para;", "\xC2\xB6"}, {"&trade;", "\xE2\x84\xA2"}, {"&euro;", "\xE2\x82\xAC"},
};

const Entity kRunEntities[] = {{"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}};

template <size_t N>
String DecodeWith(const String& text, const Entity (&table)[N], bool keepDoubled)
{
    if (text.find('&') == String::npos)
        return text;
    String out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        if (keepDoubled && i + 1 < text.size() && text[i + 1] == '&') {
            out += "&&";
            i += 2;
            continue;
        }
        bool replaced = false;
        for (const Entity& e : table) {
            String name = e.name;
            if (MatchAt(text, i, name)) {
                out += e.text;
                i += name.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}
}  // namespace

size_t PosNoCase(const String& s, const String& what, size_t from)
{
    if (what.empty())
        return from <= s.size() ? from : String::npos;
    for (size_t i = from; i + what.size() <= s.size(); ++i)
        if (MatchAt(s, i, what))
            return i;
    return String::npos;
}

bool StartsWithNoCase(const String& s, const String& prefix) { return MatchAt(s, 0, prefix); }

String ReplaceAllNoCase(const String& s, const String& what, const String& with)
{
    if (what.empty())
        return s;
    String out;
    size_t i = 0;
    for (size_t at; (at = PosNoCase(s, what, i)) != String::npos; i = at + what.size())
        out.append(s, i, at - i).append(with);
    out.append(s, i, String::npos);
    return out;
}

String DecodeEntities(const String& text) { return DecodeWith(text, kEntities, false); }

String DecodeRunEntities(const String& run) { return DecodeWith(run, kRunEntities, true); }

bool TagAttribute(const String& upperTag, const String& valueSource, const char* name, String& value)
{
    // Blanks may stand around "="; a name that only begins a longer one (BGCOLOR in BGCOLORTO)
    // is not followed by "=" and so is passed over.
    const String key = name;
    size_t after = String::npos;
    for (size_t at = upperTag.find(key); at != String::npos; at = upperTag.find(key, at + 1)) {
        size_t i = at + key.size();
        while (i < upperTag.size() && upperTag[i] == ' ')
            ++i;
        if (i < upperTag.size() && upperTag[i] == '=') {
            after = i + 1;
            break;
        }
    }
    if (after == String::npos)
        return false;
    value.clear();
    size_t open = upperTag.find('"', after);
    if (open == String::npos)
        return true;
    size_t close = upperTag.find('"', open + 1);
    if (close == String::npos)
        return true;
    value = valueSource.substr(open + 1, close - open - 1);
    return true;
}

int LeadingNumber(const String& value, int low, int high, int fallback)
{
    size_t i = 0;
    while (i < value.size() && value[i] == ' ')
        ++i;
    if (i >= value.size() || !std::isdigit(static_cast<unsigned char>(value[i])))
        return fallback;
    long long n = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i)
        if (n <= high)
            n = n * 10 + (value[i] - '0');
    if (n < low)
        return low;
    return n > high ? high : static_cast<int>(n);
}
