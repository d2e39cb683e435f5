#include "Graphics.h"
#include "TextMetrics.h"

#include "PictureLimits.h"
#include "PixelMemory.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QGlyphRun>
#include <QRawFont>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// ---- colours ----------------------------------------------------------------------------------
namespace {
// The classic system palette, fixed so drawing does not depend on the desktop theme.
const TColor kSystemColors[31] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4,
};

QColor ToQColor(TColor c)
{
    TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
QString Q(const String& s) { return QString::fromStdString(s); }
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

// ---- canvas ---------------------------------------------------------------------------------
namespace {
// A font with its metrics and the advances of the characters measured so far. Measuring text is
// most of the work of laying it out, and the same few fonts measure the same characters again
// and again.
struct FontInfo {
    FontInfo(const QFont& f, QPaintDevice* device, int cellHeight)
        : font(f), metrics(f, device), raw(QRawFont::fromFont(f)), height(metrics.height()), ascent(metrics.ascent())
    {
        advances.assign(kCached, -1);
        if (cellHeight > 0 && height < cellHeight)
            FitCell(cellHeight);
    }
    static constexpr int kCached = 0x2200;
    QFont font;
    QFontMetrics metrics;
    QRawFont raw;
    int height;
    int ascent;
    // Drawn and measured through the raw font at a size between whole pixels.
    bool fractional = false;
    std::vector<int> advances;

    static int RawCell(const QRawFont& r) { return qRound(r.ascent()) + qRound(r.descent()); }

    // Whole pixel sizes skip some cell heights; the raw font takes any size, so the cell asked
    // for is met between two whole sizes.
    void FitCell(int cellHeight)
    {
        if (!raw.isValid())
            return;
        QRawFont r = raw;
        double low = raw.pixelSize(), high = low + 1;
        r.setPixelSize(high);
        if (RawCell(r) < cellHeight)
            return;
        for (int i = 0; i < 16; ++i) {
            double mid = (low + high) / 2;
            r.setPixelSize(mid);
            (RawCell(r) >= cellHeight ? high : low) = mid;
        }
        r.setPixelSize(high);
        if (RawCell(r) != cellHeight)
            return;
        raw = r;
        height = cellHeight;
        ascent = qRound(r.ascent());
        fractional = true;
    }

    int Advance(QChar ch)
    {
        if (!fractional)
            return metrics.horizontalAdvance(ch);
        QList<quint32> glyphs = raw.glyphIndexesForString(QString(ch));
        if (glyphs.size() != 1 || glyphs[0] == 0)
            return metrics.horizontalAdvance(ch);
        return qRound(raw.advancesForGlyphIndexes(glyphs).value(0).x());
    }

    // Characters that never combine or change shape are summed from the cache.
    static bool Simple(char16_t c) { return c < 0x0300 || (c >= 0x2000 && c < kCached); }

    int Width(const QString& s)
    {
        int total = 0;
        for (QChar ch : s) {
            char16_t c = ch.unicode();
            if (!Simple(c))
                return metrics.horizontalAdvance(s);
            int& advance = advances[c];
            if (advance < 0)
                advance = Advance(ch);
            total += advance;
        }
        return total;
    }

    // Draws a run with its baseline at y. Text the font holds every glyph of is placed from the
    // measured advances without shaping it again; anything else goes through Qt's text layout.
    void Draw(QPainter& painter, int x, int y, const QString& s, bool rightToLeft = false)
    {
        if (s.isEmpty())
            return;
        // A run read right to left needs the layout's reordering.
        bool simple = raw.isValid() && !rightToLeft;
        for (QChar ch : s)
            simple = simple && Simple(ch.unicode());
        QList<quint32> glyphs;
        if (simple) {
            glyphs = raw.glyphIndexesForString(s);
            simple = glyphs.size() == s.size() && std::find(glyphs.begin(), glyphs.end(), 0u) == glyphs.end();
        }
        if (!simple) {
            QFont keep = painter.font();
            QFont plain = keep;
            plain.setUnderline(false);
            painter.setFont(plain);
            const Qt::LayoutDirection direction = painter.layoutDirection();
            painter.setLayoutDirection(rightToLeft ? Qt::RightToLeft : direction);
            painter.drawText(x, y, s);
            painter.setLayoutDirection(direction);
            painter.setFont(keep);
            if (font.underline())
                Underline(painter, x, y, metrics.horizontalAdvance(s));
            return;
        }
        QList<QPointF> positions;
        positions.reserve(s.size());
        int pos = 0;
        for (QChar ch : s) {
            positions.append(QPointF(pos, 0));
            int& advance = advances[ch.unicode()];
            if (advance < 0)
                advance = Advance(ch);
            pos += advance;
        }
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        run.setStrikeOut(font.strikeOut());
        painter.drawGlyphRun(QPointF(x, y), run);
        if (font.underline())
            Underline(painter, x, y, pos);
    }

    // As GDI draws it: whole pixels, at least one thick, below the baseline and inside the
    // character cell. Qt's own underline of a small font can be thinner than a pixel and then
    // vanishes or not depending on where the run lands.
    void Underline(QPainter& painter, int x, int baseline, int width)
    {
        int thickness = std::max(1, metrics.lineWidth());
        int top = std::min(baseline + std::max(1, metrics.underlinePos()), baseline + metrics.descent() - thickness);
        painter.fillRect(QRect(x, std::max(baseline + 1, top), width, thickness), painter.pen().color());
    }
};

FontInfo& InfoFor(const TFont& f, QPaintDevice* device)
{
    struct Key {
        String name;
        int height = 0;
        TFontStyles style = 0;
        TFontQuality quality = fqDefault;
        int dpiX = 0, dpiY = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const
        {
            return std::hash<String>()(k.name) ^ (size_t(k.height) * 31 + k.style * 7 + size_t(k.dpiX) * 131 + k.dpiY);
        }
    };
    thread_local std::unordered_map<Key, std::unique_ptr<FontInfo>, KeyHash> cache;
    thread_local Key lastKey;
    thread_local FontInfo* last = nullptr;
    Key key{f.Name(), f.Height(), f.Style(), f.Quality(), device ? device->logicalDpiX() : 0, device ? device->logicalDpiY() : 0};
    if (last && key == lastKey)
        return *last;
    auto found = cache.find(key);
    if (found == cache.end()) {
        if (cache.size() > 256)
            cache.clear();
        found = cache.emplace(key, std::make_unique<FontInfo>(f.ToQFont(), device, f.Height())).first;
    }
    lastKey = key;
    last = found->second.get();
    return *last;
}
}  // namespace

TCanvas::TCanvas()
{
    Font.SetColor(clWindowText);
    Brush.Color = clWhite;
}

TCanvas::~TCanvas() { Release(); }

void TCanvas::BeginOn(QPaintDevice* device)
{
    Release();
    device_ = device;
    if (device_) {
        Font.PixelsPerInch = device_->logicalDpiY();
    }
}

void TCanvas::Attach(QPainter* painter)
{
    Release();
    painter_ = painter;
    ownsPainter_ = false;
    if (painter_ && painter_->device())
        Font.PixelsPerInch = painter_->device()->logicalDpiY();
}

void TCanvas::Release()
{
    if (painter_ && ownsPainter_) {
        painter_->end();
        delete painter_;
    }
    painter_ = nullptr;
    ownsPainter_ = false;
    device_ = nullptr;
    clipped_ = false;
}

QPainter* TCanvas::Painter()
{
    if (!painter_ && device_ && device_->paintingActive() == false) {
        painter_ = new QPainter();
        if (!painter_->begin(device_)) {
            delete painter_;
            painter_ = nullptr;
            return nullptr;
        }
        ownsPainter_ = true;
        if (clipped_)
            painter_->setClipRect(ToQRect(clip_));
    }
    if (painter_)
        painter_->setRenderHint(QPainter::Antialiasing, false);
    return painter_;
}

int TCanvas::BitsPerPixel() const
{
    // A widget's painter may draw into another surface (a picture of the widget): that one counts.
    const QPaintDevice* device = device_;
    if (!device && painter_)
        device = painter_->paintEngine() && painter_->paintEngine()->paintDevice() ? painter_->paintEngine()->paintDevice()
                                                                                   : painter_->device();
    if (device && device->depth() > 0)
        return device->depth();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

int TCanvas::PixelsPerInchX() const
{
    QPaintDevice* d = device_ ? device_ : (painter_ ? painter_->device() : nullptr);
    return d ? d->logicalDpiX() : 96;
}

int TCanvas::PixelsPerInchY() const
{
    QPaintDevice* d = device_ ? device_ : (painter_ ? painter_->device() : nullptr);
    return d ? d->logicalDpiY() : 96;
}

void TCanvas::ApplyPen()
{
    QPainter* p = painter_;
    if (Pen.Style == psClear) {
        p->setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(Pen.Color));
    pen.setWidth(Pen.Width <= 1 ? 0 : Pen.Width);
    switch (Pen.Style) {
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot: pen.setStyle(Qt::DotLine); break;
    case psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    pen.setCapStyle(Pen.Width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p->setPen(pen);
    p->setCompositionMode(Pen.Mode == pmXor || Pen.Mode == pmNot ? QPainter::RasterOp_SourceXorDestination
                                                                  : QPainter::CompositionMode_SourceOver);
}

void TCanvas::ApplyBrush()
{
    QPainter* p = painter_;
    if (Brush.Style == bsClear) {
        p->setBrush(Qt::NoBrush);
        return;
    }
    Qt::BrushStyle style = Qt::SolidPattern;
    switch (Brush.Style) {
    case bsHorizontal: style = Qt::HorPattern; break;
    case bsVertical: style = Qt::VerPattern; break;
    case bsFDiagonal: style = Qt::FDiagPattern; break;
    case bsBDiagonal: style = Qt::BDiagPattern; break;
    case bsCross: style = Qt::CrossPattern; break;
    case bsDiagCross: style = Qt::DiagCrossPattern; break;
    default: break;
    }
    p->setBrush(QBrush(ToQColor(Brush.Color), style));
}

void TCanvas::ApplyFont()
{
    painter_->setFont(InfoFor(Font, painter_->device()).font);
    painter_->setPen(ToQColor(Font.Color()));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::LineTo(int x, int y)
{
    TPoint from = PenPos;
    PenPos = {x, y};
    if (!Painter() || Pen.Style == psClear)
        return;
    ApplyPen();
    if (from.X == x && from.Y == y)
        return;
    if (Pen.Width > 1) {
        painter_->drawLine(from.X, from.Y, x, y);
        return;
    }
    if (Pen.Style == psSolid && Pen.Mode == pmCopy && (from.X == x || from.Y == y)) {
        // A straight solid line is a one-pixel rectangle; filling it is far cheaper than stroking.
        QRect line = from.Y == y ? QRect(std::min(from.X, x < from.X ? x + 1 : x), y, std::abs(x - from.X), 1)
                                 : QRect(x, std::min(from.Y, y < from.Y ? y + 1 : y), 1, std::abs(y - from.Y));
        painter_->fillRect(line, ToQColor(Pen.Color));
        return;
    }
    // A one-pixel line stops one pixel short of its end, along its longer direction, whichever
    // way it runs; Qt's own flat cap drops the end of the line as it orders the points.
    QPen pen = painter_->pen();
    pen.setCapStyle(Qt::SquareCap);
    painter_->setPen(pen);
    int dx = x - from.X, dy = y - from.Y;
    int ex, ey;
    if (std::abs(dx) >= std::abs(dy)) {
        ex = x - (dx > 0 ? 1 : -1);
        ey = from.Y + static_cast<int>(std::lround(double(dy) * (ex - from.X) / dx));
    } else {
        ey = y - (dy > 0 ? 1 : -1);
        ex = from.X + static_cast<int>(std::lround(double(dx) * (ey - from.Y) / dy));
    }
    if (ex == from.X && ey == from.Y)
        painter_->drawPoint(ex, ey);
    else
        painter_->drawLine(from.X, from.Y, ex, ey);
}

void TCanvas::Polyline(const TPoint* points, int count)
{
    if (count < 1)
        return;
    MoveTo(points[0].X, points[0].Y);
    for (int i = 1; i < count; ++i)
        LineTo(points[i].X, points[i].Y);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (!Painter())
        return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    if (Brush.Style != bsClear) {
        ApplyBrush();
        painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), painter_->brush());
    }
    if (Pen.Style != psClear) {
        ApplyPen();
        painter_->setBrush(Qt::NoBrush);
        int w = std::max(1, Pen.Width);
        if (w == 1)
            painter_->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        else
            painter_->drawRect(QRectF(x1 + w / 2.0, y1 + w / 2.0, x2 - x1 - w, y2 - y1 - w));
    }
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!Painter())
        return;
    ApplyPen();
    ApplyBrush();
    painter_->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    if (!Painter() || count < 2)
        return;
    QPolygon poly;
    for (int i = 0; i < count; ++i)
        poly << QPoint(points[i].X, points[i].Y);
    ApplyPen();
    ApplyBrush();
    painter_->drawPolygon(poly);
}

void TCanvas::FillBackground(const TRect& r, TColor c)
{
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->fillRect(ToQRect(r), ToQColor(c));
}

void TCanvas::FillRect(const TRect& r)
{
    if (!Painter() || r.IsEmpty() || Brush.Style == bsClear)
        return;
    ApplyBrush();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->fillRect(ToQRect(r), painter_->brush());
}

void TCanvas::FrameRect(const TRect& r)
{
    if (!Painter() || r.IsEmpty())
        return;
    QColor c = ToQColor(Brush.Color);
    painter_->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    painter_->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    painter_->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    painter_->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    if (!Painter() || r.IsEmpty())
        return;
    // A dotted frame drawn by inverting every other pixel, so a second call takes it away.
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->setPen(Qt::NoPen);
    QColor white(255, 255, 255);
    for (int x = r.Left; x < r.Right; x += 2) {
        painter_->fillRect(QRect(x, r.Top, 1, 1), white);
        if (r.Bottom - 1 != r.Top)
            painter_->fillRect(QRect(x, r.Bottom - 1, 1, 1), white);
    }
    for (int y = r.Top + 2; y < r.Bottom - 1; y += 2) {
        painter_->fillRect(QRect(r.Left, y, 1, 1), white);
        if (r.Right - 1 != r.Left)
            painter_->fillRect(QRect(r.Right - 1, y, 1, 1), white);
    }
    painter_->restore();
}

TPoint TCanvas::TextExtent(const String& text)
{
    if (metrics_)
        return {metrics_->TextWidth(Font, text), metrics_->TextHeight(Font)};
    FontInfo& info = InfoFor(Font, painter_ ? painter_->device() : device_);
    return {info.Width(Q(text)), info.height};
}

bool TCanvas::OpaqueText() const { return Brush.Style != bsClear && Brush.Color != clNone; }

void TCanvas::TextOut(int x, int y, const String& text)
{
    QPaintDevice* dev = painter_ ? painter_->device() : device_;
    FontInfo& info = InfoFor(Font, dev);
    QString s = Q(text);
    int w = metrics_ ? metrics_->TextWidth(Font, text) : info.Width(s);
    int h = metrics_ ? metrics_->TextHeight(Font) : info.height;
    if (metrics_)
        metrics_->TextDrawn(Font, text, Bounds(x, y, w, h));
    PenPos = {x + w, y};
    if (!Painter())
        return;
    painter_->save();
    painter_->translate(x, y);
    if (Font.Orientation() != 0)
        painter_->rotate(-Font.Orientation() / 10.0);
    if (OpaqueText())
        FillBackground({0, 0, w, h}, Brush.Color);
    ApplyFont();
    if (info.fractional)
        info.Draw(*painter_, 0, info.ascent, s);
    else
        painter_->drawText(0, info.ascent, s);
    painter_->restore();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text)
{
    if (!Painter())
        return;
    painter_->save();
    painter_->setClipRect(ToQRect(r), Qt::IntersectClip);
    if (Brush.Style != bsClear)
        FillBackground(r, Brush.Color);
    TBrushStyle keep = Brush.Style;
    Brush.Style = bsClear;
    TextOut(x, y, text);
    Brush.Style = keep;
    painter_->restore();
}

namespace {
struct ShownLine {
    QString text;
    int mnemonic = -1;  // index of the character a single "&" marks, -1 none
};

// "&&" shows one ampersand; a single "&" is not shown and marks the character after it.
ShownLine ApplyPrefixes(const QString& s)
{
    ShownLine out;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 >= s.size())
                continue;
            ++i;
            if (s[i] != '&' && out.mnemonic < 0)
                out.mnemonic = static_cast<int>(out.text.size());
        }
        out.text.append(s[i]);
    }
    return out;
}
}  // namespace

