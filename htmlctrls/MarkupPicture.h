#pragma once
// A picture named in mark-up: keeps the picture file's bytes as they came and shows them through
// the picture loader, one GIF frame at a time, stepping through the frames on a timer.
// Nothing is ever downloaded: a picture given an HTTP address stays empty.
#include "DownloadEvents.h"
#include "Graphics.h"
#include "MarkupImage.h"
#include "PictureDecoding.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace PictureStore {
class TDownLoadThread;
}

// Files named by "FILE://" in mark-up are read only up to this size.
constexpr size_t kMaxMarkupPictureSize = 64u << 20;

class TMarkupPicture : public TGraphic, public TMarkupImage {
public:
    TMarkupPicture();
    ~TMarkupPicture() override;
    TMarkupPicture(const TMarkupPicture&) = delete;
    TMarkupPicture& operator=(const TMarkupPicture&) = delete;

    // Graphic.
    void Assign(const TPersistent& source) override;
    void Assign(const TPersistent* source);  // null clears the data
    void Draw(TCanvas& canvas, const TRect& r) const override;
    bool Empty() const override { return empty_; }
    int Height() const override;
    int Width() const override;
    // Any failure only leaves the picture empty.
    void LoadFromFile(const String& fileName) override;
    // Decoding errors pass to the caller.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const { SaveToStream(stream); }
    QImage ToImage() const override;

    // "RES://" + name and "FILE://" + path load at once; any other address is only noted.
    void LoadFromURL(const String& address);
    void LoadFromResourceName(const String& name);
    void DecodePicture();

    bool IsGif() const;
    // Counted once and kept until the next assign; -1 for data that is not GIF (counted again).
    int GifFrameCount();
    // Hundredths of a second; -1 without a k-th frame.
    int GifFrameDelay(int k) const;
    int Frame() const { return frame_; }
    // Decodes the frame when there is data, and raises OnFrameChange.
    void SetFrame(int frame);
    void NextFrame();
    // One 100 ms tick of the animation; true when another frame is now shown.
    bool AnimateStep();

    // Size at the picture's resolution: a GIF's logical screen, else its extent.
    int DisplayWidth() override;
    int DisplayHeight() override;

    // What the renderer sees.
    bool IsEmpty() const override { return empty_; }
    TPoint FrameOffset() const override { return {info_.FrameLeft, info_.FrameTop}; }
    void DrawImage(TCanvas& canvas, const TRect& r, bool stretch) override;

    bool Stretch = false;
    bool Async = true;
    bool Busy() const { return busy_; }
    String URL() const { return url_; }
    String DownloadURL() const { return downloadUrl_; }
    int DPIX() const { return dpiX_; }
    int DPIY() const { return dpiY_; }
    const std::vector<uint8_t>& RawData() const { return raw_; }

    TNotifyEvent OnFrameChange;
    // Published for the form designer; nothing downloads, so they are never raised.
    TDownloadErrorEvent OnDownLoadError;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadProgressEvent OnDownLoadProgress;

private:
    void Replace(std::vector<uint8_t> bytes);
    void DecodeQuietly();

    std::vector<uint8_t> raw_;
    bool empty_ = true;
    std::unique_ptr<TOlePicture> picture_;
    int dpiX_ = 96, dpiY_ = 96;
    String downloadUrl_;
    String url_;
    bool busy_ = false;
    int frame_ = 1;
    int frameCount_ = -1;
    TGifFrameInfo info_;
    int nextDue_ = -1;
    int tickCount_ = -1;
    std::unique_ptr<PictureStore::TDownLoadThread> thread_;
};
