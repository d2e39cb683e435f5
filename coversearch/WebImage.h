#pragma once
// The web picture: a graphic that keeps a picture file's bytes as they came and shows them
// through the picture loader. It loads from a stream, a file, a program resource ("RES://"),
// a local file ("FILE://") or an HTTP address, the last either on the caller's thread or on a
// worker, and for GIF data it counts the frames, reads their delays and shows any one frame.
#include "DownloadEvents.h"
#include "GifAnimation.h"
#include "GifFrames.h"
#include "Graphics.h"
#include "PictureDecoding.h"
#include "Threads.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TDownLoadThread;

// Files and downloads larger than this are refused: a picture is never that big, and a FIFO,
// a device or an endless reply must not block or exhaust memory.
constexpr size_t kMaxWebPictureSize = 64u << 20;
// The frames of an animated GIF are composed once and kept while they take no more than this;
// a GIF whose frames would take more is shown still.
constexpr size_t kMaxGifAnimationMemory = 256u << 20;

// What one load brought: the bytes as they came and what was read from them once. Shared by
// the picture and the previews kept by address, never changed.
struct TWebPictureContent {
    std::vector<uint8_t> Raw;
    std::vector<TGifFrameMarker> Frames;  // the GIF's frames; none for other data
    std::shared_ptr<const TGifAnimation> Animation;  // null when the frames are not kept
    std::shared_ptr<const TOlePicture> First;  // frame 0 as shown
    TGifFrameInfo FirstInfo;
};

// Threads: a download started with Async on runs on a worker, which raises the four download
// events there; handlers that touch widgets must hand their work to the user-interface thread
// (TMainThreadQueue). The change notification (OnChange) always arrives on the user-interface
// thread. The picture's state is locked, so drawing while a download ends is safe. Destroying
// the picture cancels a running download and waits for the worker.
class TWebPicture : public TGraphic {
public:
    TWebPicture();
    ~TWebPicture() override;
    TWebPicture(const TWebPicture&) = delete;
    TWebPicture& operator=(const TWebPicture&) = delete;

    // Graphic.
    void Assign(const TPersistent& source) override;
    void Assign(const TPersistent* source);  // null clears the data
    void Draw(TCanvas& canvas, const TRect& r) const override;
    bool Empty() const override;
    int Height() const override;
    int Width() const override;
    void LoadFromFile(const String& fileName) override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // Stored data of a form stream: the raw bytes, unchanged.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
    QImage ToImage() const override;

    void LoadFromURL(const String& url);
    // Stops the running worker download at once, wherever it waits (connecting, or for the
    // next byte): it keeps the picture shown and raises no more download events; OnDownLoadEnd
    // follows when the worker is done. Nothing when no download runs.
    void CancelDownload();
    // The running download has been told to stop.
    bool DownloadCancelled() const { return busy_ && stopped_; }
    // What the last download to complete brought: the picture shown may be another already.
    std::shared_ptr<const TWebPictureContent> Downloaded() const;
    void DownloadToPicture();
    void DecodePicture();
    void LoadFromResourceName(const String& name);

    bool IsGif() const;
    int GifFrameCount() const;
    int GifFrameDelay(int k);

    int Frame() const;
    void SetFrame(int frame);
    // The frames of this GIF are kept composed: stepping through them decodes nothing.
    bool FramesKept() const;
    // A picture came out of the bytes loaded.
    bool Decoded() const;
    // What was loaded, and showing content loaded before (from frame 0) without decoding it.
    std::shared_ptr<const TWebPictureContent> Content() const;
    void ShowContent(std::shared_ptr<const TWebPictureContent> content);

    bool Stretch = false;
    bool CheckContentLength = false;
    bool Async = true;
    size_t FrameMemoryLimit = kMaxGifAnimationMemory;  // applies to the next load
    int DPIX() const { return dpiX_; }
    int DPIY() const { return dpiY_; }
    void SetDPI(int x, int y) { dpiX_ = x; dpiY_ = y; }
    bool Busy() const { return busy_; }
    String URL() const;
    String DownloadURL() const;
    TGifFrameInfo FrameInfo() const;
    // Bit 0 of the packed field of the frame last asked for its delay is kept in Transparent.
    uint16_t RepaintCode() const;
    std::vector<uint8_t> RawData() const;

    TNotifyEvent OnFrameChange;
    TDownloadErrorEvent OnDownLoadError;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadProgressEvent OnDownLoadProgress;
    // A worker download is over, whatever its outcome (a cancelled one raises nothing else) and
    // the picture is no longer busy. Raised on the user-interface thread.
    TNotifyEvent OnDownLoadEnd;

private:
    friend class TDownLoadThread;
    void DownloadEnded();
    void DownloadOnWorker();
    // False, nothing changed, when a download's bytes come after it was told to stop.
    bool Replace(std::vector<uint8_t> bytes, bool notify, bool downloaded = false);
    // Shows frame_ of content_.
    void Select();
    void NotifyChanged();
    void ReportError(const String& message);
    bool Stopping() const { return stopped_; }

    mutable std::recursive_mutex mutex_;
    std::shared_ptr<const TWebPictureContent> content_;
    std::shared_ptr<const TWebPictureContent> downloaded_;
    std::shared_ptr<const TOlePicture> picture_;
    int pictureFrame_ = -1;  // the frame picture_ shows; -1 when none is decoded
    bool composed_ = false;  // picture_ covers the logical screen: no frame offset
    bool empty_ = true;
    std::atomic<int> dpiX_{96}, dpiY_{96};
    String url_;
    String downloadUrl_;
    int frame_ = 0;
    TGifFrameInfo info_;
    uint16_t repaintCode_ = 0;
    std::atomic<bool> busy_{false};
    std::atomic<bool> destroying_{false};
    std::atomic<bool> stopped_{false};  // the running download is to give up; the network's cancel flag
    std::unique_ptr<TDownLoadThread> thread_;
    TMainThreadQueue mainThread_;
};

// The worker of an asynchronous download; its body is DownloadToPicture on its picture.
class TDownLoadThread : public TThread {
public:
    explicit TDownLoadThread(TWebPicture* picture) : TThread(true), picture_(picture) {}
    ~TDownLoadThread() override { WaitFor(); }

protected:
    void Execute() override
    {
        // Whatever the outcome.
        struct Ended {
            TWebPicture* picture;
            ~Ended() { picture->DownloadEnded(); }
        } ended{picture_};
        picture_->DownloadOnWorker();
    }

private:
    TWebPicture* picture_;
};