int TCanvas::DrawText(const String& text, TRect& r, unsigned flags)
{
    QPaintDevice* dev = painter_ ? painter_->device() : device_;
    FontInfo& info = InfoFor(Font, dev);
    const QFont& font = info.font;
    const QFontMetrics& m = info.metrics;
    // A line read right to left is drawn through Qt's text layout, so it is measured by it too.
    const bool rightToLeft = (flags & DT_RTLREADING) != 0;
    auto width = [&](const QString& s) {
        return metrics_ ? metrics_->TextWidth(Font, s.toStdString())
               : rightToLeft ? m.horizontalAdvance(s)
                             : info.Width(s);
    };
    int cell = metrics_ ? metrics_->TextHeight(Font) : info.height;
    int leading = (flags & DT_EXTERNALLEADING) ? (metrics_ ? metrics_->ExternalLeading(Font) : m.leading()) : 0;
    QString s = Q(text);
    if (flags & DT_EXPANDTABS)
        s.replace('\t', QString(8, ' '));
    QStringList paragraphs;
    if (flags & DT_SINGLELINE) {
        paragraphs << s;
    } else {
        QString t = s;
        t.replace("\r\n", "\n").replace('\r', '\n');
        paragraphs = t.split('\n');
    }
    std::vector<ShownLine> lines;
    for (const QString& para : paragraphs) {
        if ((flags & DT_SINGLELINE) || !(flags & DT_WORDBREAK) || r.Width() <= 0) {
            lines.push_back((flags & DT_NOPREFIX) ? ShownLine{para} : ApplyPrefixes(para));
            continue;
        }
        QString line;
        for (const QString& word : para.split(' ')) {
            QString candidate = line.isEmpty() ? word : line + ' ' + word;
            if (!line.isEmpty() && width(candidate) > r.Width()) {
                lines.push_back((flags & DT_NOPREFIX) ? ShownLine{line} : ApplyPrefixes(line));
                line = word;
            } else {
                line = candidate;
            }
        }
        lines.push_back((flags & DT_NOPREFIX) ? ShownLine{line} : ApplyPrefixes(line));
    }
    if (flags & DT_END_ELLIPSIS) {
        // The longest head of the line that still fits with "..." after it.
        for (ShownLine& line : lines) {
            if (width(line.text) <= r.Width())
                continue;
            qsizetype keep = line.text.size();
            // Never half a character: a pair of UTF-16 units goes or stays whole.
            auto shorter = [&](qsizetype n) { return n - (n >= 2 && line.text[n - 1].isLowSurrogate() ? 2 : 1); };
            while (keep > 0 && width(line.text.left(keep) + "...") > r.Width())
                keep = std::max<qsizetype>(0, shorter(keep));
            line.text = line.text.left(keep) + "...";
            if (line.mnemonic >= keep)
                line.mnemonic = -1;
        }
    }
    int widest = 0;
    for (const ShownLine& line : lines)
        widest = std::max(widest, width(line.text));
    int lineHeight = cell + leading;
    int height = lineHeight * static_cast<int>(lines.size());
    if (flags & DT_CALCRECT) {
        r.Right = r.Left + widest;
        r.Bottom = r.Top + height;
        return height;
    }
    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_BOTTOM)
            y = r.Bottom - height;
        else if (flags & DT_VCENTER)
            y = r.Top + (r.Height() - height) / 2;
    }
    QPainter* p = Painter();
    if (p) {
        p->save();
        if (!(flags & DT_NOCLIP))
            p->setClipRect(ToQRect(r), Qt::IntersectClip);
        p->setFont(font);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    for (const ShownLine& line : lines) {
        int w = width(line.text);
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - w) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - w;
        if (metrics_)
            metrics_->TextDrawn(Font, line.text.toStdString(), Bounds(x, y, w, cell));
        if (p) {
            bool rotated = Font.Orientation() != 0;
            int ox = x, oy = y;
            if (rotated) {
                p->save();
                p->translate(x, y);
                p->rotate(-Font.Orientation() / 10.0);
                ox = oy = 0;
            }
            if (OpaqueText())
                FillBackground({ox, oy, ox + w, oy + cell}, Brush.Color);
            p->setPen(ToQColor(Font.Color()));
            info.Draw(*p, ox, oy + info.ascent, line.text, rightToLeft);
            if (line.mnemonic >= 0) {
                int ux = width(line.text.left(line.mnemonic));
                int uw = width(line.text.mid(line.mnemonic, 1));
                p->fillRect(QRect(ox + ux, oy + info.ascent + 1, std::max(1, uw), 1), ToQColor(Font.Color()));
            }
            if (rotated)
                p->restore();
        }
        y += lineHeight;
    }
    if (p)
        p->restore();
    return height;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic)
{
    StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic)
{
    if (!Painter() || graphic.Empty())
        return;
    graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src)
{
    if (!Painter())
        return;
    QImage* img = source.device_ ? dynamic_cast<QImage*>(source.device_) : nullptr;
    if (!img && source.painter_)
        img = dynamic_cast<QImage*>(source.painter_->device());
    if (!img)
        return;
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(ToQRect(dest), *img, ToQRect(src));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

static QImage* ImageOf(QPaintDevice* d) { return d ? dynamic_cast<QImage*>(d) : nullptr; }

TColor TCanvas::Pixel(int x, int y)
{
    QImage* img = ImageOf(device_ ? device_ : (painter_ ? painter_->device() : nullptr));
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height())
        return -1;
    QRgb c = img->pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    if (!Painter())
        return;
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->fillRect(QRect(x, y, 1, 1), ToQColor(c));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::DrawKeyed(int x, int y, const TBitmap& bitmap, TColor key)
{
    if (!Painter())
        return;
    const int step = bitmap.PixelFormat() == pf32bit ? 4 : 3;
    const QTransform& t = painter_->worldTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy())) {
        // Scaled or moved by parts of a pixel, a drawn image would be resampled: pixel by pixel.
        for (int row = 0; row < bitmap.Height(); ++row) {
            const uint8_t* p = bitmap.ScanLine(row);
            for (int col = 0; col < bitmap.Width(); ++col, p += step)
                if (const TColor c = RGB(p[2], p[1], p[0]); c != key)
                    SetPixel(x + col, y + row, c);
        }
        return;
    }
    // One image whose key pixels are see-through: an opaque pixel drawn over another replaces it
    // exactly, as setting it does, and the others stay as they are.
    QImage keyed(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < bitmap.Height(); ++row) {
        const uint8_t* p = bitmap.ScanLine(row);
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(row));
        for (int col = 0; col < bitmap.Width(); ++col, p += step)
            out[col] = RGB(p[2], p[1], p[0]) == key ? 0 : qRgb(p[2], p[1], p[0]);
    }
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->drawImage(QPoint(x, y), keyed);
}

