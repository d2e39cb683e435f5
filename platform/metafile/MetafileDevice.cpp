// The device context's state: mapping, saved states, the object table, clipping, and what
// playing costs.
#include "MetafileDevice.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr auto kWaitInterval = std::chrono::milliseconds(50);
// Pixels of drawing a second, as this machine draws them at the least.
constexpr double kPixelsPerSecond = 500e6;

// Inches per logical unit of the metric and English modes.
double UnitInches(int mode)
{
    switch (mode) {
    case gdi::MM_LOMETRIC: return 1 / 254.0;
    case gdi::MM_HIMETRIC: return 1 / 2540.0;
    case gdi::MM_LOENGLISH: return 1 / 100.0;
    case gdi::MM_HIENGLISH: return 1 / 1000.0;
    case gdi::MM_TWIPS: return 1 / 1440.0;
    default: return 0;
    }
}

bool Scalable(int mode) { return mode == gdi::MM_ISOTROPIC || mode == gdi::MM_ANISOTROPIC; }
// An extent that maps: neither side zero, nor beyond what a number holds.
bool Usable(QSizeF s) { return s.width() != 0 && s.height() != 0 && std::isfinite(s.width() * s.height()); }

}  // namespace

TMetafileDevice::TMetafileDevice(QPainter* painter, const QTransform& toImage, const QRectF& picture,
                                 QPointF pixelsPerInch, const TMetafileLimits& limits,
                                 std::chrono::steady_clock::time_point start)
    : painter_(painter), toImage_(toImage), picture_(picture), pixelsPerInch_(pixelsPerInch), limits_(limits),
      start_(start), lastWait_(std::chrono::steady_clock::now())
{
    state_.Pen = std::make_shared<TMetaPen>();
    state_.Brush = std::make_shared<TMetaBrush>();
    state_.Font = std::make_shared<TMetaFont>();
    if (painter_)
        painter_->setRenderHint(QPainter::Antialiasing, false);
}

TMetafileDevice::~TMetafileDevice() = default;

void TMetafileDevice::Record()
{
    ++records_;
    CheckTime(0);
}

void TMetafileDevice::CheckTime(double cost)
{
    // A drawing that is about to take longer than what is left of the time is not begun.
    const auto now = std::chrono::steady_clock::now();
    const auto ahead = std::chrono::duration<double>(painter_ ? cost / kPixelsPerSecond : 0);
    if (now - start_ + ahead > std::chrono::seconds(limits_.Seconds))
        throw EMetafileLimit(Format("would take too long to draw (more than %d seconds)", limits_.Seconds));
    // Between any two drawings, not only between records: one record can hold thousands.
    if (Waiting && now - lastWait_ > kWaitInterval) {
        Waiting();
        // What the windows did meanwhile (a box the user took a while to answer) is not the
        // picture's time.
        lastWait_ = std::chrono::steady_clock::now();
        start_ += lastWait_ - now;
    }
}

void TMetafileDevice::AllowBitmap(int64_t width, int64_t height) const
{
    if (width > 0 && height > 0 && width * height <= limits_.BitmapPixels)
        return;
    throw EMetafileLimit(Format("holds a bitmap of %lld x %lld pixels (at most %lld megapixels)",
                                static_cast<long long>(width), static_cast<long long>(height),
                                static_cast<long long>(limits_.BitmapPixels >> 20)));
}

void TMetafileDevice::AllowPoints(uint64_t count) const
{
    if (count > uint64_t(limits_.Points))
        throw EMetafileLimit(Format("holds a shape of %llu points (at most %lld)", static_cast<unsigned long long>(count),
                                    static_cast<long long>(limits_.Points)));
}

void TMetafileDevice::AllowPattern(int64_t pixels)
{
    patternPixels_ += double(pixels);
    if (patternPixels_ > double(limits_.PatternPixels))
        throw EMetafileLimit(Format("holds more pattern brushes than can be drawn (over %lld megapixels)",
                                    static_cast<long long>(limits_.PatternPixels >> 20)));
}

QColor TMetafileDevice::Color(uint32_t ref) const
{
    // A palette index names an entry of the selected palette.
    if ((ref >> 24) == 1 && state_.Palette) {
        const auto& colors = state_.Palette->Colors;
        ref = (ref & 0xFFFF) < colors.size() ? colors[ref & 0xFFFF] : 0;
    }
    return QColor(int(ref & 0xFF), int(ref >> 8 & 0xFF), int(ref >> 16 & 0xFF));
}

