#include "Metafile.h"

#include "MetafileSvg.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

TMetafile::TMetafile() : image_(std::make_unique<QImage>()) {}
TMetafile::~TMetafile() = default;

void CheckMetafileSize(int64_t width, int64_t height)
{
    if (width < 1 || height < 1)
        throw EInvalidGraphic("Metafile is not valid: it has no size");
    if (width > kMetafileMaxSide || height > kMetafileMaxSide || width * height > kMetafileMaxPixels)
        throw EInvalidGraphic(Format("Metafile is too large to draw (%lld x %lld pixels)",
                                     static_cast<long long>(width), static_cast<long long>(height)));
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
    TMetafileSvg svg = enhanced ? EmfToSvg(data) : WmfToSvg(data);
    CheckMetafileSize(svg.Width, svg.Height);
    QSvgRenderer renderer(svg.Svg);
    if (!renderer.isValid())
        throw EInvalidGraphic("Metafile is not valid: its drawing cannot be read");
    QImage image(svg.Width, svg.Height, QImage::Format_RGB32);
    if (image.isNull())
        throw EOutOfResources("Out of system resources");
    // A metafile paints only what it draws; the rest of the picture is paper.
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, svg.Width, svg.Height));
    }
    data_ = std::move(data);
    *image_ = std::move(image);
    width_ = svg.Width;
    height_ = svg.Height;
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
    Changed();
}
