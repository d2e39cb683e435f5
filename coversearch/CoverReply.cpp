#include "CoverReply.h"

#include <cctype>

namespace {

// Text passes through the code page the list was written in: what it cannot hold shows "?".
String Narrow(const String& value) { return AnsiToUtf8(Utf8ToAnsi(value)); }

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
    String line = "<A href=\"" + MarkupLinkTarget(Narrow(title.Image())) + "\">" + MarkupText(Narrow(title.Name())) +
                  "</A><br>" + "<FONT  size=\"7\" >Added : " + MarkupText(Narrow(title.Added())) + "  (" +
                  MarkupText(Narrow(title.Uploader())) + ")</FONT><br>";
    IXMLCoversType covers = title.Covers();
    for (int j = 0; j < covers->Count(); ++j) {
        IXMLCoverType cover = covers->Cover(j);
        line += "<A href=\"" + MarkupLinkTarget(Narrow(cover->Url())) + "\">" + MarkupText(Narrow(cover->Type())) +
                "</A>    ";
    }
    return line + "<br><hr>";
}

void ReplyLines(const std::string& bytes, const std::function<void(const String&)>& add)
{
    TXMLDocument document;
    document.LoadFromXML(bytes);
    IXMLRspType reply = Getrsp(document);
    const int count = reply->Count();
    for (int i = 0; i < count; ++i)
        add(ReplyTitleLine(*reply->Title(i)));
}
