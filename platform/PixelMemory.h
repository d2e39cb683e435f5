#pragma once
// Pixel buffers for images: zeroed, and for large pictures in huge pages where the system
// offers them, so that writing a new picture costs a few page faults instead of thousands.
#include <QImage>

// A zeroed image of the given format; a null image when memory runs out.
QImage NewZeroedImage(int width, int height, QImage::Format format);
