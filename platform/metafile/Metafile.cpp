#include "Metafile.h"

#include "MetafilePlayers.h"
#include "WindowWait.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
constexpr double kScreenPixelsPerInch = 96;

// How a metafile's records reach its picture.
struct TPlan {
    int Width = 0, Height = 0;
    QTransform ToImage;     // device units onto the picture
    QPointF PixelsPerInch;  // of the device
    std::function<void(TMetafileDevice&)> Play;
};

void CheckMetafileSize(int64_t width, int64_t height)
{
    if (width < 1 || height < 1)
        throw EInvalidGraphic("Metafile is not valid: it has no size");
    if (width > kMetafileMaxSide || height > kMetafileMaxSide || width * height > kMetafileMaxPixels)
        throw EInvalidGraphic(Format("Metafile is too large to draw (%lld x %lld pixels)",
                                     static_cast<long long>(width), static_cast<long long>(height)));
}

int Pixels(double v) { return static_cast<int>(std::llround(std::clamp(v, 0.0, double(kMetafileMaxSide + 1)))); }

QTransform MapRect(const QRectF& from, const QRectF& to)
{
    const double sx = to.width() / from.width(), sy = to.height() / from.height();
    return QTransform(sx, 0, 0, sy, to.x() - from.x() * sx, to.y() - from.y() * sy);
}

TPlan PlanWmf(const std::vector<uint8_t>& d, const TMetafileLimits& limits, std::chrono::steady_clock::time_point start)
{
    const TWmfHeader h = ReadWmfHeader(d);
    TPlan plan;
    if (h.Placeable) {
        // The placeable header's frame is the picture, in units of which it says how many make an inch.
        plan.Width = Pixels(h.Frame.width() * kScreenPixelsPerInch / h.UnitsPerInch);
        plan.Height = Pixels(h.Frame.height() * kScreenPixelsPerInch / h.UnitsPerInch);
        CheckMetafileSize(plan.Width, plan.Height);
        plan.ToImage = MapRect(h.Frame, QRectF(0, 0, plan.Width, plan.Height));
        plan.PixelsPerInch = QPointF(h.UnitsPerInch, h.UnitsPerInch);
        plan.Play = [&d, h](TMetafileDevice& device) {
            device.SetFrame(h.Frame);
            PlayWmf(d, h, device);
        };
        return plan;
    }
    // Without a frame one logical unit is one pixel, and the picture is the window the records
    // set, or else what they draw; one that large is made smaller to fit the limits.
    TMetafileDevice probe(nullptr, QTransform(), QRectF(), QPointF(kScreenPixelsPerInch, kScreenPixelsPerInch), limits, start);
    probe.FollowWindow();
    PlayWmf(d, h, probe);
    const QRectF frame = probe.FirstWindowExt() ? QRectF(QPointF(), *probe.FirstWindowExt()) : probe.Drawn();
    const double w = frame.width(), hh = frame.height();
    if (!(w >= 1 && hh >= 1 && std::isfinite(w * hh)))
        throw EInvalidGraphic("Metafile is not valid: it has no size");
    const double k = std::min({1.0, kMetafileMaxSide / w, kMetafileMaxSide / hh, std::sqrt(kMetafileMaxPixels / (w * hh))});
    plan.Width = std::max(1, static_cast<int>(w * k));
    plan.Height = std::max(1, static_cast<int>(hh * k));
    plan.ToImage = MapRect(frame, QRectF(0, 0, plan.Width, plan.Height));
    plan.PixelsPerInch = QPointF(kScreenPixelsPerInch, kScreenPixelsPerInch);
    plan.Play = [&d, h](TMetafileDevice& device) {
        device.FollowWindow();
        PlayWmf(d, h, device);
    };
    return plan;
}

