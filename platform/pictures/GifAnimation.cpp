#include "GifAnimation.h"

#include "GifDecoder.h"
#include "GifFrames.h"
#include "SysUtils.h"

#include <QPainter>

namespace {
enum { kRestoreBackground = 2, kRestorePrevious = 3 };

void Fill(QImage& canvas, const QRect& r, const QImage& with)
{
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (with.isNull())
        painter.fillRect(r, Qt::transparent);
    else
        painter.drawImage(r.topLeft(), with);
}
}  // namespace

std::shared_ptr<const TGifAnimation> TGifAnimation::Compose(const uint8_t* data, size_t size, int frameCount,
                                                            size_t maxBytes)
{
    uint16_t width = 0, height = 0;
    if (frameCount < 1 || !ReadGifScreenSize(data, size, width, height) || width == 0 || height == 0)
        return nullptr;
    const uint64_t bytes = uint64_t{width} * height * 4 * static_cast<uint64_t>(frameCount);
    if (bytes > maxBytes)
        return nullptr;

    auto animation = std::make_shared<TGifAnimation>();
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return nullptr;
    canvas.fill(Qt::transparent);
    // Decoding is charged as the frames' pixels would be kept: frames within the screen that
    // passed the check above always pass, only frames larger than the screen are refused.
    const int64_t maxPixels = static_cast<int64_t>(maxBytes / 4);
    const TGifRead read = ReadGifImages(data, size, maxPixels, canvas.rect(), [&](TGifImage& image) {
        const QRect place = QRect(image.Left, image.Top, image.Pixels.width(), image.Pixels.height()) & canvas.rect();
        const QImage previous = image.Disposal == kRestorePrevious ? canvas.copy(place) : QImage();
        if (!image.Pixels.isNull()) {
            QPainter painter(&canvas);
            painter.drawImage(image.Left, image.Top, image.Pixels);
        }
        // The picture shares the canvas until the canvas changes again.
        animation->frames_.push_back(std::make_shared<const TOlePicture>(canvas));
        if (image.Disposal == kRestoreBackground)
            Fill(canvas, place, QImage());
        else if (image.Disposal == kRestorePrevious && !place.isEmpty())
            Fill(canvas, place, previous);
        return animation->Count() < frameCount;
    });
    if (read == TGifRead::TooLarge)
        throw EInvalidGraphic(Format("GIF image is too large: its frames hold more than %g megapixels in all",
                                     static_cast<double>(maxPixels) / (1024 * 1024)));
    if (read != TGifRead::Read || animation->Count() != frameCount)
        return nullptr;
    return animation;
}