// ---- mapping -----------------------------------------------------------------------------------
QTransform TMetafileDevice::PageTransform() const
{
    const TDcState& s = state_;
    double sx = s.ViewportExt.width() / s.WindowExt.width(), sy = s.ViewportExt.height() / s.WindowExt.height();
    if (s.MapMode == gdi::MM_TEXT)
        sx = sy = 1;
    if (s.MapMode == gdi::MM_ISOTROPIC) {
        // One logical unit is as long across as down, and the window fits inside the viewport.
        const double k = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(k, sx);
        sy = std::copysign(k, sy);
    }
    return QTransform(sx, 0, 0, sy, s.ViewportOrg.x() - s.WindowOrg.x() * sx, s.ViewportOrg.y() - s.WindowOrg.y() * sy);
}

const QTransform& TMetafileDevice::Transform()
{
    if (transformDirty_) {
        transform_ = state_.World * PageTransform() * toImage_;
        transformDirty_ = false;
        if (painterSpace_ == Space::Logical)
            painterSpace_ = Space::None;
    }
    return transform_;
}

void TMetafileDevice::SetFrame(const QRectF& frame)
{
    state_.MapMode = gdi::MM_ANISOTROPIC;
    state_.WindowOrg = state_.ViewportOrg = frame.topLeft();
    state_.WindowExt = state_.ViewportExt = frame.size();
    Changed();
}

void TMetafileDevice::SetMapMode(int mode)
{
    if (mode < gdi::MM_TEXT || mode > gdi::MM_ANISOTROPIC || mode == state_.MapMode)
        return;
    TDcState& s = state_;
    s.MapMode = mode;
    if (mode == gdi::MM_TEXT) {
        s.WindowExt = s.ViewportExt = {1, 1};
    } else if (const double inches = UnitInches(mode)) {
        // y grows upward in the metric and English modes.
        s.WindowExt = {1, 1};
        s.ViewportExt = {pixelsPerInch_.x() * inches, -pixelsPerInch_.y() * inches};
    }
    Changed();
}

void TMetafileDevice::SetWindowOrg(QPointF p)
{
    state_.WindowOrg = p;
    Changed();
}

void TMetafileDevice::SetWindowExt(QSizeF s)
{
    if (!Scalable(state_.MapMode) || !Usable(s))
        return;
    state_.WindowExt = s;
    if (followWindow_) {
        state_.ViewportExt = {std::abs(s.width()), std::abs(s.height())};
        if (!firstWindowExt_)
            firstWindowExt_ = state_.ViewportExt;
    }
    Changed();
}

void TMetafileDevice::SetViewportOrg(QPointF p)
{
    state_.ViewportOrg = p;
    Changed();
}

void TMetafileDevice::SetViewportExt(QSizeF s)
{
    if (!Scalable(state_.MapMode) || !Usable(s))
        return;
    followWindow_ = false;
    state_.ViewportExt = s;
    Changed();
}

void TMetafileDevice::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom != 0 && yDenom != 0)
        SetWindowExt({state_.WindowExt.width() * xNum / xDenom, state_.WindowExt.height() * yNum / yDenom});
}

void TMetafileDevice::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom != 0 && yDenom != 0)
        SetViewportExt({state_.ViewportExt.width() * xNum / xDenom, state_.ViewportExt.height() * yNum / yDenom});
}

void TMetafileDevice::SetWorldTransform(const QTransform& t)
{
    if (!t.isInvertible() || !std::isfinite(t.m11() + t.m12() + t.m21() + t.m22() + t.dx() + t.dy()))
        return;
    state_.World = t;
    Changed();
}

void TMetafileDevice::ModifyWorldTransform(const QTransform& t, int mode)
{
    switch (mode) {
    case 1: SetWorldTransform(QTransform()); break;  // identity
    case 2: SetWorldTransform(t * state_.World); break;  // t applies first
    case 3: SetWorldTransform(state_.World * t); break;
    case 4: SetWorldTransform(t); break;
    default: break;
    }
}

// ---- saved states and objects -------------------------------------------------------------------
void TMetafileDevice::SaveDC()
{
    if (saved_.size() >= size_t(limits_.SavedStates)) {
        ++savedBeyondLimit_;  // a state too many is not kept, but its restore still pairs with it
        return;
    }
    saved_.push_back(state_);
}

void TMetafileDevice::RestoreDC(int which)
{
    // Negative: that many states back; positive: the state of that nesting level.
    const int64_t held = int64_t(saved_.size()) + savedBeyondLimit_;
    int64_t back = which < 0 ? -int64_t(which) : held - which + 1;
    if (back <= 0 || back > held)
        return;
    const int64_t beyond = std::min<int64_t>(back, savedBeyondLimit_);
    savedBeyondLimit_ -= int(beyond);
    back -= beyond;
    if (back == 0)
        return;
    state_ = std::move(saved_[saved_.size() - size_t(back)]);
    saved_.resize(saved_.size() - size_t(back));
    Changed();
}

void TMetafileDevice::SetObjectTableSize(size_t size) { objectLimit_ = size; }

