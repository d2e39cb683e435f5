#include "HtmlStrip.h"

#include "HtmlTextUtils.h"

namespace {
String RemoveHidden(String s, const char* open, const char* close)
{
    size_t from = 0;
    while ((from = s.find(open, from)) != String::npos) {
        size_t end = s.find(close, from + 3);
        if (end == String::npos) {
            s.erase(from);
            break;
        }
        s.erase(from, end + 4 - from);
    }
    return s;
}
}  // namespace

String HtmlStrip(const String& text)
{
    String s = ReplaceAllNoCase(text, "<BR>", "\r\n");
    s = ReplaceAllNoCase(s, "<HR>", "\r\n");
    s = RemoveHidden(s, "<z>", "</z>");
    s = RemoveHidden(s, "<Z>", "</Z>");
    String out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        size_t lt = s.find('<', i);
        if (lt == String::npos) {
            out.append(s, i, String::npos);
            break;
        }
        out.append(s, i, lt - i);
        size_t gt = s.find('>', lt);
        if (gt == String::npos)
            break;
        i = gt + 1;
    }
    return out;
}
