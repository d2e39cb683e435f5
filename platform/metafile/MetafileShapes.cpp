// The device context's lines, shapes, regions and paths, drawn with GDI's pens and brushes.
#include "MetafileDevice.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
constexpr double kPointCost = 4;  // what a point costs beyond the pixels it covers
constexpr double kCrossingCost = 0.6;  // what a row an edge crosses costs, for each pixel across the shape
constexpr double kBandCost = 25e6;  // the most a shape draws between two looks at the clock (some 50 ms)
constexpr double kThinLineCost = 10;  // what a pixel of a thin line costs, in pixels of filling
constexpr double kGradientCost = 4000;  // what a gradient costs to set up, beyond the pixels it fills
constexpr double kReach = 1 << 22;  // picture pixels
constexpr double kWidestPen = 32767;
constexpr double kPi = 3.14159265358979323846;

QRectF BoundsOf(std::span<const QPointF> points)
{
    if (points.empty())
        return {};
    double l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (const QPointF& p : points) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        t = std::min(t, p.y());
        b = std::max(b, p.y());
    }
    return QRectF(QPointF(l, t), QPointF(r, b));
}

// Each line counted no longer than longest, as what lies beyond the picture is not drawn.
double LengthOf(std::span<const QPointF> points, double longest = HUGE_VAL)
{
    double length = 0;
    for (size_t i = 1; i < points.size(); ++i)
        length += std::min(std::hypot(points[i].x() - points[i - 1].x(), points[i].y() - points[i - 1].y()), longest);
    return length;
}

// Along the control points: never shorter than the curves they steer, and quick to add up.
double LengthOf(const QPainterPath& path, double longest = HUGE_VAL)
{
    double length = 0;
    for (int i = 1; i < path.elementCount(); ++i) {
        const QPainterPath::Element a = path.elementAt(i - 1), b = path.elementAt(i);
        if (!b.isMoveTo())
            length += std::min(std::hypot(b.x - a.x, b.y - a.y), longest);
    }
    return length;
}

// The dash pattern of a styled pen, in pen widths: thin pens in device pixels, geometric ones in
// multiples of their width.
QVector<qreal> Dashes(int style, bool thin)
{
    switch (style) {
    case 1: return thin ? QVector<qreal>{18, 6} : QVector<qreal>{3, 1};
    case 2: return thin ? QVector<qreal>{3, 3} : QVector<qreal>{1, 1};
    case 3: return thin ? QVector<qreal>{9, 6, 3, 6} : QVector<qreal>{3, 1, 1, 1};
    case 4: return thin ? QVector<qreal>{9, 3, 3, 3, 3, 3} : QVector<qreal>{3, 1, 1, 1, 1, 1};
    case 8: return {1, 1};  // PS_ALTERNATE
    default: return {};
    }
}

// The 8 x 8 cell of a hatch style: which pixels the lines cover.
bool Hatched(int hatch, int x, int y)
{
    switch (hatch) {
    case 0: return y == 7;                    // HS_HORIZONTAL
    case 1: return x == 7;                    // HS_VERTICAL
    case 2: return x == y;                    // HS_FDIAGONAL
    case 3: return x + y == 7;                // HS_BDIAGONAL
    case 4: return x == 7 || y == 7;          // HS_CROSS
    default: return x == y || x + y == 7;     // HS_DIAGCROSS
    }
}
}  // namespace

// ---- cost ------------------------------------------------------------------------------------------
double TMetafileDevice::SeenArea(const QRectF& box) const
{
    const QRectF seen = picture_.isEmpty() ? QRectF() : box.intersected(picture_);
    return seen.isEmpty() ? 0 : seen.width() * seen.height();
}

void TMetafileDevice::Spend(double cost)
{
    work_ += cost;
    if (work_ > double(limits_.Work))
        throw EMetafileLimit(Format("would take too long to draw (more than %lld million pixels of drawing)",
                                    static_cast<long long>(limits_.Work / 1000000)));
    CheckTime(cost);
}

