#include "SysUtils.h"

#include <QByteArray>
#include <QDateTime>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <ctime>
#include <vector>

String Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::vector<char> buf(n > 0 ? n + 1 : 1);
    std::vsnprintf(buf.data(), buf.size(), fmt, args);
    va_end(args);
    return String(buf.data(), n > 0 ? n : 0);
}

String IntToStr(int64_t value) { return std::to_string(value); }

String IntToHex(uint64_t value, int digits)
{
    String s = Format("%llX", static_cast<unsigned long long>(value));
    if (static_cast<int>(s.size()) < digits)
        s.insert(0, digits - s.size(), '0');
    return s;
}

static bool ParseInt(const String& text, int& out)
{
    String t = Trim(text);
    if (t.empty())
        return false;
    size_t i = 0;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-')
        negative = t[i++] == '-';
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        int digit;
        char c = t[i];
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
            digit = std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        else
            return false;
        value = value * base + digit;
        if (value > (base == 16 ? 0xFFFFFFFFLL : 2147483648LL))
            return false;
    }
    if (base == 16 && !negative) {
        out = static_cast<int>(static_cast<uint32_t>(value));
        return true;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return false;
    out = static_cast<int>(value);
    return true;
}

int StrToInt(const String& text)
{
    int v;
    if (!ParseInt(text, v))
        throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    return v;
}

int StrToIntDef(const String& text, int fallback)
{
    int v;
    return ParseInt(text, v) ? v : fallback;
}

String Trim(const String& text)
{
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

String UpperCase(const String& text)
{
    String s = text;
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

String LowerCase(const String& text)
{
    String s = text;
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t q = product / c;
    int64_t r = product % c;
    // Halves and more go away from zero.
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<int64_t>(c) : c))
        q += ((product < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

int64_t Trunc(long double value) { return static_cast<int64_t>(value); }

// In the default rounding mode rintl rounds half to even as nearbyintl does, without saving and
// restoring the whole floating-point environment around it, which costs more than the rounding.
int64_t Round(long double value) { return static_cast<int64_t>(std::rintl(value)); }

static size_t LastSeparator(const String& fileName)
{
    size_t p = fileName.find_last_of("/\\");
    return p;
}

String LeftStr(const String& text, size_t count)
{
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count-- == 0)
            return text.substr(0, i);
    return text;
}

String ExtractFilePath(const String& fileName)
{
    size_t p = LastSeparator(fileName);
    return p == String::npos ? String() : fileName.substr(0, p + 1);
}

String ExtractFileDir(const String& fileName)
{
    String path = ExtractFilePath(fileName);
    if (path.size() > 1)
        path.pop_back();
    return path;
}

String ExtractFileName(const String& fileName)
{
    size_t p = LastSeparator(fileName);
    return p == String::npos ? fileName : fileName.substr(p + 1);
}

String ExtractFileExt(const String& fileName)
{
    size_t dot = fileName.find_last_of('.');
    size_t sep = LastSeparator(fileName);
    if (dot == String::npos || (sep != String::npos && dot < sep))
        return String();
    return fileName.substr(dot);
}

String ChangeFileExt(const String& fileName, const String& ext)
{
    String old = ExtractFileExt(fileName);
    return fileName.substr(0, fileName.size() - old.size()) + ext;
}

String IncludeTrailingPathDelimiter(const String& path)
{
    if (!path.empty() && path.back() == '/')
        return path;
    return path + "/";
}

bool FileExists(const String& fileName)
{
    QFileInfo info(QString::fromStdString(fileName));
    return info.exists() && !info.isDir();
}

String FormatDateTime(const String& format, const struct tm& when)
{
    String out;
    size_t i = 0;
    auto run = [&](char c) {
        size_t n = 0;
        while (i + n < format.size() && std::tolower(static_cast<unsigned char>(format[i + n])) == c)
            ++n;
        return n;
    };
    while (i < format.size()) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
        size_t n = (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's') ? run(c) : 0;
        auto two = [](int v) { return Format("%02d", v); };
        switch (n ? c : 0) {
        case 'd': out += n >= 2 ? two(when.tm_mday) : IntToStr(when.tm_mday); break;
        case 'm': out += n >= 2 ? two(when.tm_mon + 1) : IntToStr(when.tm_mon + 1); break;
        case 'y': out += n >= 4 ? IntToStr(when.tm_year + 1900) : two((when.tm_year + 1900) % 100); break;
        case 'h': out += n >= 2 ? two(when.tm_hour) : IntToStr(when.tm_hour); break;
        case 'n': out += n >= 2 ? two(when.tm_min) : IntToStr(when.tm_min); break;
        case 's': out += n >= 2 ? two(when.tm_sec) : IntToStr(when.tm_sec); break;
        default: out += format[i]; n = 1; break;
        }
        i += n;
    }
    return out;
}

String FormatNow(const String& format)
{
    std::time_t now = std::time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    return FormatDateTime(format, local);
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five holes map to themselves.
static const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

static char AnsiOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

std::string Utf8ToAnsi(const String& text)
{
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::string out;
    out.reserve(text.size());
    for (char32_t c : s.toUcs4())
        out.push_back(AnsiOf(c));
    return out;
}

std::vector<TUnmappable> AnsiUnmappable(const String& text)
{
    std::vector<TUnmappable> out;
    for (char32_t c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUcs4()) {
        if (AnsiOf(c) == '?' && c != U'?' &&
            std::none_of(out.begin(), out.end(), [c](const TUnmappable& u) { return u.CodePoint == c; }))
            out.push_back({QString::fromUcs4(&c, 1).toStdString(), c});
    }
    return out;
}

String AnsiToUtf8(const std::string& bytes)
{
    QString s;
    s.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char b : bytes)
        s.append(QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b)));
    return s.toStdString();
}

String SysErrorMessage(int error) { return std::strerror(error); }
