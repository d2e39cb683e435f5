#pragma once
// The JPEG graphic over libjpeg, registered under "jpg" and "jpeg".
#include "Graphics.h"

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    int Width() const override;
    int Height() const override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    QImage ToImage() const override;
    void Assign(const TPersistent& source) override;
    int CompressionQuality = 90;

protected:
    void CheckHeader(const uint8_t* data, size_t size) const override;

private:
    std::unique_ptr<QImage> image_;  // decoded, 24-bit
};

// Decodes JPEG bytes into a 24-bit image; raises EInvalidGraphic with the decoder's message,
// or naming the size of a picture beyond kMaxPicturePixels before anything is decoded.
QImage DecodeJpeg(const uint8_t* data, size_t size);
// Encodes a 24-bit image.
std::vector<uint8_t> EncodeJpeg(const QImage& image, int quality);