void TCanvas::SetClipRect(const TRect& r)
{
    clipped_ = true;
    clip_ = r;
    if (painter_)
        painter_->setClipRect(ToQRect(r));
}

void TCanvas::ClearClip()
{
    clipped_ = false;
    if (painter_)
        painter_->setClipping(false);
}

TRect TCanvas::ClipRect() const
{
    if (clipped_)
        return clip_;
    QPaintDevice* d = device_ ? device_ : (painter_ ? painter_->device() : nullptr);
    return d ? TRect{0, 0, d->width(), d->height()} : TRect{};
}

// ---- graphics -------------------------------------------------------------------------------
void TGraphic::LoadFromFile(const String& fileName)
{
    TRegularFile file(fileName);
    if (file.Size() > kMaxPictureFileSize)
        throw EInvalidGraphic(Format("The picture \"%s\" is too large: %llu bytes (at most %llu MB)", fileName.c_str(),
                                     static_cast<unsigned long long>(file.Size()),
                                     static_cast<unsigned long long>(kMaxPictureFileSize >> 20)));
    TMemoryStream m;
    std::vector<uint8_t>& bytes = m.Data();
    bytes.resize(static_cast<size_t>(std::min<uint64_t>(file.Size(), kPictureHeaderSize)));
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    CheckHeader(bytes.data(), bytes.size());
    file.AppendRest(bytes, kMaxPictureFileSize);
    LoadFromStream(m);
}

