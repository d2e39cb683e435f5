#include "WebImage.h"

#include "GifFrames.h"
#include "RegularFile.h"
#include "Resources.h"

#include <QImage>

using Lock = std::lock_guard<std::recursive_mutex>;

TWebPicture::TWebPicture() = default;

TWebPicture::~TWebPicture()
{
    // Stop the worker before anything it uses goes; calls it posted meanwhile are dropped
    // with the queue.
    destroying_ = true;
    thread_.reset();
}

void TWebPicture::NotifyChanged()
{
    if (IsMainThread())
        Changed();
    else
        mainThread_.Post([this] { Changed(); });
}

void TWebPicture::DecodePicture()
{
    Lock lock(mutex_);
    picture_.reset();
    try {
        picture_ = DecodePictureData(raw_, true, frame_, info_);
    } catch (...) {
        info_.FrameLeft = info_.FrameTop = info_.ScreenWidth = info_.ScreenHeight = 0;
        throw;
    }
}

void TWebPicture::Replace(std::vector<uint8_t> bytes, bool notify)
{
    {
        Lock lock(mutex_);
        raw_ = std::move(bytes);
        empty_ = false;
        DecodePicture();
    }
    if (notify)
        NotifyChanged();
}

void TWebPicture::LoadFromStream(TStream& stream)
{
    stream.Seek(0, 0);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(stream.Size(), 0)));
    bytes.resize(static_cast<size_t>(stream.Read(bytes.data(), static_cast<int64_t>(bytes.size()))));
    Replace(std::move(bytes), true);
}

void TWebPicture::ReadData(TStream& stream)
{
    stream.Seek(0, 0);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(stream.Size(), 0)));
    bytes.resize(static_cast<size_t>(stream.Read(bytes.data(), static_cast<int64_t>(bytes.size()))));
    Replace(std::move(bytes), false);
}

void TWebPicture::LoadFromFile(const String& fileName)
{
    try {
        Replace(ReadRegularFile(fileName, kMaxWebPictureSize), true);
    } catch (const std::exception&) {
        Lock lock(mutex_);
        empty_ = true;
    }
}

void TWebPicture::SaveToStream(TStream& stream) const
{
    Lock lock(mutex_);
    stream.WriteBuffer(raw_.data(), static_cast<int64_t>(raw_.size()));
}

void TWebPicture::WriteData(TStream& stream) const { SaveToStream(stream); }

void TWebPicture::LoadFromResourceName(const String& name)
{
    std::vector<uint8_t> bytes;
    if (LoadResourceData(name, bytes))
        Replace(std::move(bytes), true);
}

void TWebPicture::Assign(const TPersistent* source)
{
    if (source)
        return Assign(*source);
    {
        Lock lock(mutex_);
        empty_ = true;
        picture_.reset();
        raw_.clear();
    }
    NotifyChanged();
}

void TWebPicture::Assign(const TPersistent& source)
{
    auto* other = dynamic_cast<const TWebPicture*>(&source);
    std::vector<uint8_t> bytes;
    if (other)
        bytes = other->RawData();
    {
        Lock lock(mutex_);
        empty_ = true;
        picture_.reset();
    }
    if (other)
        Replace(std::move(bytes), true);
}

void TWebPicture::Draw(TCanvas& canvas, const TRect& r) const
{
    Lock lock(mutex_);
    if (empty_ || !picture_)
        return;
    TRect d = r;
    OffsetRect(d, info_.FrameLeft, info_.FrameTop);
    picture_->Render(canvas, d.Left, d.Bottom, d.Right - d.Left, -(d.Bottom - d.Top),
                     0, 0, picture_->HimetricWidth(), picture_->HimetricHeight(), d);
}

bool TWebPicture::Empty() const
{
    Lock lock(mutex_);
    return empty_;
}

int TWebPicture::Width() const
{
    Lock lock(mutex_);
    return picture_ ? HimetricToPixels(picture_->HimetricWidth(), dpiX_) : 0;
}

int TWebPicture::Height() const
{
    Lock lock(mutex_);
    return picture_ ? HimetricToPixels(picture_->HimetricHeight(), dpiY_) : 0;
}

QImage TWebPicture::ToImage() const
{
    Lock lock(mutex_);
    return picture_ ? picture_->Image() : QImage();
}

bool TWebPicture::IsGif() const
{
    Lock lock(mutex_);
    return IsGifData(raw_.data(), raw_.size());
}

int TWebPicture::GifFrameCount() const
{
    Lock lock(mutex_);
    return IsGif() ? CountGifFrameMarkers(raw_.data(), raw_.size()) : -1;
}

int TWebPicture::GifFrameDelay(int k)
{
    Lock lock(mutex_);
    TGifFrameMarker marker;
    if (!IsGif() || !FindGifFrameMarker(raw_.data(), raw_.size(), k, marker))
        return -1;
    Transparent = (marker.Packed & 1) != 0;
    // Bits 3 to 5, one place above the disposal method: kept as it was.
    repaintCode_ = static_cast<uint16_t>((marker.Packed >> 3) & 7);
    return marker.Delay;
}

int TWebPicture::Frame() const
{
    Lock lock(mutex_);
    return frame_;
}

void TWebPicture::SetFrame(int frame)
{
    {
        Lock lock(mutex_);
        frame_ = frame;
        if (raw_.empty())
            return;
        DecodePicture();
    }
    Fire(OnFrameChange, this);
}

String TWebPicture::URL() const
{
    Lock lock(mutex_);
    return url_;
}

String TWebPicture::DownloadURL() const
{
    Lock lock(mutex_);
    return downloadUrl_;
}

TGifFrameInfo TWebPicture::FrameInfo() const
{
    Lock lock(mutex_);
    return info_;
}

uint16_t TWebPicture::RepaintCode() const
{
    Lock lock(mutex_);
    return repaintCode_;
}

std::vector<uint8_t> TWebPicture::RawData() const
{
    Lock lock(mutex_);
    return raw_;
}
