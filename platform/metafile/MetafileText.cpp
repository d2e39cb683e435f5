// The device context's text: the selected font at the mapping's scale, placed by the text
// alignment, spaced by the records' advances, boxed and turned as GDI does.
#include "Graphics.h"
#include "MetafileDevice.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDefaultPixels = 12;   // a font of height 0: the device's usual size
constexpr double kCharacterCost = 500;  // what a character costs beyond the pixels it covers: its layout
constexpr double kPieceCost = 4000;     // and what it costs when drawn on its own
constexpr double kTextReach = 1 << 21;  // picture pixels from its point that a text may be seen at
constexpr double kPi = 3.14159265358979323846;
// The largest glyphs, in pixels, that Qt's font engines are asked for: beyond it they keep
// bitmaps of gigabytes, and the text is drawn as outlines scaled up instead.
constexpr double kGlyphPixels = 256;
// The stretches Qt draws glyphs at; beyond them its engines fail to render, and the outlines
// are stretched instead, up to the most any text is stretched or squeezed.
constexpr double kLeastQtStretch = 0.5, kMostQtStretch = 2, kMostStretch = 64;
}  // namespace

std::shared_ptr<const TMetaFont> ReadLogFont(const TRecordReader& r, bool wide)
{
    const size_t field = wide ? 4 : 2;
    auto number = [&](size_t i) { return wide ? r.S32(i * field) : r.S16(i * field); };
    auto f = std::make_shared<TMetaFont>();
    f->Height = number(0);
    f->Width = number(1);
    f->Escapement = number(2);
    f->Weight = number(4);
    const size_t flags = 5 * field;
    f->Italic = r.U8(flags);
    f->Underline = r.U8(flags + 1);
    f->StrikeOut = r.U8(flags + 2);
    QString wideFace;
    std::string ansiFace;
    for (size_t i = 0, at = flags + 8; i < 32; ++i) {
        const uint16_t c = wide ? r.U16(at + 2 * i) : r.U8(at + i);
        if (!c)
            break;
        if (wide)
            wideFace.append(QChar(c));
        else
            ansiFace.push_back(char(c));
    }
    f->Face = wide ? wideFace.toStdString() : AnsiToUtf8(ansiFace);
    return f;
}

TMetafileDevice::TTextFont TMetafileDevice::FontFor(const TMetaFont& font, double pixels, double widthPixels)
{
    if (fontFor_ == &font && fontPixels_ == pixels && fontWidthPixels_ == widthPixels)
        return font_;
    // The class library's font keeps the meaning of a positive height (the cell) and a negative
    // one (the characters), and the stand-ins for Windows font names.
    TFont f;
    f.SetName(font.Face.empty() ? "Arial" : font.Face);
    // Qt's font engines render a glyph whole, and fail on some too large or too stretched to hold:
    // they are asked for no more than a safe size and stretch, and the rest is scaling.
    const double h = std::min(pixels, kGlyphPixels);
    const int asked = std::max(1, int(std::lround(h)));
    f.SetHeight(font.Height > 0 ? asked : -asked);
    f.SetStyle((font.Italic ? fsItalic : 0) | (font.Underline ? fsUnderline : 0) | (font.StrikeOut ? fsStrikeOut : 0));
    TTextFont made{f.ToQFont(), pixels / asked, pixels / asked, false};
    if (font.Weight > 0)
        made.Font.setWeight(QFont::Weight(std::clamp(font.Weight, 1, 1000)));
    if (widthPixels > 0) {
        // A width asks for characters of that average width: the font is stretched to it.
        const double natural = QFontMetricsF(made.Font).averageCharWidth() * made.ScaleY;
        if (natural > 0)
            made.ScaleX *= std::clamp(widthPixels / natural, 1.0 / kMostStretch, kMostStretch);
    }
    const double stretch = made.ScaleX / made.ScaleY;
    if (pixels <= kGlyphPixels && stretch >= kLeastQtStretch && stretch <= kMostQtStretch) {
        if (std::lround(stretch * 100) != 100)
            made.Font.setStretch(int(std::lround(stretch * 100)));
        made.ScaleX = made.ScaleY = 1;
    } else {
        made.Outlines = true;  // drawn as outlines, scaled to the size asked for
    }
    fontFor_ = &font;
    fontPixels_ = pixels;
    fontWidthPixels_ = widthPixels;
    font_ = made;
    return made;
}

