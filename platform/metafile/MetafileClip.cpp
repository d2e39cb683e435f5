// The device context's clipping: regions and paths made whole pixels of the picture, cut to it,
// and what a region can grow into judged before it is made.
#include "MetafileDevice.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
constexpr double kRectangleCost = 10;  // what a rectangle of a region costs to make, in pixels
constexpr double kRowCost = 1;         // what a row of a clip rectangle costs the painter each time it is set
// Qt's painter overflows the room it sets aside for a clip region once its rectangles times its
// rows pass about two billion; regions stay well below that, whatever way they are set.
constexpr double kRectangleRows = double(1 << 29);
// Qt's painter sets aside room for every rectangle of a clip region on every row the region
// spans; beyond this many (some 32 MB) the region is given to it as a path, whose rows it keeps
// as they are.
constexpr double kRegionRowRectangles = 2 << 20;
// Where a device without a picture may draw: anywhere a 32-bit coordinate reaches.
const QRect kEverywhere(-(1 << 29), -(1 << 29), 1 << 30, 1 << 30);

// Region coordinates are whole pixels; a file's coordinates can lie far beyond what an int holds.
int Pixel(double v) { return int(std::lround(std::clamp(std::isnan(v) ? 0.0 : v, -5e8, 5e8))); }

QRect PixelRect(const QRectF& r)
{
    return QRect(QPoint(Pixel(r.left()), Pixel(r.top())), QPoint(Pixel(r.right()) - 1, Pixel(r.bottom()) - 1));
}

// The part of a closed figure on one side of a line (Sutherland and Hodgman): what it covers on
// that side is what the figure covered there, however it crosses itself.
QPolygonF Cut(const QPolygonF& in, const std::function<double(QPointF)>& side, const std::function<QPointF(QPointF, QPointF)>& cross)
{
    QPolygonF out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const QPointF a = in[i], b = in[(i + 1) % in.size()];
        const bool aIn = side(a) >= 0, bIn = side(b) >= 0;
        if (aIn)
            out.append(a);
        if (aIn != bIn)
            out.append(cross(a, b));
    }
    return out;
}

QPolygonF CutTo(QPolygonF p, const QRectF& r)
{
    auto atX = [](double x) {
        return [x](QPointF a, QPointF b) { return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x())); };
    };
    auto atY = [](double y) {
        return [y](QPointF a, QPointF b) { return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y); };
    };
    p = Cut(p, [&](QPointF q) { return q.x() - r.left(); }, atX(r.left()));
    p = Cut(p, [&](QPointF q) { return r.right() - q.x(); }, atX(r.right()));
    p = Cut(p, [&](QPointF q) { return q.y() - r.top(); }, atY(r.top()));
    return Cut(p, [&](QPointF q) { return r.bottom() - q.y(); }, atY(r.bottom()));
}
}  // namespace

bool TMetafileDevice::ClipAsPath(const QRegion& clip)
{
    return double(clip.rectCount()) * clip.boundingRect().height() > kRegionRowRectangles;
}

double TMetafileDevice::ClipCost(const QRegion& clip)
{
    double rows = 0;
    for (const QRect& r : clip)
        rows += r.height();
    // As a path, each rectangle's two sides are edges across its rows, filled across the region.
    return ClipAsPath(clip) ? RowsCost(2 * rows, clip.boundingRect().width(), 0) : kRowCost * rows;
}

void TMetafileDevice::AllowRegion(double rectangles)
{
    Spend(kRectangleCost * rectangles);
    const double most = kRectangleRows / std::max(1.0, picture_.height());
    if (rectangles > most)
        throw EMetafileLimit(Format("holds a clip region of up to %.0f rectangles (at most %.0f on a picture this high)",
                                    rectangles, std::floor(most)));
}

void TMetafileDevice::SetPainterClip(const QRegion& clip)
{
    if (!ClipAsPath(clip))
        return painter_->setClipRegion(clip);
    QPainterPath path;
    path.addRegion(clip);
    painter_->setClipPath(path);
}

double TMetafileDevice::RegionBound(std::span<const QRect> rects, const QRegion* other) const
{
    // In each band between two edges the result holds at most one rectangle more than cross
    // the band, and no more than fit side by side across the picture.
    std::vector<std::pair<int, int>> edges;
    edges.reserve(rects.size() * 2 + (other ? size_t(other->rectCount()) * 2 : 0));
    auto add = [&edges](const QRect& r) {
        if (!r.isEmpty()) {
            edges.emplace_back(r.top(), 1);
            edges.emplace_back(r.bottom() + 1, -1);
        }
    };
    for (const QRect& r : rects)
        add(r);
    if (other)
        for (const QRect& r : *other)
            add(r);
    std::sort(edges.begin(), edges.end());
    const double across = std::ceil(picture_.width() / 2) + 1;
    double bound = 0;
    int active = 0;
    for (size_t i = 0; i < edges.size(); ++i) {
        active += edges[i].second;
        if (active > 0 && i + 1 < edges.size() && edges[i + 1].first > edges[i].first)
            bound += std::min(double(active) + 1, across);
    }
    return bound;
}

