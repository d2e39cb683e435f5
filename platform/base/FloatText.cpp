#include "FloatText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

char DecimalSeparator = '.';

double StrToFloat(const String& text)
{
    auto fail = [&]() { throw EConvertError(Format("'%s' is not a valid floating point value", text.c_str())); };
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    if (b == String::npos)
        fail();
    String s = text.substr(b, e - b + 1);
    String normal;
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        normal += s[i++];
    int digits = 0;
    bool separator = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            normal += c;
            ++digits;
        } else if (c == DecimalSeparator && !separator) {
            normal += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        fail();
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            normal += s[i++];
        size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            normal += s[i++];
        if (i == start)
            fail();
    }
    if (i != s.size())
        fail();
    double v = std::strtod(normal.c_str(), nullptr);
    if (!std::isfinite(v))
        fail();
    return v;
}

String FormatFloat(const String& format, double value)
{
    size_t dot = format.find('.');
    String intPart = dot == String::npos ? format : format.substr(0, dot);
    int minInt = 0;
    for (char c : intPart)
        if (c == '0')
            ++minInt;
    int decimals = 0;
    if (dot != String::npos)
        for (size_t i = dot + 1; i < format.size(); ++i)
            if (format[i] == '0' || format[i] == '#')
                ++decimals;
    double scale = std::pow(10.0, decimals);
    double scaled = std::round(std::fabs(value) * scale);  // half away from zero
    bool negative = value < 0 && scaled != 0;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, scaled / scale);
    String digits = buffer;
    String whole = digits.substr(0, digits.find('.'));
    String fraction = decimals > 0 ? digits.substr(digits.find('.') + 1) : String();
    if (whole == "0" && minInt == 0)
        whole.clear();
    while (static_cast<int>(whole.size()) < minInt)
        whole.insert(whole.begin(), '0');
    String out = negative ? "-" : "";
    out += whole;
    if (decimals > 0) {
        out += DecimalSeparator;
        out += fraction;
    }
    return out;
}
