#pragma once
// Pixel buffers for images. Large ones live in huge pages where the system offers them, and a
// few recently freed large buffers are kept for the next picture of about their size: a
// picture opened, turned, sharpened and printed then costs no page faults after the first.
#include <QImage>

// A zeroed image of the given format; a null image when memory runs out.
QImage NewZeroedImage(int width, int height, QImage::Format format);

// An image whose pixels the caller writes in full before anything reads them: its memory is
// not cleared first, only the padding at the end of each row (which nobody writes) is. A null
// image when memory runs out.
QImage NewUnclearedImage(int width, int height, QImage::Format format);

// A 24-bit (blue, green, red) image widened to 32-bit pixels in reused pixel memory; the image
// itself when memory runs out.
QImage WidenToRgb32(const QImage& bgr);

// The large buffers kept for reuse and their bytes; for tests.
struct TPixelPoolState {
    size_t Buffers = 0;
    size_t Bytes = 0;
};
TPixelPoolState PixelPoolState();
