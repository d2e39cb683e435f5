#pragma once
// Floating-point text the way the class library reads and writes it.
#include "SysUtils.h"

// The decimal separator used by StrToFloat and FormatFloat.
extern char DecimalSeparator;

// Raises EConvertError "'%s' is not a valid floating point value" for anything but an optionally
// signed decimal number (surrounding blanks allowed, an exponent allowed).
double StrToFloat(const String& text);

// Formats by a picture of '#' and '0' with at most one '.': '0' before the separator sets the
// least number of integer digits, the characters after it the number of decimals (rounded half
// away from zero). Thousands separators and exponents are not supported.
String FormatFloat(const String& format, double value);
