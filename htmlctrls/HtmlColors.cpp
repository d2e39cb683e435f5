#include "HtmlColors.h"

#include <iterator>

namespace {
struct NamedColor {
    const char* name;
    TColor color;
};

const NamedColor kPlainColors[] = {
    {"clred", clRed},       {"clblack", clBlack},   {"clblue", clBlue},     {"clgreen", clGreen},
    {"claqua", clAqua},     {"clyellow", clYellow}, {"clfuchsia", clFuchsia}, {"clwhite", clWhite},
    {"cllime", clLime},     {"clsilver", clSilver}, {"clgray", clGray},     {"clolive", clOlive},
    {"clnavy", clNavy},     {"clpurple", clPurple}, {"clteal", clTeal},     {"clmaroon", clMaroon},
};

const NamedColor kSystemColors[] = {
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

int HexByte(const String& text, size_t at)
{
    int hi = at < text.size() ? HexDigit(text[at]) : 0;
    int lo = at + 1 < text.size() ? HexDigit(text[at + 1]) : 0;
    return hi * 16 + lo;
}
}  // namespace

TColor HexToColor(const String& text)
{
    size_t at = !text.empty() && text[0] == '#' ? 1 : 0;
    return RGB(HexByte(text, at), HexByte(text, at + 2), HexByte(text, at + 4));
}

TColor HtmlColorByName(const String& value)
{
    if (value.empty())
        return clNone;
    if (value[0] == '#')
        return HexToColor(value);
    String name = LowerCase(value);
    TColor found = 0;
    for (const auto& c : kPlainColors)
        if (name == c.name)
            found = c.color;
    // clBlack is 0 as well, so the system colours are looked up only when the first table gave 0.
    if (found == 0)
        for (const auto& c : kSystemColors)
            if (name == c.name)
                found = c.color;
    return found;
}