bool TMetafileDevice::AddObject(TMetaObject object)
{
    auto free = std::find_if(objects_.begin(), objects_.end(),
                             [](const TMetaObject& o) { return std::holds_alternative<std::monostate>(o); });
    if (free != objects_.end()) {
        *free = std::move(object);
        return true;
    }
    if (objects_.size() >= objectLimit_)
        return false;  // as a full table fails the creation, the record draws nothing later
    objects_.push_back(std::move(object));
    return true;
}

void TMetafileDevice::PutObject(uint32_t index, TMetaObject object)
{
    if (index == 0 || index >= objectLimit_)
        return;
    if (index >= objects_.size())
        objects_.resize(index + 1);
    objects_[index] = std::move(object);
}

const TMetaObject* TMetafileDevice::Object(uint32_t index) const
{
    return index < objects_.size() ? &objects_[index] : nullptr;
}

void TMetafileDevice::SelectObject(uint32_t index)
{
    const TMetaObject* o = Object(index);
    if (!o)
        return;
    if (auto* pen = std::get_if<std::shared_ptr<const TMetaPen>>(o))
        state_.Pen = *pen;
    else if (auto* brush = std::get_if<std::shared_ptr<const TMetaBrush>>(o))
        state_.Brush = *brush;
    else if (auto* font = std::get_if<std::shared_ptr<const TMetaFont>>(o))
        state_.Font = *font;
    else if (auto* palette = std::get_if<std::shared_ptr<const TMetaPalette>>(o))
        state_.Palette = *palette;
    else if (auto* region = std::get_if<std::shared_ptr<const TMetaRegion>>(o))
        SelectClipRegion(**region, gdi::RGN_COPY, true);
}

void TMetafileDevice::DeleteObject(uint32_t index)
{
    // What is selected stays in use: the state holds its own reference.
    if (index < objects_.size())
        objects_[index] = std::monostate{};
}

// ---- the painter's state ------------------------------------------------------------------------------
bool TMetafileDevice::Painting()
{
    if (state_.Rop2 == 11)  // R2_NOP leaves the picture alone
        return false;
    // A clip is charged each time it is set, measured or drawn: the painter walks all its rows.
    if (!clipKnown_ || appliedClip_ != state_.Clip) {
        if (state_.Clip)
            Spend(ClipCost(*state_.Clip));
        if (painter_) {
            painter_->resetTransform();
            painterSpace_ = Space::Image;
            if (state_.Clip)
                SetPainterClip(*state_.Clip);
            else
                painter_->setClipping(false);
        }
        appliedClip_ = state_.Clip;
        clipKnown_ = true;
    }
    if (!painter_)
        return false;
    if (appliedRop_ != state_.Rop2) {
        // The binary raster operations as Qt's composition modes; black and white are drawn as such.
        static constexpr QPainter::CompositionMode kModes[17] = {
            QPainter::CompositionMode_SourceOver,
            QPainter::RasterOp_ClearDestination,                // R2_BLACK
            QPainter::RasterOp_NotSourceAndNotDestination,      // R2_NOTMERGEPEN
            QPainter::RasterOp_NotSourceAndDestination,         // R2_MASKNOTPEN
            QPainter::RasterOp_NotSource,                       // R2_NOTCOPYPEN
            QPainter::RasterOp_SourceAndNotDestination,         // R2_MASKPENNOT
            QPainter::RasterOp_NotDestination,                  // R2_NOT
            QPainter::RasterOp_SourceXorDestination,            // R2_XORPEN
            QPainter::RasterOp_NotSourceOrNotDestination,       // R2_NOTMASKPEN
            QPainter::RasterOp_SourceAndDestination,            // R2_MASKPEN
            QPainter::RasterOp_NotSourceXorDestination,         // R2_NOTXORPEN
            QPainter::CompositionMode_Destination,              // R2_NOP
            QPainter::RasterOp_NotSourceOrDestination,          // R2_MERGENOTPEN
            QPainter::CompositionMode_SourceOver,               // R2_COPYPEN
            QPainter::RasterOp_SourceOrNotDestination,          // R2_MERGEPENNOT
            QPainter::RasterOp_SourceOrDestination,             // R2_MERGEPEN
            QPainter::RasterOp_SetDestination,                  // R2_WHITE
        };
        const int rop = state_.Rop2 >= 1 && state_.Rop2 <= 16 ? state_.Rop2 : 13;
        painter_->setCompositionMode(kModes[rop]);
        rasterOps_ |= rop != 13;
        appliedRop_ = state_.Rop2;
    }
    return true;
}

void TMetafileDevice::UseLogical()
{
    const QTransform& t = Transform();
    if (painterSpace_ != Space::Logical) {
        painter_->setTransform(t);
        painterSpace_ = Space::Logical;
    }
}

void TMetafileDevice::UseImage()
{
    if (painterSpace_ != Space::Image) {
        painter_->resetTransform();
        painterSpace_ = Space::Image;
    }
}

void TMetafileDevice::Finish(QImage& image) const
{
    if (!rasterOps_)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
}
