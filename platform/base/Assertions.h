#pragma once
// The class library's assertion failure: an exception with the message and where it was raised.
#include "SysUtils.h"

class EAssertionFailed : public Exception { using Exception::Exception; };

// Raises EAssertionFailed "message (file, line n)" when the condition does not hold.
inline void Assert(bool condition, const String& message, const char* file, int line)
{
    if (condition)
        return;
    throw EAssertionFailed(Format("%s (%s, line %d)", message.c_str(), ExtractFileName(file).c_str(), line));
}
