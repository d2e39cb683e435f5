#include "MarkupPicture.h"

#include "GifFrames.h"
#include "PictureDownLoadThread.h"
#include "RegularFile.h"
#include "Resources.h"

#include <QImage>

TMarkupPicture::TMarkupPicture() = default;
TMarkupPicture::~TMarkupPicture() = default;

void TMarkupPicture::Replace(std::vector<uint8_t> bytes)
{
    raw_ = std::move(bytes);
    empty_ = false;
    DecodePicture();
}

void TMarkupPicture::DecodePicture()
{
    picture_.reset();
    picture_ = DecodePictureData(raw_, true, frame_, info_);
}

void TMarkupPicture::DecodeQuietly()
{
    try {
        DecodePicture();
    } catch (const std::exception&) {
        picture_.reset();  // data the loader cannot read shows nothing
    }
}

void TMarkupPicture::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(stream.Size(), 0)));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Replace(std::move(bytes));
    Changed();
}

void TMarkupPicture::ReadData(TStream& stream)
{
    stream.SetPosition(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(stream.Size(), 0)));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Replace(std::move(bytes));
}

void TMarkupPicture::LoadFromFile(const String& fileName)
{
    try {
        // Only a plain file of bounded size: a name in mark-up may point anywhere.
        Replace(ReadRegularFile(fileName, kMaxMarkupPictureSize));
        Changed();
    } catch (const std::exception&) {
        empty_ = true;
    }
}

void TMarkupPicture::SaveToStream(TStream& stream) const
{
    if (!raw_.empty())
        stream.WriteBuffer(raw_.data(), static_cast<int64_t>(raw_.size()));
}

void TMarkupPicture::LoadFromResourceName(const String& name)
{
    std::vector<uint8_t> bytes;
    if (!LoadResourceData(name, bytes))
        return;
    TMemoryStream stream;
    stream.Data() = std::move(bytes);
    LoadFromStream(stream);
}

void TMarkupPicture::LoadFromURL(const String& address)
{
    String upper = UpperCase(address);
    if (upper.rfind("RES://", 0) == 0) {
        url_ = address;
        String name = address.substr(6);
        if (!name.empty())
            LoadFromResourceName(name);
        return;
    }
    if (upper.rfind("FILE://", 0) == 0) {
        url_ = address;
        String path = address.substr(7);
        if (!path.empty())
            LoadFromFile(path);
        return;
    }
    if (Async) {
        if (busy_)
            return;
        downloadUrl_ = address;
        busy_ = true;
        thread_ = std::make_unique<PictureStore::TDownLoadThread>(this);
        return;
    }
    downloadUrl_ = address;
    url_ = address;
}

bool TMarkupPicture::IsGif() const { return IsGifData(raw_.data(), raw_.size()); }

int TMarkupPicture::GifFrameCount()
{
    if (frameCount_ != -1)
        return frameCount_;
    frameCount_ = IsGif() ? CountGifFrameMarkers(raw_.data(), raw_.size()) : -1;
    return frameCount_;
}

int TMarkupPicture::GifFrameDelay(int k) const
{
    TGifFrameMarker marker;
    if (!IsGif() || !FindGifFrameMarker(raw_.data(), raw_.size(), k, marker))
        return -1;
    return marker.Delay;
}

void TMarkupPicture::SetFrame(int frame)
{
    frame_ = frame;
    if (raw_.empty())
        return;
    DecodeQuietly();
    Fire(OnFrameChange, this);
}

void TMarkupPicture::NextFrame() { frame_ = frame_ >= frameCount_ ? 1 : frame_ + 1; }

bool TMarkupPicture::AnimateStep()
{
    if (frameCount_ <= 1 || empty_)
        return false;
    bool changed = false;
    if (nextDue_ == -1)
        nextDue_ = GifFrameDelay(frame_);
    if (tickCount_ * 10 >= nextDue_) {
        NextFrame();
        DecodeQuietly();
        nextDue_ += GifFrameDelay(frame_);
        changed = true;
    }
    ++tickCount_;
    return changed;
}

int TMarkupPicture::DisplayWidth()
{
    if (!picture_)
        return 0;
    return info_.ScreenWidth > 0 ? info_.ScreenWidth : HimetricToPixels(picture_->HimetricWidth(), dpiX_);
}

int TMarkupPicture::DisplayHeight()
{
    if (!picture_)
        return 0;
    return info_.ScreenHeight > 0 ? info_.ScreenHeight : HimetricToPixels(picture_->HimetricHeight(), dpiY_);
}

int TMarkupPicture::Width() const { return picture_ ? HimetricToPixels(picture_->HimetricWidth(), dpiX_) : 0; }
int TMarkupPicture::Height() const { return picture_ ? HimetricToPixels(picture_->HimetricHeight(), dpiY_) : 0; }

QImage TMarkupPicture::ToImage() const { return picture_ ? picture_->Image() : QImage(); }

void TMarkupPicture::Assign(const TPersistent& source) { Assign(&source); }

void TMarkupPicture::Assign(const TPersistent* source)
{
    if (source == this)
        return;
    empty_ = true;
    picture_.reset();
    frameCount_ = nextDue_ = tickCount_ = -1;
    SetFrame(1);
    if (!source) {
        raw_.clear();
        picture_.reset();
        return;
    }
    if (auto* other = dynamic_cast<const TMarkupPicture*>(source)) {
        raw_ = other->raw_;
        empty_ = false;
        DecodeQuietly();
        Changed();
    }
}

void TMarkupPicture::Draw(TCanvas& canvas, const TRect& r) const
{
    if (empty_ || !picture_)
        return;
    int hw = picture_->HimetricWidth(), hh = picture_->HimetricHeight();
    if (Stretch) {
        picture_->Render(canvas, r.Left, r.Bottom, r.Width(), -r.Height(), 0, 0, hw, hh, r);
        return;
    }
    int w = HimetricToPixels(hw, canvas.PixelsPerInchX());
    int h = HimetricToPixels(hh, canvas.PixelsPerInchY());
    picture_->Render(canvas, r.Left, r.Top, w, h, 0, hh, hw, -hh, r);
}

void TMarkupPicture::DrawImage(TCanvas& canvas, const TRect& r, bool stretch)
{
    if (empty_ || !picture_)
        return;
    int hw = picture_->HimetricWidth(), hh = picture_->HimetricHeight();
    if (stretch) {
        picture_->Render(canvas, r.Left, r.Bottom, r.Width(), -r.Height(), 0, 0, hw, hh, r);
        return;
    }
    // Shown at its own size, it may animate: its frames are counted now.
    GifFrameCount();
    picture_->Render(canvas, r.Left, r.Top, r.Width(), r.Height(), 0, hh, hw, -hh, r);
}
