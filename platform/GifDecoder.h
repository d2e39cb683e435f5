#pragma once
// Decodes the first image of GIF data, the way the picture loader shows a GIF.
#include <cstddef>
#include <cstdint>

class QImage;

// False when the data holds no readable image. An image of no pixels gives a null image.
// The first image's transparent colour, when its control extension names one, becomes
// fully transparent.
bool DecodeFirstGifImage(const uint8_t* data, size_t size, QImage& image);
