#pragma once
// Text metrics for layout tests: every character is CharWidth pixels wide and the character
// cell is the font's height plus 2 (13 for the canvas's default font), whatever fonts are
// installed. Records every run of text the canvas draws.
#include "Graphics.h"
#include "TextMetrics.h"

#include <cstdlib>
#include <vector>

class TFixedTextMetrics : public TTextMetrics {
public:
    static constexpr int CharWidth = 6;

    struct Run {
        String text;
        TRect cell;
        TColor color;
        TFontStyles style;
        String fontName;
        int fontSize;
    };
    std::vector<Run> drawn;

    int TextWidth(const TFont&, const String& text) override
    {
        int characters = 0;
        for (unsigned char c : text)
            if ((c & 0xC0) != 0x80)
                ++characters;
        return characters * CharWidth;
    }
    int TextHeight(const TFont& font) override { return std::abs(font.Height()) + 2; }
    void TextDrawn(const TFont& font, const String& shown, const TRect& cell) override
    {
        drawn.push_back({shown, cell, font.Color(), font.Style(), font.Name(), font.Size()});
    }
};
