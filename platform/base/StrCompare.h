#pragma once
// String comparison in the user's locale, letter case counting (the run-time's AnsiCompareStr):
// negative, 0 or positive.
#include "SysUtils.h"

int AnsiCompareStr(const String& a, const String& b);
