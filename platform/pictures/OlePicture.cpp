#include "OlePicture.h"

#include "GifDecoder.h"
#include "Jpeg.h"
#include "PictureLimits.h"

#include <QImage>
#include <QPainter>

#include <cstring>
#include <vector>

int PixelsToHimetric(int pixels) { return MulDiv(pixels, 2540, 96); }
int HimetricToPixels(int himetric, int pixelsPerInch) { return MulDiv(himetric, pixelsPerInch, 2540); }

TOlePicture::TOlePicture(const QImage& image)
    : image_(std::make_unique<QImage>(image)),
      himetricWidth_(PixelsToHimetric(image.width())),
      himetricHeight_(PixelsToHimetric(image.height()))
{
}

TOlePicture::~TOlePicture() = default;

int TOlePicture::PixelWidth() const { return image_->width(); }
int TOlePicture::PixelHeight() const { return image_->height(); }
QImage TOlePicture::Image() const { return *image_; }

void TOlePicture::Render(TCanvas& canvas, int x, int y, int cx, int cy,
                         int xSrc, int ySrc, int cxSrc, int cySrc, const TRect&) const
{
    QPainter* p = canvas.Painter();
    if (!p || image_->isNull() || cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0)
        return;
    // Map the picture's corners from HIMETRIC space (y up) to the destination.
    auto mapX = [&](double sx) { return x + (sx - xSrc) * cx / cxSrc; };
    auto mapY = [&](double sy) { return y + (sy - ySrc) * cy / cySrc; };
    double left = mapX(0), right = mapX(himetricWidth_);
    double top = mapY(himetricHeight_), bottom = mapY(0);
    QImage img = image_->mirrored(left > right, top > bottom);
    QRectF target(std::min(left, right), std::min(top, bottom), std::abs(right - left), std::abs(bottom - top));
    p->save();
    p->setClipRect(QRect(std::min(x, x + cx), std::min(y, y + cy), std::abs(cx), std::abs(cy)), Qt::IntersectClip);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(target, img);
    p->restore();
}

namespace {
bool StartsWith(const std::vector<uint8_t>& b, const char* sig, size_t n)
{
    return b.size() >= n && std::memcmp(b.data(), sig, n) == 0;
}

const char* QtFormatOf(const std::vector<uint8_t>& b)
{
    if (StartsWith(b, "BM", 2))
        return "BMP";
    if (StartsWith(b, "\x89PNG\r\n\x1a\n", 8))
        return "PNG";
    if (StartsWith(b, "\0\0\1\0", 4))
        return "ICO";
    return nullptr;
}
}  // namespace

TOleLoadResult OleLoadPicture(TStream& stream, int64_t size, std::unique_ptr<TOlePicture>& picture)
{
    picture.reset();
    if (size <= 0)
        return TOleLoadResult::InvalidFormat;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    bytes.resize(static_cast<size_t>(stream.Read(bytes.data(), size)));
    QImage image;
    try {
        // Refused before any pixel memory is spent: what a header declares beyond the limit.
        CheckPictureDataPixels(bytes.data(), bytes.size());
        AllowPictureMemory();
        if (StartsWith(bytes, "GIF8", 4)) {
            if (!DecodeFirstGifImage(bytes.data(), bytes.size(), image))
                return TOleLoadResult::InvalidFormat;
        } else if (StartsWith(bytes, "\xFF\xD8", 2)) {
            image = DecodeJpeg(bytes.data(), bytes.size());
        } else if (const char* format = QtFormatOf(bytes)) {
            if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), format))
                return TOleLoadResult::InvalidFormat;
        } else {
            return TOleLoadResult::InvalidFormat;
        }
    } catch (const EInvalidGraphic&) {
        return TOleLoadResult::InvalidFormat;
    }
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return TOleLoadResult::NoPicture;
    picture = std::make_unique<TOlePicture>(image);
    return TOleLoadResult::Loaded;
}
