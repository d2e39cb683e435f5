#pragma once
// Text helpers of the mark-up: case-insensitive search and replace, entities, tag attributes.
#include "SysUtils.h"

// Position of what in s at or after from, ignoring ASCII case; npos when absent.
size_t PosNoCase(const String& s, const String& what, size_t from = 0);
bool StartsWithNoCase(const String& s, const String& prefix);
String ReplaceAllNoCase(const String& s, const String& what, const String& with);

// The nine named entities of the whole text, decoded in one pass, so the text an entity stands
// for is never read as mark-up again ("&amp;quot;" shows "&quot;"). "&amp;" becomes "&&", which
// drawing shows as one ampersand.
String DecodeEntities(const String& text);

// "&nbsp;", "&lt;" and "&gt;" of one run of text; an escaped "&&" is left alone.
String DecodeRunEntities(const String& run);

// The value of an attribute of a tag: its name followed by "=" (blanks may stand around it) is
// searched in upperTag, the value is what stands between the next pair of double quotes, taken
// from valueSource (the tag as written, or upper-cased). False when the tag does not carry the
// attribute.
bool TagAttribute(const String& upperTag, const String& valueSource, const char* name, String& value);

// The leading decimal digits of a value, clamped to [low, high]; fallback when it has none.
int LeadingNumber(const String& value, int low, int high, int fallback);
