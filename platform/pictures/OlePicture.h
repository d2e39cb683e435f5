#pragma once
// The stand-in for the system's OLE picture loader: bytes become a picture whose extent is kept
// in HIMETRIC units (hundredths of a millimetre, pixels x 2540 / 96), drawable into a rectangle.
// It reads GIF (the first image of the stream), JPEG, BMP, ICO and PNG.
#include "Graphics.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TOlePicture {
public:
    explicit TOlePicture(const QImage& image);
    ~TOlePicture();
    TOlePicture(const TOlePicture&) = delete;
    TOlePicture& operator=(const TOlePicture&) = delete;

    // The extent in HIMETRIC units.
    int HimetricWidth() const { return himetricWidth_; }
    int HimetricHeight() const { return himetricHeight_; }
    int PixelWidth() const;
    int PixelHeight() const;

    // Renders the source part (HIMETRIC, y counted up from the picture's bottom edge) onto the
    // destination (device pixels). A negative cy with y at the bottom edge, or a negative
    // cySrc with ySrc at the top edge, draws the picture upright; the destination rectangle
    // (x, y, x + cx, y + cy) also clips. bounds only matters for metafiles, which are not read.
    void Render(TCanvas& canvas, int x, int y, int cx, int cy,
                int xSrc, int ySrc, int cxSrc, int cySrc, const TRect& bounds) const;

    QImage Image() const;

private:
    std::unique_ptr<QImage> image_;
    int himetricWidth_;
    int himetricHeight_;
};

// Pixels at 96 per inch to HIMETRIC units, and back at a given number of pixels per inch,
// both rounded to the nearest integer with a 64-bit product.
int PixelsToHimetric(int pixels);
int HimetricToPixels(int himetric, int pixelsPerInch);

enum class TOleLoadResult {
    Loaded,         // picture holds the picture
    InvalidFormat,  // the data is no picture the loader reads
    NoPicture,      // the data was read but holds no picture (an image of no pixels)
};

// Reads size bytes from the stream's current position.
TOleLoadResult OleLoadPicture(TStream& stream, int64_t size, std::unique_ptr<TOlePicture>& picture);
