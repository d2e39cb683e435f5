#include "Graphics.h"
#include "GraphicsQt.h"
#include "TextMetrics.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

using namespace graphics_qt;

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

void TCanvas::ApplyFont()
{
    painter_->setFont(InfoFor(Font, painter_->device()).font);
    painter_->setPen(ToQColor(Font.Color()));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
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
