#include "CoverReply.h"

#include <algorithm>
#include <cctype>

namespace {

// Text passes through the code page the list was written in: what it cannot hold shows "?".
String Narrow(const String& value) { return AnsiToUtf8(Utf8ToAnsi(value)); }

// A text as the list shows it: a long one is cut on a character boundary and ends in an
// ellipsis, before anything else is done with it.
String Shown(const String& value)
{
    size_t characters = 0;
    for (size_t i = 0; i < value.size(); ++i)
        if ((static_cast<unsigned char>(value[i]) & 0xC0) != 0x80 && ++characters > kMaxReplyText)
            return MarkupText(Narrow(value.substr(0, i) + "\xE2\x80\xA6"));
    return MarkupText(Narrow(value));
}

String Link(const String& value) { return value.size() > kMaxReplyLink ? String() : MarkupLinkTarget(Narrow(value)); }

bool StartsEntity(const String& value, size_t at)
{
    size_t i = at + 1;
    while (i < value.size() && (std::isalnum(static_cast<unsigned char>(value[i])) || value[i] == '#'))
        ++i;
    return i > at + 1 && i < value.size() && value[i] == ';';
}

}  // namespace

String MarkupText(const String& value)
{
    String out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '\r':
        case '\n': out += ' '; break;
        default: out += c;
        }
    }
    return out;
}

String MarkupLinkTarget(const String& value)
{
    String out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == '"' || c == '\'' || c == '<' || c == '>' || c <= ' ' || c == 0x7F || (c == '&' && StartsEntity(value, i)))
            out += Format("%%%02X", c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

String ReplyTitleLine(TXMLTitleType& title)
{
    String line = "<A href=\"" + Link(title.Image()) + "\">" + Shown(title.Name()) + "</A><br>" +
                  "<FONT  size=\"7\" >Added : " + Shown(title.Added()) + "  (" + Shown(title.Uploader()) +
                  ")</FONT><br>";
    IXMLCoversType covers = title.Covers();
    const int count = std::min(covers->Count(), kMaxTitleCovers);
    for (int j = 0; j < count; ++j) {
        IXMLCoverType cover = covers->Cover(j);
        line += "<A href=\"" + Link(cover->Url()) + "\">" + Shown(cover->Type()) + "</A>    ";
    }
    return line + "<br><hr>";
}

void ReplyLines(const std::string& bytes, const std::function<void(const String&)>& add)
{
    TXMLDocument document;
    document.LoadFromXML(bytes);
    IXMLRspType reply = Getrsp(document);
    const int count = std::min(reply->Count(), kMaxReplyTitles);
    for (int i = 0; i < count; ++i)
        add(ReplyTitleLine(*reply->Title(i)));
}
