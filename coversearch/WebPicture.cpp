#include "WebImage.h"

#include "GifFrames.h"
#include "RegularFile.h"
#include "Resources.h"

#include <QImage>

#include <exception>

using Lock = std::lock_guard<std::recursive_mutex>;

namespace {
const std::vector<uint8_t> kNoData;

struct TShownFrame {
    std::shared_ptr<const TOlePicture> Picture;
    TGifFrameInfo Info;
    bool Composed = false;
};

// A kept frame is taken as it is; any other frame is decoded from the raw data.
TShownFrame ShowFrame(const TWebPictureContent& content, int frame)
{
    TShownFrame shown;
    if (content.Animation && frame >= 0 && frame <= content.Animation->Count()) {
        shown.Picture = content.Animation->Picture(std::max(frame, 1));
        ReadGifScreenSize(content.Raw.data(), content.Raw.size(), shown.Info.ScreenWidth, shown.Info.ScreenHeight);
        if (frame >= 1) {
            const TGifFrameMarker& marker = content.Frames[static_cast<size_t>(frame - 1)];
            shown.Info.FrameLeft = marker.Left;
            shown.Info.FrameTop = marker.Top;
            shown.Info.FrameWidth = marker.Width;
            shown.Info.FrameHeight = marker.Height;
        }
        shown.Composed = true;
        return shown;
    }
    shown.Picture = DecodePictureData(content.Raw, true, frame, shown.Info);
    return shown;
}
}  // namespace

TWebPicture::TWebPicture() = default;

TWebPicture::~TWebPicture()
{
    // Stop the worker before anything it uses goes; calls it posted meanwhile are dropped
    // with the queue.
    destroying_ = true;
    stopped_ = true;
    thread_.reset();
}

void TWebPicture::NotifyChanged()
{
    if (IsMainThread())
        Changed();
    else
        mainThread_.Post([this] { Changed(); });
}

void TWebPicture::Select()
{
    picture_.reset();
    pictureFrame_ = -1;
    composed_ = false;
    info_.FrameLeft = info_.FrameTop = info_.ScreenWidth = info_.ScreenHeight = 0;
    if (!content_)
        return;
    TShownFrame shown = ShowFrame(*content_, frame_);
    picture_ = std::move(shown.Picture);
    info_ = shown.Info;
    composed_ = shown.Composed;
    pictureFrame_ = frame_;
}

void TWebPicture::DownloadEnded()
{
    if (!destroying_)
        mainThread_.Post([this] { Fire(OnDownLoadEnd, this); });
}

void TWebPicture::DecodePicture()
{
    Lock lock(mutex_);
    Select();
}

bool TWebPicture::Replace(std::vector<uint8_t> bytes, bool notify, bool downloaded)
{
    // Everything is read from the bytes once, outside the lock: a download decodes on its
    // worker while the window goes on drawing the old picture.
    auto content = std::make_shared<TWebPictureContent>();
    content->Raw = std::move(bytes);
    if (IsGifData(content->Raw.data(), content->Raw.size()))
        content->Frames = FindGifFrames(content->Raw.data(), content->Raw.size());
    std::exception_ptr failure;
    bool refused = false;  // frames beyond the decoding limit: the load fails whichever frame is set
    try {
        if (content->Frames.size() > 1)
            content->Animation = TGifAnimation::Compose(content->Raw.data(), content->Raw.size(),
                                                        static_cast<int>(content->Frames.size()), FrameMemoryLimit);
    } catch (...) {
        failure = std::current_exception();
        refused = true;
    }
    if (!refused) {
        try {
            TShownFrame first = ShowFrame(*content, 0);
            content->First = first.Picture;
            content->FirstInfo = first.Info;
        } catch (...) {
            failure = std::current_exception();
        }
    }
    {
        Lock lock(mutex_);
        // Under the lock that showing another picture takes: a download stopped for it never
        // replaces it.
        if (downloaded && Stopping())
            return false;
        if (downloaded)
            downloaded_ = content;
        content_ = content;
        empty_ = false;
        if (frame_ != 0 && !refused) {
            try {
                Select();
            } catch (...) {
                failure = std::current_exception();
            }
        } else {
            picture_ = content->First;
            info_ = content->FirstInfo;
            composed_ = content->Animation != nullptr;
            pictureFrame_ = picture_ ? 0 : -1;
        }
    }
    // Bytes that do not decode leave no picture: the one drawn before goes from the screen too.
    if (notify)
        NotifyChanged();
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

std::shared_ptr<const TWebPictureContent> TWebPicture::Content() const
{
    Lock lock(mutex_);
    return content_;
}

std::shared_ptr<const TWebPictureContent> TWebPicture::Downloaded() const
{
    Lock lock(mutex_);
    return downloaded_;
}

void TWebPicture::ShowContent(std::shared_ptr<const TWebPictureContent> content)
{
    {
        Lock lock(mutex_);
        content_ = std::move(content);
        frame_ = 0;
        empty_ = !content_;
        picture_ = content_ ? content_->First : nullptr;
        info_ = content_ ? content_->FirstInfo : TGifFrameInfo{};
        composed_ = content_ && content_->Animation;
        pictureFrame_ = picture_ ? 0 : -1;
    }
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
    const std::vector<uint8_t>& raw = content_ ? content_->Raw : kNoData;
    stream.WriteBuffer(raw.data(), static_cast<int64_t>(raw.size()));
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
        pictureFrame_ = -1;
        content_.reset();
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
        pictureFrame_ = -1;
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
    // A composed frame covers the whole logical screen: it already stands in its place.
    if (!composed_)
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
    return content_ && IsGifData(content_->Raw.data(), content_->Raw.size());
}

int TWebPicture::GifFrameCount() const
{
    Lock lock(mutex_);
    return IsGif() ? static_cast<int>(content_->Frames.size()) : -1;
}

int TWebPicture::GifFrameDelay(int k)
{
    Lock lock(mutex_);
    if (!IsGif() || k < 1 || k > static_cast<int>(content_->Frames.size()))
        return -1;
    const TGifFrameMarker& marker = content_->Frames[static_cast<size_t>(k - 1)];
    Transparent = (marker.Packed & 1) != 0;
    // Bits 3 to 5, one place above the disposal method: kept as it was.
    repaintCode_ = static_cast<uint16_t>((marker.Packed >> 3) & 7);
    return marker.Delay;
}

bool TWebPicture::FramesKept() const
{
    Lock lock(mutex_);
    return content_ && content_->Animation;
}

bool TWebPicture::Decoded() const
{
    Lock lock(mutex_);
    return picture_ != nullptr;
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
        if (!content_ || content_->Raw.empty())
            return;
        // The frame shown already needs no decoding again.
        if (pictureFrame_ != frame_)
            Select();
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
    return content_ ? content_->Raw : kNoData;
}