void TGraphic::SaveToFile(const String& fileName) const
{
    TMemoryStream m;
    SaveToStream(m);
    WriteFileAtomically(fileName, m.Data().data(), m.Data().size());
}

void TGraphic::Draw(TCanvas& canvas, const TRect& r) const
{
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    QImage img = ToImage();
    if (img.isNull())
        return;
    // The PDF engine (printers and PDF files) takes pictures as 32-bit pixels and would widen a
    // 24-bit one into fresh memory of its own.
    if (p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Pdf && img.format() == QImage::Format_BGR888)
        img = WidenToRgb32(img);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->drawImage(ToQRect(r), img);
}

namespace {
QImage::Format QtFormat(TPixelFormat f)
{
    switch (f) {
    case pf1bit: return QImage::Format_Mono;
    case pf4bit:
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_BGR888;
    default: return QImage::Format_RGB32;
    }
}

TPixelFormat FormatOf(const QImage& img)
{
    switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return pf1bit;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: return pf8bit;
    case QImage::Format_RGB555: return pf15bit;
    case QImage::Format_RGB16: return pf16bit;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888: return pf24bit;
    default: return pf32bit;
    }
}

QImage Convert(const QImage& src, TPixelFormat f)
{
    QImage::Format qf = QtFormat(f);
    if (src.format() == qf)
        return src;
    if (qf == QImage::Format_Indexed8) {
        QVector<QRgb> grey(256);
        for (int i = 0; i < 256; ++i)
            grey[i] = qRgb(i, i, i);
        return src.convertToFormat(QImage::Format_RGB32).convertToFormat(qf, grey);
    }
    return src.convertToFormat(qf);
}
}  // namespace

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap()
{
    Allocate(width, height, format);
}

