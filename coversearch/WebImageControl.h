#pragma once
// The web image control: shows one web picture, placed by PicturePosition, optionally sized to
// it, and steps the frames of an animated GIF from a 10-millisecond timer.
//
// Threads: the picture downloads on a worker when Async is on. The control hands the error,
// progress and completion events to the user-interface thread, so their handlers may touch
// windows; the cancel query is answered on the worker, as it must be answered at once.
// Destroying the control stops its download first.
//
// Pictures downloaded lately are kept by address: showing one of them again takes neither a
// download nor decoding.
#include "ExtCtrls.h"
#include "PreviewCache.h"
#include "WebImage.h"

#include <cstdint>
#include <memory>

enum TPicturePosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpCenter, bpTiled, bpStretched };

// The zero-size window whose timer drives the animation every 10 ms.
class THelperWnd : public TWinControl {
public:
    explicit THelperWnd(TComponent* owner);
    TNotifyEvent OnTimer;

private:
    TTimer timer_;
};

class TWebImage : public TGraphicControl {
public:
    explicit TWebImage(TComponent* owner);
    ~TWebImage() override;

    bool Animate() const { return animate_; }
    void SetAnimate(bool on);
    bool Async = false;
    bool AutoSize = false;
    bool CheckContentLength = false;
    TWebPicture& WebPicture() { return *picture_; }
    void SetWebPicture(const TWebPicture& value);
    TPicturePosition PicturePosition() const { return position_; }
    void SetPicturePosition(TPicturePosition position);
    String URL() const { return url_; }
    // Shows a kept picture of the address at once, stopping a download that runs, or loads it
    // (again, when it is the same); an empty one keeps the picture.
    void SetURL(const String& url);
    // A picture of the address is kept: SetURL shows it without a download.
    bool Keeps(const String& url) const { return previews_.Contains(url); }
    String Version() const { return "1.1.0.0"; }
    void SetVersion(const String&) {}

    TDownloadErrorEvent OnDownLoadError;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadProgressEvent OnDownLoadProgress;
    TNotifyEvent OnFrameChange;
    // On the user-interface thread once a download is over, however it ended.
    TNotifyEvent OnDownLoadEnd;

    // After reading from a form description: the picture takes the screen's resolution.
    void Loaded();
    void Paint() override;
    // One timer step; public so that tests can step the animation.
    void AnimationTick(TObject* sender);
    bool Animated() const { return animated_; }
    const THelperWnd* TimerWindow() const { return helper_.get(); }

private:
    void PictureChanged(TObject* sender);
    bool AnimatedPicture() const;
    void FrameChanged(TObject* sender);

    TMainThreadQueue mainThread_;  // declared first: it outlives the picture's worker
    TPreviewCache previews_;
    std::unique_ptr<TWebPicture> picture_;
    TPicturePosition position_ = bpTopLeft;
    std::unique_ptr<THelperWnd> helper_;
    int32_t tickCount_ = 0;
    int32_t nextDue_ = 0;
    bool animated_ = false;
    bool animate_ = false;
    String url_;
};
