#pragma once
// The run-time routines and exception classes the program's code is written against.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using String = std::string;  // UTF-8 text

class Exception : public std::exception {
public:
    explicit Exception(String message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    String Message;
};

class EListError : public Exception { using Exception::Exception; };
class EConvertError : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
class EInvalidGraphic : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };

// printf-style formatting into a String.
String Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

String IntToStr(int64_t value);
String IntToHex(uint64_t value, int digits);
// Raises EConvertError "'%s' is not a valid integer value".
int StrToInt(const String& text);
int StrToIntDef(const String& text, int fallback);
String Trim(const String& text);
String UpperCase(const String& text);
String LowerCase(const String& text);
// The first count characters (not bytes) of UTF-8 text, so a cut never splits a character.
String LeftStr(const String& text, size_t count);

// (a * b) / c with a 64-bit product, halves rounded away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);
// Toward zero, on an extended-precision value.
int64_t Trunc(long double value);
// Half to even.
int64_t Round(long double value);

String ExtractFilePath(const String& fileName);  // with trailing separator
String ExtractFileDir(const String& fileName);   // without it, but "/" for the root
String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);   // with the dot
String ChangeFileExt(const String& fileName, const String& ext);
String IncludeTrailingPathDelimiter(const String& path);
bool FileExists(const String& fileName);

// The subset of the run-time's date format the program uses: d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss.
String FormatDateTime(const String& format, const struct tm& when);
String FormatNow(const String& format);

// Windows-1252 at the edges of stored 8-bit text; characters it cannot hold become '?'.
std::string Utf8ToAnsi(const String& text);
String AnsiToUtf8(const std::string& bytes);
// A character that Windows-1252 cannot hold: as text, and its code point to name it by where no
// font shows it.
struct TUnmappable {
    String Text;
    char32_t CodePoint;
};
// The characters of the text that Windows-1252 cannot hold, each once, in order of appearance.
std::vector<TUnmappable> AnsiUnmappable(const String& text);

// Last OS error as text, for the file errors.
String SysErrorMessage(int error);