std::unique_ptr<TBitmap> TBitmap::NewForOverwrite(int width, int height, TPixelFormat format)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Allocate(width, height, format, false);
    return bitmap;
}

TBitmap::~TBitmap()
{
    if (canvas_)
        canvas_->Release();
}

int TBitmap::Width() const { return image_->width(); }
int TBitmap::Height() const { return image_->height(); }

void TBitmap::Allocate(int w, int h, TPixelFormat format, bool black)
{
    if (canvas_)
        canvas_->Release();
    format_ = format;
    if (w <= 0 || h <= 0) {
        *image_ = QImage();
        return;
    }
    // A new bitmap starts black, as a fresh device-independent bitmap does.
    QImage img = black ? NewZeroedImage(w, h, QtFormat(format)) : NewUnclearedImage(w, h, QtFormat(format));
    if (img.isNull())
        throw EOutOfResources(Format("Out of system resources (%dx%d bitmap)", w, h));
    if (img.format() == QImage::Format_Indexed8) {
        img.setColorCount(256);
        for (int i = 0; i < 256; ++i)
            img.setColor(i, qRgb(i, i, i));
    }
    *image_ = std::move(img);
}

void TBitmap::SetSize(int w, int h)
{
    if (w == Width() && h == Height())
        return;
    QImage old = *image_;
    Allocate(w, h, format_);
    if (!old.isNull() && !image_->isNull()) {
        // The old pixels stay at the top-left, as when a bitmap is resized.
        int rows = std::min(old.height(), h);
        int bytes = std::min(old.bytesPerLine(), image_->bytesPerLine());
        if (old.format() == image_->format())
            for (int y = 0; y < rows; ++y)
                std::memcpy(image_->scanLine(y), old.constScanLine(y), bytes);
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    if (canvas_)
        canvas_->Release();
    format_ = format;
    if (!image_->isNull())
        *image_ = Convert(*image_, format);
    Changed();
}

uint8_t* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= Height())
        throw EInvalidGraphic(Format("Scan line index out of range"));
    return image_->scanLine(row);
}

