#pragma once
// Decodes the images of GIF data: the first, the way the picture loader shows a GIF, or each in
// turn for an animation.
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <functional>

// One image as its descriptor and control extension place it.
struct TGifImage {
    QImage Pixels;     // the image's own rectangle, its transparent colour fully transparent
    int Left = 0, Top = 0;
    int Disposal = 0;  // the control extension's disposal method; 0 without one
};

// Hands each image in turn to take, which returns false to stop. False when the data cannot be
// read as far as take asked.
bool ReadGifImages(const uint8_t* data, size_t size, const std::function<bool(TGifImage&)>& take);

// False when the data holds no readable image. An image of no pixels gives a null image.
// The first image's transparent colour, when its control extension names one, becomes
// fully transparent.
bool DecodeFirstGifImage(const uint8_t* data, size_t size, QImage& image);
