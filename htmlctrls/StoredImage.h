#pragma once
// A graphic that keeps a picture file's bytes as they came and shows them through the picture
// loader: what goes into a form stream comes back out unchanged.
#include "PictureDecoding.h"

#include <memory>
#include <vector>

class TStoredImage : public TGraphic {
public:
    TStoredImage();
    ~TStoredImage() override;

    void Assign(const TPersistent& source) override;
    // A null source clears the bytes.
    void Assign(const TStoredImage* source);
    void Draw(TCanvas& canvas, const TRect& r) const override;
    bool Empty() const override { return empty_; }
    int Width() const override;
    int Height() const override;
    void SetWidth(int) {}
    void SetHeight(int) {}
    // The whole stream from its beginning; decoding errors reach the caller.
    void LoadFromStream(TStream& stream) override;
    // Any error leaves the graphic empty.
    void LoadFromFile(const String& fileName) override;
    void SaveToStream(TStream& stream) const override;
    // Form streams: the bytes as they are, read back without a change notification.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const { SaveToStream(stream); }
    QImage ToImage() const override;

    const std::vector<uint8_t>& Data() const { return raw_; }

private:
    void ReadWhole(TStream& stream);
    void Decode();

    std::vector<uint8_t> raw_;
    bool empty_ = true;
    std::unique_ptr<TOlePicture> picture_;
    int dpiX_ = 96;
    int dpiY_ = 96;
};