bool TMetafileDevice::Touch(const QRectF& box, double cost)
{
    drawn_ = drawn_.isNull() ? box : drawn_.united(box);
    if (picture_.isEmpty())
        return false;
    Spend(cost);
    // What reaches that far beyond the picture is no drawing, and would keep Qt busy for minutes.
    const QRectF reach = picture_.adjusted(-kReach, -kReach, kReach, kReach);
    return box.intersects(picture_) && reach.contains(box) && Painting();
}

bool TMetafileDevice::TouchArea(const QRectF& box, double extra) { return Touch(box, SeenArea(box) + extra); }

namespace {
// The rows of pixels that a shape's edges cross, each edge widened by w and cut to the rows from
// top to bottom, and how far across the shape reaches. at(i) gives the i-th point, mapped onto
// the picture by t, and whether it starts a figure (no edge leads to it).
struct TCrossed {
    double Rows = 0, Left = HUGE_VAL, Right = -HUGE_VAL;
};

template <typename PointAt>
TCrossed RowsCrossed(int count, const PointAt& at, const QTransform& t, double top, double bottom, double w)
{
    TCrossed c;
    QPointF last;
    for (int i = 0; i < count; ++i) {
        const auto [point, starts] = at(i);
        const QPointF p = t.map(point);
        c.Left = std::min(c.Left, p.x());
        c.Right = std::max(c.Right, p.x());
        const double a = std::clamp(std::min(last.y(), p.y()) - w / 2, top, bottom);
        const double b = std::clamp(std::max(last.y(), p.y()) + w / 2, top, bottom);
        if (i > 0 && !starts && std::isfinite(b - a))
            c.Rows += b - a + 1;
        last = p;
    }
    return c;
}
}  // namespace

double TMetafileDevice::ScanCost(const QPainterPath& path, bool image, double w)
{
    const int n = path.elementCount();
    if (picture_.isEmpty() || n < 2)
        return 0;
    auto at = [&path](int i) {
        const QPainterPath::Element e = path.elementAt(i);
        return std::pair(QPointF(e.x, e.y), e.isMoveTo());
    };
    const TCrossed c = RowsCrossed(n, at, image ? QTransform() : Transform(), picture_.top() - w, picture_.bottom() + w, w);
    return RowsCost(c.Rows, std::min(c.Right, picture_.right()) - std::max(c.Left, picture_.left()), w);
}

double TMetafileDevice::ScanCost(std::span<const QPointF> points, double w)
{
    const int n = int(points.size());
    if (picture_.isEmpty() || n < 2)
        return 0;
    auto at = [&points](int i) { return std::pair(points[size_t(i)], false); };
    const TCrossed c = RowsCrossed(n, at, Transform(), picture_.top() - w, picture_.bottom() + w, w);
    return RowsCost(c.Rows, std::min(c.Right, picture_.right()) - std::max(c.Left, picture_.left()), w);
}

double TMetafileDevice::Across() const { return std::hypot(picture_.width(), picture_.height()); }

double TMetafileDevice::LineCost(double along, double w, const QRectF& box) const
{
    // A wide pen's outline is filled, each pixel once; a thin pen draws every line pixel by pixel,
    // however often they cross, and each pixel of a line costs several of a fill.
    return w > 1 ? std::min(SeenArea(box), along * w) : kThinLineCost * along;
}

double TMetafileDevice::RowsCost(double rows, double width, double w)
{
    // Qt's rasterizer works along the whole width of a shape at each crossing of an edge and a
    // row: measured on this machine, up to about a nanosecond for each crossing and each pixel
    // across. A wide pen's outline has an edge on each side of every one, a pen's width further
    // out; a thin pen is drawn along its lines, and costs only what it covers.
    const double across = std::isfinite(width) ? std::max(width, 0.0) + w + 1 : 1;
    return kCrossingCost * rows * across * (w > 1 ? 2 : 1);
}