void TMetafileDevice::Text(const TTextRun& run)
{
    const TDcState& s = state_;
    const TMetaFont& font = *s.Font;
    const QTransform& t = Transform();
    const double kx = std::hypot(t.m11(), t.m12()), ky = std::hypot(t.m21(), t.m22());
    // Text stands upright on the picture whichever way the logical axes run.
    const double pixels =
        std::clamp(font.Height == 0 ? kDefaultPixels : std::abs(double(font.Height)) * ky, 1.0, double(kMetafileMaxSide));
    const double widthPixels = std::min(std::abs(double(font.Width)) * kx, double(kMetafileMaxSide));
    const bool updatePosition = s.TextAlign & gdi::TA_UPDATECP;
    const QPointF origin = updatePosition ? s.Position : run.Origin;
    const QPointF at = t.map(origin);
    const double n = run.Text.size();

    if (run.Options & gdi::ETO_OPAQUE && !run.Rect.isEmpty() && TouchArea(t.mapRect(run.Rect.normalized()), 4)) {
        UseLogical();
        painter_->fillRect(run.Rect.normalized(), Color(s.BkColor));
    }
    // What the text may cover: each character a square of the font's height, and each costs its
    // own drawing wherever it falls.
    const double side = std::max(pixels, widthPixels), reach = std::min((n + 1) * side, kTextReach);
    const QRectF box(at.x() - reach, at.y() - reach, 2 * reach, 2 * reach);
    // Qt renders each glyph whole at the size it is asked for, and a character drawn on its own
    // is laid out on its own.
    const double glyph = std::min(side, kGlyphPixels), apart = run.Dx.empty() && s.CharExtra == 0 ? 0 : kPieceCost;
    const double cost = n * (kCharacterCost + apart + glyph * glyph + std::min(side * side, picture_.width() * picture_.height()));
    // Where the text draws, for a picture sized by its drawing: a line of average characters
    // running right from its point.
    const QRectF drawn = drawn_;
    const bool visible = Touch(box, cost);
    drawn_ = drawn.united(QRectF(at.x(), at.y() - side, n * side / 2, 2 * side));
    if (run.Text.isEmpty() || (run.Options & gdi::ETO_GLYPH_INDEX) || !visible) {
        // Glyph numbers belong to the font the picture was made with, which is not here to draw them.
        return;
    }
    const TTextFont made = FontFor(font, pixels, widthPixels);
    const QFontMetricsF metrics(made.Font);
    const double ascent = metrics.ascent() * made.ScaleY, descent = metrics.descent() * made.ScaleY;
    auto advanceOf = [&](const QString& text) { return metrics.horizontalAdvance(text) * made.ScaleX; };
    // Where each character starts along the base line, in picture pixels.
    std::vector<double> starts(run.Text.size() + 1, 0);
    const double extra = s.CharExtra * kx;
    for (qsizetype i = 0; i < run.Text.size(); ++i) {
        double advance = size_t(i) < run.Dx.size() ? run.Dx[size_t(i)] * kx : advanceOf(run.Text.mid(i, 1)) + extra;
        if (run.Dx.empty() && run.Text[i].isHighSurrogate() && i + 1 < run.Text.size())
            advance = advanceOf(run.Text.mid(i, 2)) + extra;
        starts[size_t(i) + 1] = starts[size_t(i)] + advance;
    }
    const double width = starts.back();

    double x = 0;
    if ((s.TextAlign & gdi::TA_CENTER) == gdi::TA_CENTER)
        x = -width / 2;
    else if (s.TextAlign & gdi::TA_RIGHT)
        x = -width;
    double baseline = ascent;  // TA_TOP
    if ((s.TextAlign & gdi::TA_BASELINE) == gdi::TA_BASELINE)
        baseline = 0;
    else if (s.TextAlign & gdi::TA_BOTTOM)
        baseline = -descent;
    if (updatePosition && !(s.TextAlign & gdi::TA_RIGHT))
        state_.Position = t.inverted().map(at + QPointF(width, 0));

    // The escapement turns the base line counter-clockwise as the picture shows it; a world
    // transform that turns the page turns the text with it.
    double degrees = font.Escapement / 10.0;
    if (s.GraphicsMode == gdi::GM_ADVANCED) {
        const QTransform& w = s.World;
        const bool up = (t.m22() < 0) != (w.m22() < 0);
        degrees += std::atan2(up ? w.m12() : -w.m12(), w.m11()) * 180 / kPi;
    }
    UseImage();
    painter_->save();
    if (run.Options & gdi::ETO_CLIPPED && !run.Rect.isEmpty())
        painter_->setClipRegion(ToRegion(run.Rect), s.Clip ? Qt::IntersectClip : Qt::ReplaceClip);
    painter_->translate(at);
    painter_->rotate(-degrees);
    if (s.BkMode == gdi::OPAQUE)
        painter_->fillRect(QRectF(x, baseline - ascent, width, ascent + descent), Color(s.BkColor));
    // The pieces drawn: the whole text at once, or each character at its own advance.
    std::vector<std::pair<QPointF, QString>> pieces;
    if (run.Dx.empty() && extra == 0) {
        pieces.emplace_back(QPointF(x, baseline), run.Text);
    } else {
        for (qsizetype i = 0; i < run.Text.size(); ++i) {
            const bool pair = run.Text[i].isHighSurrogate() && i + 1 < run.Text.size();
            pieces.emplace_back(QPointF(x + starts[size_t(i)], baseline), run.Text.mid(i, pair ? 2 : 1));
            i += pair;
        }
    }
    painter_->scale(made.ScaleX, made.ScaleY);
    auto unscaled = [&made](QPointF p) { return QPointF(p.x() / made.ScaleX, p.y() / made.ScaleY); };
    if (made.Outlines) {
        QPainterPath outlines;
        for (const auto& [where, text] : pieces)
            outlines.addText(unscaled(where), made.Font, text);
        painter_->setRenderHint(QPainter::Antialiasing, true);  // as Qt smooths the glyphs it draws
        InBands(painter_->transform().mapRect(outlines.boundingRect()), cost,
                [&] { painter_->fillPath(outlines, Color(s.TextColor)); }, false);
    } else {
        painter_->setFont(made.Font);
        painter_->setPen(Color(s.TextColor));
        for (const auto& [where, text] : pieces)
            painter_->drawText(unscaled(where), text);
    }
    painter_->restore();
    painterSpace_ = Space::Image;
}
