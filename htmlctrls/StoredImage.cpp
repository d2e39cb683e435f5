#include "StoredImage.h"

#include <QImage>
#include <algorithm>

TStoredImage::TStoredImage() = default;
TStoredImage::~TStoredImage() = default;

void TStoredImage::Decode()
{
    picture_.reset();
    TGifFrameInfo info;
    picture_ = DecodePictureData(raw_, false, 0, info);
}

void TStoredImage::Assign(const TPersistent& source)
{
    if (const auto* image = dynamic_cast<const TStoredImage*>(&source)) {
        Assign(image);
        return;
    }
    // Another kind of graphic is not copied; the picture shown so far goes all the same.
    empty_ = true;
    picture_.reset();
}

void TStoredImage::Assign(const TStoredImage* source)
{
    if (source == this)
        return;  // its own bytes: nothing to copy, and releasing them first would lose them
    empty_ = true;
    picture_.reset();
    if (!source) {
        raw_.clear();
        Changed();
        return;
    }
    raw_ = source->raw_;
    empty_ = false;
    Decode();
    Changed();
}

int TStoredImage::Width() const { return picture_ ? HimetricToPixels(picture_->HimetricWidth(), dpiX_) : 0; }
int TStoredImage::Height() const { return picture_ ? HimetricToPixels(picture_->HimetricHeight(), dpiY_) : 0; }

void TStoredImage::Draw(TCanvas& canvas, const TRect& r) const
{
    if (empty_ || !picture_)
        return;
    picture_->Render(canvas, r.Left, r.Bottom, r.Width(), -r.Height(), 0, 0, picture_->HimetricWidth(),
                     picture_->HimetricHeight(), r);
}

void TStoredImage::ReadWhole(TStream& stream)
{
    stream.SetPosition(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(stream.Size(), 0)));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    raw_ = std::move(bytes);
    empty_ = false;
    Decode();
}

void TStoredImage::LoadFromStream(TStream& stream)
{
    ReadWhole(stream);
    Changed();
}

void TStoredImage::ReadData(TStream& stream) { ReadWhole(stream); }

void TStoredImage::LoadFromFile(const String& fileName)
{
    try {
        TFileStream stream(fileName, fmOpenRead);
        LoadFromStream(stream);
    } catch (const std::exception&) {
        empty_ = true;
    }
}

void TStoredImage::SaveToStream(TStream& stream) const
{
    if (!raw_.empty())
        stream.WriteBuffer(raw_.data(), static_cast<int64_t>(raw_.size()));
}

QImage TStoredImage::ToImage() const { return picture_ ? picture_->Image() : QImage(); }