TPlan PlanEmf(const std::vector<uint8_t>& d)
{
    const TEmfHeader h = ReadEmfHeader(d);
    TPlan plan;
    // The reference device's pixels per millimetre.
    const bool measured = h.Device.width() > 0 && h.Device.height() > 0 && h.Millimeters.width() > 0 &&
                          h.Millimeters.height() > 0;
    const double kx = measured ? h.Device.width() / h.Millimeters.width() : kScreenPixelsPerInch / 25.4;
    const double ky = measured ? h.Device.height() / h.Millimeters.height() : kScreenPixelsPerInch / 25.4;
    // The frame is in hundredths of a millimetre; the bounds, in device pixels, stand in for an empty frame.
    QRectF frame;
    if (h.Frame.width() > 0 && h.Frame.height() > 0) {
        plan.Width = Pixels(h.Frame.width() * kScreenPixelsPerInch / 2540);
        plan.Height = Pixels(h.Frame.height() * kScreenPixelsPerInch / 2540);
        frame = QRectF(h.Frame.x() * kx / 100, h.Frame.y() * ky / 100, h.Frame.width() * kx / 100,
                       h.Frame.height() * ky / 100);
    } else {
        plan.Width = Pixels(h.Bounds.width() + 1);
        plan.Height = Pixels(h.Bounds.height() + 1);
        frame = QRectF(h.Bounds.topLeft(), QSizeF(h.Bounds.width() + 1, h.Bounds.height() + 1));
    }
    CheckMetafileSize(plan.Width, plan.Height);
    plan.ToImage = MapRect(frame, QRectF(0, 0, plan.Width, plan.Height));
    plan.PixelsPerInch = QPointF(kx * 25.4, ky * 25.4);
    plan.Play = [&d](TMetafileDevice& device) { PlayEmf(d, device); };
    return plan;
}
}  // namespace

TMetafile::TMetafile() : image_(std::make_unique<QImage>()) {}
TMetafile::~TMetafile() = default;

void TMetafile::LoadFromFile(const String& fileName)
{
    fileName_ = fileName;
    TGraphic::LoadFromFile(fileName);
}

void TMetafile::LoadFromStream(TStream& stream)
{
    const int64_t size = stream.Size() - stream.Position();
    if (size > kMetafileMaxBytes)
        throw EInvalidGraphic("Metafile is too large to open");
    std::vector<uint8_t> data(static_cast<size_t>(std::max<int64_t>(size, 0)));
    stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
    // The content decides, so a file named for the other kind still opens.
    const bool enhanced = IsEnhancedMetafile(data);
    if (!enhanced && !IsWindowsMetafile(data))
        throw EInvalidGraphic("Metafile is not valid: no metafile header");
    QImage image;
    try {
        // Every pass over the records counts against the same time.
        const auto start = std::chrono::steady_clock::now();
        const TPlan plan = enhanced ? PlanEmf(data) : PlanWmf(data, Limits, start);
        const QRectF picture(0, 0, plan.Width, plan.Height);
        // Once through without drawing: the file is judged before the picture's memory is taken.
        TMetafileDevice measure(nullptr, plan.ToImage, picture, plan.PixelsPerInch, Limits, start);
        plan.Play(measure);
        image = QImage(plan.Width, plan.Height, QImage::Format_RGB32);
        if (image.isNull())
            throw EOutOfResources("Out of system resources");
        // A metafile paints only what it draws; the rest of the picture is paper.
        image.fill(Qt::white);
        QPainter painter(&image);
        TMetafileDevice device(&painter, plan.ToImage, picture, plan.PixelsPerInch, Limits, start);
        // A picture that takes a while keeps the windows painting meanwhile.
        std::unique_ptr<TWindowWait> wait;
        if (measure.Work() > double(Limits.Work) / 16 && (wait = TWindowWait::Begin()))
            device.Waiting = [&wait] {
                wait->ProcessEvents();
                // Escape stops a picture that takes a while, as it stops a network exchange.
                if (wait->Cancelled())
                    throw EMetafileLimit("was not drawn: Escape was pressed");
            };
        plan.Play(device);
        painter.end();
        device.Finish(image);
    } catch (const EMetafileLimit& e) {
        const String subject = fileName_.empty() ? String("The metafile") : Format("The metafile \"%s\"", fileName_.c_str());
        throw EInvalidGraphic(subject + " " + e.Message);
    }
    data_ = std::move(data);
    width_ = image.width();
    height_ = image.height();
    *image_ = std::move(image);
    enhanced_ = enhanced;
    Changed();
}

void TMetafile::SaveToStream(TStream& stream) const
{
    stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

QImage TMetafile::ToImage() const { return *image_; }

void TMetafile::Assign(const TPersistent& source)
{
    auto* m = dynamic_cast<const TMetafile*>(&source);
    if (!m)
        return TPersistent::Assign(source);
    data_ = m->data_;
    *image_ = *m->image_;
    width_ = m->width_;
    height_ = m->height_;
    enhanced_ = m->enhanced_;
    Limits = m->Limits;
    Changed();
}