double TMetafileDevice::Scale()
{
    const QTransform& t = Transform();
    return std::max(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
}

double TMetafileDevice::StrokeWidth()
{
    const TMetaPen& p = *state_.Pen;
    if ((p.Style & 0xF) == gdi::PS_NULL)
        return 0;
    if (p.Cosmetic || p.Width <= 0)
        return 1;
    // A pen's width follows the mapping across, in whole pixels.
    const QTransform& t = Transform();
    const double pixels = std::round(p.Width * std::hypot(t.m11(), t.m12()));
    return std::isfinite(pixels) ? std::clamp(pixels, 1.0, kWidestPen) : 1.0;
}

void TMetafileDevice::InBands(const QRectF& box, double cost, const std::function<void()>& draw, bool outlined)
{
    // Qt fills a clipped shape in about the part of the time its rows take, so a costly shape is
    // filled a band of rows at a time, with a look at the clock (and the windows) between bands.
    // A thin pen's lines take as long clipped to a band as whole: they are drawn once, after.
    const QPen pen = painter_->pen();
    const QBrush brush = painter_->brush();
    const bool thin = outlined && pen.style() != Qt::NoPen && pen.isCosmetic();
    const QRectF seen = box.intersected(picture_);
    const int bands = int(std::clamp(std::ceil(cost / kBandCost), 1.0, std::max(1.0, std::floor(seen.height()))));
    if (bands == 1 || (thin && brush.style() == Qt::NoBrush))
        return draw();
    if (thin)
        painter_->setPen(Qt::NoPen);
    const QTransform t = painter_->transform();
    for (int i = 0; i < bands; ++i) {
        const QRect band = QRectF(seen.left(), seen.top() + seen.height() * i / bands, seen.width(), seen.height() / bands)
                               .toAlignedRect();
        painter_->save();
        painter_->resetTransform();
        painter_->setClipRect(band, Qt::IntersectClip);  // or the band alone, while nothing clips
        painter_->setTransform(t);
        draw();
        painter_->restore();
        CheckTime(0);
    }
    if (thin) {
        painter_->setPen(pen);
        painter_->setBrush(Qt::NoBrush);
        draw();
        painter_->setBrush(brush);
    }
}

// ---- pens and brushes ----------------------------------------------------------------------------------
bool TMetafileDevice::SetPen(bool logical)
{
    const TMetaPen& p = *state_.Pen;
    const int style = p.Style & 0xF;
    if (style == gdi::PS_NULL) {
        painter_->setPen(Qt::NoPen);
        return false;
    }
    const double pixels = StrokeWidth();
    // Drawn in logical units, the width is said in them, within what a Qt pen holds (below 32768).
    const double perUnit = logical ? Transform().map(QLineF(0, 0, 1, 0)).length() : 1;
    const double width = pixels / perUnit;
    const bool thin = pixels <= 1 || std::isnan(width);
    QPen pen(Color(p.Color));
    if (thin) {
        pen.setCosmetic(true);
        pen.setWidth(0);
    } else {
        pen.setWidthF(std::min(width, kWidestPen));
    }
    const int cap = p.Style & 0xF00, join = p.Style & 0xF000;
    pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
    pen.setMiterLimit(state_.MiterLimit);
    // Styled lines are drawn by thin pens and by geometric ones; a wide plain pen draws solid.
    const bool geometric = p.Style & gdi::PS_GEOMETRIC;
    QVector<qreal> dashes;
    if (style == gdi::PS_USERSTYLE && !p.Dashes.empty()) {
        const double unit = thin || p.Width <= 0 ? 1 : p.Width;
        for (double d : p.Dashes)
            dashes.push_back(std::max(d / unit, 0.01));
    } else if (thin || geometric) {
        dashes = Dashes(style, thin);
    }
    if (!dashes.isEmpty()) {
        if (dashes.size() % 2)
            dashes.push_back(dashes.back());
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(dashes);
    }
    painter_->setPen(pen);
    return true;
}

QBrush TMetafileDevice::MakeBrush(const TMetaBrush& b) const
{
    if (b.Style == gdi::BS_HATCHED) {
        // The gaps between the lines show the background colour unless the background is transparent.
        QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
        const QRgb line = Color(b.Color).rgb();
        const QRgb gap = state_.BkMode == gdi::OPAQUE ? Color(state_.BkColor).rgb() : 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                cell.setPixel(x, y, Hatched(b.Hatch, x, y) ? line : gap);
        return QBrush(cell);
    }
    if (b.Style == gdi::BS_PATTERN && !b.Pattern.isNull()) {
        if (!b.Monochrome)
            return QBrush(b.Pattern);
        // A two-colour pattern takes the text colour for its first colour and the background for the other.
        QImage pattern = b.Pattern;
        pattern.setColorTable({Color(state_.TextColor).rgb(), Color(state_.BkColor).rgb()});
        return QBrush(pattern);
    }
    return QBrush(Color(b.Color));
}

bool TMetafileDevice::SetBrush(const TMetaBrush* brush, bool logical)
{
    const TMetaBrush& b = brush ? *brush : *state_.Brush;
    if (b.Style == gdi::BS_NULL || (b.Style == gdi::BS_PATTERN && b.Pattern.isNull())) {
        painter_->setBrush(Qt::NoBrush);
        return false;
    }
    QBrush q = MakeBrush(b);
    // Patterns line up with the picture's pixels, whatever the mapping.
    if (q.style() == Qt::TexturePattern && logical)
        q.setTransform(Transform().inverted());
    painter_->setBrush(q);
    return true;
}

// ---- shapes ---------------------------------------------------------------------------------------------
void TMetafileDevice::DrawShape(const QPainterPath& logical, bool fill, bool stroke)
{
    if (pathOpen_)
        return AddToPath(logical);
    const double w = stroke ? StrokeWidth() : 0;
    const QRectF box = Transform().mapRect(logical.controlPointRect()).adjusted(-w / 2 - 1, -w / 2 - 1, w / 2 + 1, w / 2 + 1);
    // A line costs what it covers, not the box round it; a wide pen's joins cost their width each.
    const double joins = (kPointCost + w) * logical.elementCount();
    const double cost = joins + (fill ? SeenArea(box) : LineCost(LengthOf(logical, Across() / Scale()) * Scale(), w, box)) +
                        (fill ? ScanCost(logical, false, 0) : 0) + (w > 1 ? ScanCost(logical, false, w) : 0);
    if (!Touch(box, cost))
        return;
    UseLogical();
    const bool pen = stroke && SetPen(true);
    const bool brush = fill && SetBrush(nullptr, true);
    if (!brush)
        painter_->setBrush(Qt::NoBrush);
    if (pen || brush)
        InBands(box, cost, [&] { painter_->drawPath(logical); });
}

void TMetafileDevice::AddToPath(const QPainterPath& logical)
{
    AllowPoints(uint64_t(path_.elementCount()) + uint64_t(logical.elementCount()));
    path_.addPath(Transform().map(logical));
}

void TMetafileDevice::MoveTo(QPointF p)
{
    state_.Position = p;
    if (pathOpen_)
        path_.moveTo(Transform().map(p));
}

void TMetafileDevice::LineTo(QPointF p)
{
    const QPointF line[2] = {state_.Position, p};
    Polyline(std::span<const QPointF>(line + 1, 1), true);
}

void TMetafileDevice::Polyline(std::span<const QPointF> points, bool fromPosition)
{
    if (points.empty())
        return;
    std::vector<QPointF> joined;
    if (fromPosition) {
        joined.reserve(points.size() + 1);
        joined.push_back(state_.Position);
        joined.insert(joined.end(), points.begin(), points.end());
        state_.Position = points.back();
        points = joined;
    }
    if (pathOpen_) {
        AllowPoints(uint64_t(path_.elementCount()) + points.size());
        const QTransform& t = Transform();
        if (!fromPosition || path_.elementCount() == 0)
            path_.moveTo(t.map(points[0]));
        for (size_t i = 1; i < points.size(); ++i)
            path_.lineTo(t.map(points[i]));
        return;
    }
    const double w = StrokeWidth();
    const QTransform& t = Transform();
    const QRectF box = t.mapRect(BoundsOf(points)).adjusted(-w / 2 - 1, -w / 2 - 1, w / 2 + 1, w / 2 + 1);
    const double along = LengthOf(points, Across() / Scale()) * Scale();
    const double cost = (kPointCost + w) * points.size() + LineCost(along, w, box) + (w > 1 ? ScanCost(points, w) : 0);
    if (w == 0 || !Touch(box, cost))
        return;
    UseLogical();
    SetPen(true);
    InBands(box, cost, [&] { painter_->drawPolyline(points.data(), int(points.size())); });
}

void TMetafileDevice::PolyPolyline(std::span<const QPointF> points, std::span<const uint32_t> counts)
{
    for (uint32_t count : counts) {
        const size_t n = std::min<size_t>(count, points.size());
        Polyline(points.first(n));
        points = points.subspan(n);
    }
}

void TMetafileDevice::Polygon(std::span<const QPointF> points)
{
    if (points.size() < 2)
        return;
    if (pathOpen_) {
        QPainterPath p;
        p.addPolygon(QPolygonF(QList<QPointF>(points.begin(), points.end())));
        p.closeSubpath();
        return AddToPath(p);
    }
    const double w = StrokeWidth();
    const QRectF box = Transform().mapRect(BoundsOf(points)).adjusted(-w / 2 - 1, -w / 2 - 1, w / 2 + 1, w / 2 + 1);
    const double cost = SeenArea(box) + kPointCost * points.size() + ScanCost(points, 0) + (w > 1 ? ScanCost(points, w) : 0);
    if (!Touch(box, cost))
        return;
    UseLogical();
    const bool pen = SetPen(true);
    const Qt::FillRule rule = state_.FillMode == gdi::WINDING ? Qt::WindingFill : Qt::OddEvenFill;
    if (SetBrush(nullptr, true) || pen)
        InBands(box, cost, [&] { painter_->drawPolygon(points.data(), int(points.size()), rule); });
}

void TMetafileDevice::PolyPolygon(std::span<const QPointF> points, std::span<const uint32_t> counts)
{
    QPainterPath p;
    p.setFillRule(state_.FillMode == gdi::WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    for (uint32_t count : counts) {
        const size_t n = std::min<size_t>(count, points.size());
        if (n >= 2) {
            p.addPolygon(QPolygonF(QList<QPointF>(points.begin(), points.begin() + n)));
            p.closeSubpath();
        }
        points = points.subspan(n);
    }
    DrawShape(p, true, true);
}

void TMetafileDevice::PolyBezier(std::span<const QPointF> points, bool fromPosition)
{
    if (points.empty())
        return;
    QPainterPath p(fromPosition ? state_.Position : points[0]);
    for (size_t i = fromPosition ? 0 : 1; i + 3 <= points.size(); i += 3)
        p.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (fromPosition)
        state_.Position = p.currentPosition();
    if (pathOpen_ && fromPosition && path_.elementCount() > 0) {
        AllowPoints(uint64_t(path_.elementCount()) + uint64_t(p.elementCount()));
        path_.connectPath(Transform().map(p));
        return;
    }
    DrawShape(p, false, true);
}

void TMetafileDevice::PolyDraw(std::span<const QPointF> points, std::span<const uint8_t> types)
{
    QPainterPath p(state_.Position);
    for (size_t i = 0; i < points.size() && i < types.size(); ++i) {
        const int type = types[i] & ~1;
        if (type == 6)  // PT_MOVETO
            p.moveTo(points[i]);
        else if (type == 4 && i + 2 < points.size()) {  // PT_BEZIERTO: three points
            p.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        } else
            p.lineTo(points[i]);
        if (types[i] & 1)  // PT_CLOSEFIGURE
            p.closeSubpath();
    }
    state_.Position = p.currentPosition();
    DrawShape(p, false, true);
}

namespace {
// A pen drawn inside the frame keeps the whole line within the box.
QRectF InsideFrame(const TMetaPen& pen, QRectF box)
{
    if ((pen.Style & 0xF) != gdi::PS_INSIDEFRAME || pen.Width <= 1)
        return box;
    const double h = pen.Width / 2;
    return box.width() > pen.Width && box.height() > pen.Width ? box.adjusted(h, h, -h, -h) : box;
}
}  // namespace

void TMetafileDevice::Rectangle(const QRectF& box)
{
    const QRectF r = InsideFrame(*state_.Pen, box.normalized());
    if (pathOpen_) {
        QPainterPath p;
        p.addRect(r);
        return AddToPath(p);
    }
    const double w = StrokeWidth();
    if (!TouchArea(Transform().mapRect(r).adjusted(-w / 2 - 1, -w / 2 - 1, w / 2 + 1, w / 2 + 1), kPointCost * 4))
        return;
    UseLogical();
    const bool pen = SetPen(true);
    if (SetBrush(nullptr, true) || pen)
        painter_->drawRect(r);
}

void TMetafileDevice::RoundRect(const QRectF& box, QSizeF corner)
{
    QPainterPath p;
    p.addRoundedRect(InsideFrame(*state_.Pen, box.normalized()), std::abs(corner.width()) / 2,
                     std::abs(corner.height()) / 2);
    DrawShape(p, true, true);
}

void TMetafileDevice::Ellipse(const QRectF& box)
{
    QPainterPath p;
    p.addEllipse(InsideFrame(*state_.Pen, box.normalized()));
    DrawShape(p, true, true);
}

QPainterPath TMetafileDevice::ArcPath(TArcKind kind, const QRectF& box, QPointF start, QPointF end, bool clockwise)
{
    const QRectF r = box.normalized();
    const QPointF c = r.center();
    const double rx = std::max(r.width() / 2, 1e-9), ry = std::max(r.height() / 2, 1e-9);
    // Qt measures the angle of the ellipse's parameter, counter-clockwise as seen with y down; the
    // records give points on the rays from the centre.
    auto angle = [&](QPointF p) { return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / kPi; };
    const double a0 = angle(start);
    double sweep = std::fmod(angle(end) - a0 + 720, 360);
    if (sweep == 0)
        sweep = 360;  // the same ray twice is the whole ellipse
    // Counter-clockwise as the picture shows it, whichever way its y axis runs.
    const QTransform& t = Transform();
    if (clockwise != (t.determinant() < 0))
        sweep = sweep == 360 ? -360 : sweep - 360;
    QPainterPath p;
    if (kind == TArcKind::Pie)
        p.moveTo(c);
    else if (kind == TArcKind::ArcTo)
        p.moveTo(state_.Position);
    else
        p.arcMoveTo(r, a0);
    p.arcTo(r, a0, sweep);
    if (kind == TArcKind::Pie || kind == TArcKind::Chord)
        p.closeSubpath();
    return p;
}

void TMetafileDevice::Arc(TArcKind kind, const QRectF& box, QPointF start, QPointF end)
{
    QPainterPath p = ArcPath(kind, box, start, end, state_.Clockwise);
    if (kind == TArcKind::ArcTo)
        state_.Position = p.currentPosition();
    DrawShape(p, kind == TArcKind::Chord || kind == TArcKind::Pie, true);
}

void TMetafileDevice::AngleArc(QPointF c, double radius, double startDegrees, double sweepDegrees)
{
    if (!std::isfinite(radius) || !std::isfinite(startDegrees) || !std::isfinite(sweepDegrees))
        return;
    QPainterPath p(state_.Position);
    p.arcTo(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), startDegrees,
            std::clamp(sweepDegrees, -720.0, 720.0));
    state_.Position = p.currentPosition();
    DrawShape(p, false, true);
}

void TMetafileDevice::SetPixel(QPointF p, uint32_t colorRef)
{
    const QPointF at = Transform().map(p);
    const QRectF pixel(std::floor(at.x()), std::floor(at.y()), 1, 1);
    if (!Touch(pixel, 1))
        return;
    UseImage();
    painter_->fillRect(pixel, Color(colorRef));
}

void TMetafileDevice::PatBlt(const QRectF& box, uint32_t rop)
{
    const QRectF r = box.normalized();
    if (!TouchArea(Transform().mapRect(r).adjusted(-1, -1, 1, 1), kPointCost * 4))
        return;
    UseLogical();
    const TMetaBrush& b = *state_.Brush;
    switch (rop >> 16 & 0xFF) {
    case 0x00: painter_->fillRect(r, Qt::black); break;   // BLACKNESS
    case 0xFF: painter_->fillRect(r, Qt::white); break;   // WHITENESS
    case 0xAA: break;                                     // the destination as it is
    case 0x55:                                            // DSTINVERT
        painter_->setCompositionMode(QPainter::RasterOp_NotDestination);
        painter_->fillRect(r, Qt::black);
        appliedRop_ = -1;
        rasterOps_ = true;
        break;
    case 0x5A:                                            // PATINVERT
        painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        if (b.Style != gdi::BS_NULL)
            painter_->fillRect(r, MakeBrush(b));
        appliedRop_ = -1;
        rasterOps_ = true;
        break;
    default:                                              // PATCOPY and the rest: the brush
        if (b.Style != gdi::BS_NULL) {
            QBrush q = MakeBrush(b);
            if (q.style() == Qt::TexturePattern)
                q.setTransform(Transform().inverted());
            painter_->fillRect(r, q);
        }
        break;
    }
}

void TMetafileDevice::FillRegion(const TMetaRegion& region, const TMetaBrush* brush)
{
    QPainterPath p;
    for (const QRectF& r : region)
        p.addRect(r.normalized());
    if (pathOpen_ || p.isEmpty())
        return;
    const QRectF box = Transform().mapRect(p.controlPointRect()).adjusted(-1, -1, 1, 1);
    const double cost = SeenArea(box) + kPointCost * 4 * region.size() + ScanCost(p, false, 0);
    if (!Touch(box, cost))
        return;
    UseLogical();
    painter_->setPen(Qt::NoPen);
    if (SetBrush(brush, true))
        InBands(box, cost, [&] { painter_->drawPath(p); });
}

void TMetafileDevice::FrameRegion(const TMetaRegion& region, const TMetaBrush* brush, QSizeF stroke)
{
    // Each rectangle of the region is framed by a band of the stroke's size, inside it.
    const double w = std::abs(stroke.width()), h = std::abs(stroke.height());
    TMetaRegion bands;
    bands.reserve(region.size() * 4);
    for (const QRectF& r0 : region) {
        const QRectF r = r0.normalized();
        bands.push_back(QRectF(r.left(), r.top(), r.width(), std::min(h, r.height())));
        bands.push_back(QRectF(r.left(), r.bottom() - std::min(h, r.height()), r.width(), std::min(h, r.height())));
        bands.push_back(QRectF(r.left(), r.top(), std::min(w, r.width()), r.height()));
        bands.push_back(QRectF(r.right() - std::min(w, r.width()), r.top(), std::min(w, r.width()), r.height()));
    }
    FillRegion(bands, brush);
}

void TMetafileDevice::GradientRect(const QRectF& box, QColor from, QColor to, bool vertical)
{
    const QRectF r = box.normalized();
    if (pathOpen_ || !TouchArea(Transform().mapRect(r).adjusted(-1, -1, 1, 1), kGradientCost))
        return;
    QLinearGradient g(box.topLeft(), vertical ? QPointF(box.left(), box.bottom()) : QPointF(box.right(), box.top()));
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    UseLogical();
    painter_->fillRect(r, g);
}

void TMetafileDevice::GradientTriangle(const QPointF (&corners)[3], QColor average)
{
    if (pathOpen_ || !TouchArea(Transform().mapRect(BoundsOf(corners)).adjusted(-1, -1, 1, 1), kPointCost * 3 + kGradientCost / 4))
        return;
    UseLogical();
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(average);
    painter_->drawPolygon(corners, 3);
}

void TMetafileDevice::Bitmap(const QRectF& dest, const QImage& image, const QRectF& src, uint32_t rop, int constantAlpha)
{
    const QRectF box = Transform().mapRect(dest.normalized()).adjusted(-1, -1, 1, 1);
    const double cost = SeenArea(box);
    if (dest.width() == 0 || dest.height() == 0 || !Touch(box, cost) || image.isNull() || src.isEmpty())
        return;
    // A negative extent mirrors the bitmap along that axis.
    const bool mirrorX = dest.width() < 0, mirrorY = dest.height() < 0;
    const QImage shown = mirrorX || mirrorY ? image.mirrored(mirrorX, mirrorY) : image;
    QRectF from = src;
    if (mirrorX)
        from.moveLeft(image.width() - src.right());
    if (mirrorY)
        from.moveTop(image.height() - src.bottom());
    static const std::pair<int, QPainter::CompositionMode> kModes[] = {
        {0x88, QPainter::RasterOp_SourceAndDestination},     // SRCAND
        {0xEE, QPainter::RasterOp_SourceOrDestination},      // SRCPAINT
        {0x66, QPainter::RasterOp_SourceXorDestination},     // SRCINVERT
        {0x33, QPainter::RasterOp_NotSource},                // NOTSRCCOPY
        {0x44, QPainter::RasterOp_SourceAndNotDestination},  // SRCERASE
        {0x11, QPainter::RasterOp_NotSourceAndNotDestination},  // NOTSRCERASE
        {0xBB, QPainter::RasterOp_NotSourceOrDestination},   // MERGEPAINT
    };
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    for (auto [code, m] : kModes)
        if (int(rop >> 16 & 0xFF) == code)
            mode = m;
    UseLogical();
    painter_->setCompositionMode(mode);
    appliedRop_ = -1;
    rasterOps_ |= mode != QPainter::CompositionMode_SourceOver;
    painter_->setOpacity(constantAlpha / 255.0);
    InBands(box, cost, [&] { painter_->drawImage(dest.normalized(), shown, from); }, false);
    painter_->setOpacity(1);
}

// ---- paths ------------------------------------------------------------------------------------------------
void TMetafileDevice::BeginPath()
{
    pathOpen_ = true;
    path_ = QPainterPath();
}

void TMetafileDevice::AbortPath()
{
    pathOpen_ = false;
    path_ = QPainterPath();
}

void TMetafileDevice::CloseFigure()
{
    if (pathOpen_)
        path_.closeSubpath();
}

void TMetafileDevice::FillPath()
{
    pathOpen_ = false;
    QPainterPath p = std::exchange(path_, QPainterPath());
    p.setFillRule(state_.FillMode == gdi::WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    const QRectF box = p.controlPointRect().adjusted(-1, -1, 1, 1);
    const double cost = SeenArea(box) + kPointCost * p.elementCount() + ScanCost(p, true, 0);
    if (!Touch(box, cost))
        return;
    UseImage();
    painter_->setPen(Qt::NoPen);
    if (SetBrush(nullptr, false))
        InBands(box, cost, [&] { painter_->drawPath(p); });
}

void TMetafileDevice::StrokePath()
{
    pathOpen_ = false;
    QPainterPath p = std::exchange(path_, QPainterPath());
    const double w = StrokeWidth();
    // A wide pen strokes an outline on each side of every edge, as wide as the pen.
    const QRectF box = p.controlPointRect().adjusted(-w / 2 - 1, -w / 2 - 1, w / 2 + 1, w / 2 + 1);
    const double cost = (kPointCost + w) * p.elementCount() + LineCost(LengthOf(p, Across()), w, box) + (w > 1 ? ScanCost(p, true, w) : 0);
    if (!Touch(box, cost))
        return;
    UseImage();
    painter_->setBrush(Qt::NoBrush);
    if (SetPen(false))
        InBands(box, cost, [&] { painter_->drawPath(p); });
}

void TMetafileDevice::StrokeAndFillPath()
{
    const QPainterPath p = path_;
    FillPath();
    path_ = p;
    StrokePath();
}

void TMetafileDevice::SelectClipPath(int mode)
{
    pathOpen_ = false;
    QPainterPath p = std::exchange(path_, QPainterPath());
    Spend(kPointCost * p.elementCount());
    CombineClip(ToRegion(p, state_.FillMode == gdi::WINDING ? Qt::WindingFill : Qt::OddEvenFill), mode);
}