const uint8_t* TBitmap::ScanLine(int row) const
{
    if (row < 0 || row >= Height())
        throw EInvalidGraphic(Format("Scan line index out of range"));
    return image_->constScanLine(row);
}

int TBitmap::BytesPerLine() const { return static_cast<int>(image_->bytesPerLine()); }

TCanvas& TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>();
    if (!canvas_->HandleAllocated() && !image_->isNull())
        canvas_->BeginOn(image_.get());
    return *canvas_;
}

void TBitmap::Assign(const TPersistent& source)
{
    if (&source == this)
        return;
    auto* g = dynamic_cast<const TGraphic*>(&source);
    if (!g)
        return TPersistent::Assign(source);
    if (canvas_)
        canvas_->Release();
    if (auto* b = dynamic_cast<const TBitmap*>(g)) {
        format_ = b->format_;
        *image_ = b->image_->copy();
        transparentColor_ = b->transparentColor_;
    } else {
        QImage img = g->ToImage();
        format_ = img.isNull() ? pfDevice : FormatOf(img);
        *image_ = img.isNull() ? QImage() : Convert(img, format_);
    }
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (transparentColor_ != clDefault || image_->isNull() || image_->height() == 0 || image_->width() == 0)
        return transparentColor_;
    const QRgb c = image_->pixel(0, image_->height() - 1);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TBitmap::SetImage(const QImage& image)
{
    if (canvas_)
        canvas_->Release();
    format_ = image.isNull() ? pfDevice : FormatOf(image);
    *image_ = image.isNull() ? QImage() : Convert(image, format_);
    Changed();
}

void TIcon::CheckHeader(const uint8_t* data, size_t size) const { CheckIconPixels(data, size); }

void TBitmap::CheckHeader(const uint8_t* data, size_t size) const
{
    int64_t width = 0, height = 0;
    if (BmpFrameSize(data, size, width, height))
        CheckPicturePixels("Bitmap", width, height);
}

void TBitmap::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(size, 0)), Qt::Uninitialized);
    stream.ReadBuffer(bytes.data(), bytes.size());
    CheckHeader(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    AllowPictureMemory();
    QImage img;
    if (!img.loadFromData(bytes, "BMP"))
        throw EInvalidGraphic("Bitmap image is not valid");
    SetImage(img);
}

