#pragma once
// Mark-up to plain text, without a canvas (the HTML controls sort by it).
#include "SysUtils.h"

// "<BR>" and "<HR>" become CR LF; hidden sections "<z>...</z>" and "<Z>...</Z>" go with their
// tags (an unclosed one hides the rest); every other tag goes; the text between tags stays as it
// is, entities included. A "<" with no ">" after it ends the text, as it does when drawn.
String HtmlStrip(const String& text);
