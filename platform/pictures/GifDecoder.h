#pragma once
// Decodes the images of GIF data: the first, the way the picture loader shows a GIF, or each in
// turn for an animation.
#include <QImage>
#include <QRect>

#include <cstddef>
#include <cstdint>
#include <functional>

// One image as its descriptor and control extension place it.
struct TGifImage {
    QImage Pixels;          // the image's rectangle (or its kept part), the transparent colour fully transparent
    int Left = 0, Top = 0;  // where Pixels lies on the logical screen
    int Disposal = 0;       // the control extension's disposal method; 0 without one
};

enum class TGifRead { Read, Unreadable, TooLarge };

// Hands each image in turn to take, which returns false to stop; Unreadable when the data cannot
// be read as far as take asked. Decoding costs by the pixels an image declares, wherever it lies,
// so images are decoded only while all of theirs together stay within maxPixels: TooLarge,
// before the image that would go beyond. Only the part of an image inside keep is stored (all of
// it when keep is null).
TGifRead ReadGifImages(const uint8_t* data, size_t size, int64_t maxPixels, const QRect& keep,
                       const std::function<bool(TGifImage&)>& take);

// False when the data holds no readable image. An image of no pixels gives a null image.
// The first image's transparent colour, when its control extension names one, becomes
// fully transparent.
bool DecodeFirstGifImage(const uint8_t* data, size_t size, QImage& image);