void TBitmap::SaveToStream(TStream& stream) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image_->isNull() && !image_->save(&buffer, "BMP"))
        throw EWriteError("Stream write error");
    stream.WriteBuffer(bytes.constData(), bytes.size());
}

QImage TBitmap::ToImage() const
{
    if (canvas_ && canvas_->HandleAllocated())
        const_cast<TCanvas&>(*canvas_).Release();  // finish pending painting before the pixels are read
    return *image_;
}

TImageGraphic::TImageGraphic() : image_(std::make_unique<QImage>()) {}
TImageGraphic::~TImageGraphic() = default;
int TImageGraphic::Width() const { return image_->width(); }
int TImageGraphic::Height() const { return image_->height(); }
QImage TImageGraphic::ToImage() const { return *image_; }

void TImageGraphic::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(size, 0)), Qt::Uninitialized);
    stream.ReadBuffer(bytes.data(), bytes.size());
    CheckHeader(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    AllowPictureMemory();
    QImage img;
    if (!img.loadFromData(bytes, FormatName()))
        throw EInvalidGraphic("Invalid image");
    *image_ = img;
    Changed();
}

void TImageGraphic::SaveToStream(TStream& stream) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image_->save(&buffer, FormatName() ? FormatName() : "PNG");
    stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TImageGraphic::Assign(const TPersistent& source)
{
    auto* g = dynamic_cast<const TGraphic*>(&source);
    if (!g)
        return TPersistent::Assign(source);
    *image_ = g->ToImage();
    Changed();
}

