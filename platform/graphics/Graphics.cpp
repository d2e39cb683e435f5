#include "Graphics.h"
#include "GraphicsQt.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

using namespace graphics_qt;

// ---- colours ----------------------------------------------------------------------------------
namespace {
// The classic system palette, fixed so drawing does not depend on the desktop theme.
const TColor kSystemColors[31] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4,
};
}  // namespace

TColor ColorToRGB(TColor color)
{
    if (color < 0) {
        int index = color & 0xFF;
        return index < 31 ? kSystemColors[index] : 0;
    }
    if (color == clNone || color == clDefault)
        return clBlack;
    return color & 0xFFFFFF;
}

// ---- fonts, pens, brushes -------------------------------------------------------------------
TFont::TFont() = default;

int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }

void TFont::Assign(const TPersistent& source)
{
    auto* f = dynamic_cast<const TFont*>(&source);
    if (!f)
        return TPersistent::Assign(source);
    name_ = f->name_;
    // A height set for another resolution keeps its point size.
    height_ = f->PixelsPerInch == PixelsPerInch ? f->height_ : MulDiv(f->height_, PixelsPerInch, f->PixelsPerInch);
    color_ = f->color_;
    style_ = f->style_;
    orientation_ = f->orientation_;
    quality_ = f->quality_;
    Changed();
}

static QString FamilyFor(const String& name)
{
    String n = UpperCase(name);
    // Metric-compatible stand-ins for the fonts the windows and prints name.
    if (n == "ARIAL" || n == "MS SANS SERIF" || n == "TAHOMA" || n == "HELVETICA")
        return "Liberation Sans";
    if (n == "TIMES NEW ROMAN")
        return "Liberation Serif";
    if (n == "COURIER NEW" || n == "COURIER")
        return "Liberation Mono";
    // DejaVu Sans stands in for Verdana, and for Trebuchet MS, which the font configuration
    // would give it anyway: named at once, it spares the configuration's search for a substitute.
    if (n == "VERDANA" || n == "TREBUCHET MS")
        return "DejaVu Sans";
    // Text in "Symbol" is written with its Unicode characters; a font that holds them draws it.
    if (n == "SYMBOL")
        return "DejaVu Sans";
    return Q(name);
}

QFont TFont::ToQFont() const
{
    QFont f(FamilyFor(name_));
    // Grey-level smoothing only: colour fringes would change the pixels a print or a test sees.
    f.setStyleStrategy(quality_ == fqNonAntialiased ? QFont::NoAntialias : QFont::NoSubpixelAntialias);
    // Text extents are the sum of the characters' advances, without kerning, so drawn text
    // lines up with what was measured piece by piece.
    f.setKerning(false);
    f.setBold(style_ & fsBold);
    f.setItalic(style_ & fsItalic);
    f.setUnderline(style_ & fsUnderline);
    f.setStrikeOut(style_ & fsStrikeOut);
    int h = height_ == 0 ? 11 : height_;
    if (h < 0) {
        f.setPixelSize(std::max(1, -h));
        return f;
    }
    // A cell height: the largest em whose ascent plus descent is not above h. Cells grow in uneven
    // steps, so one rescale from a first guess can land a step off; walk from the guess instead.
    auto cell = [&f](int px) {
        f.setPixelSize(px);
        QFontMetrics m(f);
        return m.ascent() + m.descent();
    };
    const int first = cell(std::max(1, h));
    int px = first > 0 ? std::clamp(static_cast<int>(std::lround(double(h) * h / first)), 1, 2 * h) : h;
    while (px > 1 && cell(px) > h)
        --px;
    // A font of fixed sizes stops growing; the bound ends the walk for it.
    while (px < 2 * h && cell(px + 1) <= h)
        ++px;
    f.setPixelSize(px);
    return f;
}

void TPen::Assign(const TPersistent& source)
{
    auto* p = dynamic_cast<const TPen*>(&source);
    if (!p)
        return TPersistent::Assign(source);
    Color = p->Color;
    Width = p->Width;
    Style = p->Style;
    Mode = p->Mode;
    Changed();
}

void TBrush::Assign(const TPersistent& source)
{
    auto* b = dynamic_cast<const TBrush*>(&source);
    if (!b)
        return TPersistent::Assign(source);
    Color = b->Color;
    Style = b->Style;
    Changed();
}
