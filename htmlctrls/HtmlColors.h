#pragma once
// Colours written in mark-up: "#RRGGBB" or a colour constant's name.
#include "Graphics.h"

// "#" and six hexadecimal digits, two each for red, green and blue; a digit that is not
// hexadecimal counts as 0.
TColor HexToColor(const String& text);

// A value that begins with "#" is hexadecimal; anything else is looked up by name, ignoring
// case ("clRed", "clBtnFace"); an unknown name is black and an empty value clNone.
TColor HtmlColorByName(const String& value);