// ---- picture and its format registry -------------------------------------------------------
namespace {
struct FormatEntry {
    String extension;  // lower case, no dot
    String description;
    TGraphicFactory factory;
};
std::mutex& RegistryMutex()
{
    static std::mutex m;
    return m;
}
std::vector<FormatEntry>& Registry()
{
    static std::vector<FormatEntry> formats;
    return formats;
}
}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::Changed() { Fire(OnChange, this); }

TBitmap& TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(graphic_.get()))
        SetGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*graphic_);
}

void TPicture::RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory)
{
    std::lock_guard lock(RegistryMutex());
    String ext = LowerCase(extension);
    for (auto& e : Registry())
        if (e.extension == ext) {
            e = {ext, description, std::move(factory)};
            return;
        }
    Registry().push_back({ext, description, std::move(factory)});
}

void TPicture::UnregisterFileFormat(const String& extension)
{
    std::lock_guard lock(RegistryMutex());
    String ext = LowerCase(extension);
    auto& r = Registry();
    r.erase(std::remove_if(r.begin(), r.end(), [&](const FormatEntry& e) { return e.extension == ext; }), r.end());
}

std::vector<String> TPicture::RegisteredExtensions()
{
    std::lock_guard lock(RegistryMutex());
    std::vector<String> out;
    for (auto& e : Registry())
        out.push_back(e.extension);
    return out;
}

bool TPicture::HasRegisteredExtension(const String& fileName)
{
    String ext = LowerCase(ExtractFileExt(fileName));
    if (ext.empty())
        return false;
    ext.erase(0, 1);
    const std::vector<String> known = RegisteredExtensions();
    return std::find(known.begin(), known.end(), ext) != known.end();
}

String TPicture::GraphicFilter()
{
    std::lock_guard lock(RegistryMutex());
    String all, each;
    for (auto& e : Registry()) {
        String mask = "*." + e.extension;
        all += (all.empty() ? "" : ";") + mask;
        each += "|" + e.description + " (" + mask + ")|" + mask;
    }
    return "All (" + all + ")|" + all + each;
}

void TPicture::LoadFromFile(const String& fileName)
{
    String ext = LowerCase(ExtractFileExt(fileName));
    if (!ext.empty())
        ext.erase(0, 1);
    TGraphicFactory factory;
    {
        std::lock_guard lock(RegistryMutex());
        for (auto& e : Registry())
            if (e.extension == ext)
                factory = e.factory;
    }
    if (!factory)
        throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", ext.c_str()));
    std::unique_ptr<TGraphic> g = factory();
    g->LoadFromFile(fileName);
    SetGraphic(std::move(g));
}

void TPicture::SaveToFile(const String& fileName) const
{
    if (graphic_)
        graphic_->SaveToFile(fileName);
}

void TPicture::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TPicture*>(&source)) {
        if (p == this)
            return;
        if (!p->graphic_) {
            SetGraphic(nullptr);
            return;
        }
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*p->graphic_);
        SetGraphic(std::move(copy));
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(&source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*g);
        SetGraphic(std::move(copy));
        return;
    }
    TPersistent::Assign(source);
}