QRegion TMetafileDevice::ToRegion(const QRectF& logical)
{
    const QTransform& t = Transform();
    if (t.type() <= QTransform::TxScale)
        return QRegion(PixelRect(t.mapRect(logical.normalized())) & picture_.toAlignedRect());
    QPainterPath p;
    p.addPolygon(t.map(QPolygonF(logical.normalized())));
    return ToRegion(p, Qt::OddEvenFill);
}

QRegion TMetafileDevice::ToRegion(const QPainterPath& image, Qt::FillRule rule)
{
    if (picture_.isEmpty())
        return {};
    // Only the picture's part of the shape matters, and whole pixels can only hold that much.
    // Each figure is cut to the picture on its own, as boolean operations on a figure that
    // crosses itself a million times would take minutes and gigabytes.
    const QRectF frame = picture_.adjusted(-2, -2, 2, 2);
    QPolygon pixels;
    double rows = 0;
    QPoint first;
    for (const QPolygonF& figure : image.toSubpathPolygons()) {
        const QPolygonF seen = CutTo(figure, frame);
        if (seen.size() < 3)
            continue;
        if (pixels.isEmpty())
            first = QPoint(Pixel(seen[0].x()), Pixel(seen[0].y()));
        QPoint last = QPoint(Pixel(seen.back().x()), Pixel(seen.back().y()));
        for (const QPointF& p : seen) {
            const QPoint q(Pixel(p.x()), Pixel(p.y()));
            rows += std::abs(q.y() - last.y());
            pixels.append(last = q);
        }
        // Back to the first point after each figure, as the way there and back cancel out.
        pixels.append(pixels[pixels.size() - qsizetype(seen.size())]);
        pixels.append(first);
    }
    if (pixels.size() < 3)
        return {};
    // Made row by row, with the edges kept in order along each: as costly as filling the shape.
    Spend(RowsCost(rows, pixels.boundingRect().width(), 0));
    // Each row crossed twice makes at most one rectangle.
    AllowRegion(rows / 2 + 1);
    return QRegion(pixels, rule);
}

void TMetafileDevice::CombineClip(const QRegion& region, int mode)
{
    if (picture_.isEmpty())
        return;  // while only the picture's extent is looked for, nothing is clipped
    const QRegion current = state_.Clip ? *state_.Clip : QRegion(picture_.toAlignedRect());
    // Two rectangles or regions can combine into many more rectangles than either holds.
    if (mode != gdi::RGN_COPY && region.rectCount() > 1 && current.rectCount() > 1) {
        const std::vector<QRect> rects(region.begin(), region.end());
        AllowRegion(RegionBound(rects, &current));
    } else {
        AllowRegion(double(region.rectCount()) + current.rectCount());
    }
    switch (mode) {
    case gdi::RGN_AND: state_.Clip = current & region; break;
    case gdi::RGN_OR: state_.Clip = current | region; break;
    case gdi::RGN_XOR: state_.Clip = current ^ region; break;
    case gdi::RGN_DIFF: state_.Clip = current - region; break;
    case gdi::RGN_COPY: state_.Clip = region; break;
    default: return;
    }
}

void TMetafileDevice::IntersectClipRect(const QRectF& box) { CombineClip(ToRegion(box), gdi::RGN_AND); }
void TMetafileDevice::ExcludeClipRect(const QRectF& box) { CombineClip(ToRegion(box), gdi::RGN_DIFF); }

void TMetafileDevice::OffsetClip(QPointF d)
{
    if (!state_.Clip)
        return;
    const QPointF shift = Transform().map(d) - Transform().map(QPointF());
    // Kept within reach, so that shifting again cannot overflow.
    state_.Clip = state_.Clip->translated(Pixel(shift.x()), Pixel(shift.y())) & kEverywhere;
}

void TMetafileDevice::SelectClipRegion(std::span<const QRectF> rects, int mode, bool logical)
{
    if (rects.empty() && mode == gdi::RGN_COPY) {
        state_.Clip.reset();
        return;
    }
    if (picture_.isEmpty())
        return;
    Spend(kRectangleCost * double(rects.size()));
    // Cut to the picture first: what lies beyond it is never drawn through.
    std::vector<QRect> cut;
    cut.reserve(rects.size());
    const QRect picture = picture_.toAlignedRect();
    for (const QRectF& r : rects) {
        if (logical && Transform().type() > QTransform::TxScale) {
            const QRegion turned = ToRegion(r);
            cut.insert(cut.end(), turned.begin(), turned.end());
        } else if (const QRect c = PixelRect((logical ? Transform() : toImage_).mapRect(r.normalized())) & picture; !c.isEmpty()) {
            cut.push_back(c);
        }
    }
    // What their union can hold is judged before it is made.
    AllowRegion(RegionBound(cut, nullptr));
    // United in pairs, then pairs of pairs: one at a time would take time growing with the
    // square of their number.
    std::vector<QRegion> parts(cut.begin(), cut.end());
    for (size_t step = 1; step < parts.size(); step *= 2)
        for (size_t i = 0; i + step < parts.size(); i += 2 * step)
            parts[i] += parts[i + step];
    CombineClip(parts.empty() ? QRegion() : parts[0], mode);
}
