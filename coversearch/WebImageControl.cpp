#include "WebImageControl.h"

#include <algorithm>

namespace {
// Delays this short stand for the usual pace, as browsers take them: a GIF asking for none
// would otherwise race, or with the tick count passing its due tick, stand for good.
constexpr int kShortestDelay = 2;
constexpr int kUsualDelay = 10;
}  // namespace

THelperWnd::THelperWnd(TComponent* owner) : TWinControl(owner), timer_(nullptr)
{
    SetBounds(0, 0, 0, 0);
    timer_.SetInterval(10);
    timer_.OnTimer = [this](TObject*) { Fire(OnTimer, this); };
}

TWebImage::TWebImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TWebPicture>())
{
    SetBounds(Left(), Top(), 100, 100);
    picture_->OnChange = [this](TObject* sender) { PictureChanged(sender); };
    picture_->OnFrameChange = [this](TObject* sender) { FrameChanged(sender); };
    // The worker's events reach the handlers on the user-interface thread.
    picture_->OnDownLoadError = [this](TObject*, const String& error) {
        mainThread_.Post([this, error] { GuardedCall([&] { Fire(OnDownLoadError, this, error); }); });
    };
    picture_->OnDownLoadComplete = [this](TObject*) {
        // What this download brought: the picture may show a kept one already.
        auto content = picture_->Downloaded();
        const String address = picture_->DownloadURL();
        mainThread_.Post([this, content, address] {
            previews_.Keep(address, content);
            GuardedCall([&] { Fire(OnDownLoadComplete, this); });
        });
    };
    picture_->OnDownLoadProgress = [this](TObject*, uint32_t size, uint32_t total) {
        mainThread_.Post([this, size, total] { GuardedCall([&] { Fire(OnDownLoadProgress, this, size, total); }); });
    };
    picture_->OnDownLoadCancel = [this](TObject*, bool& cancel) { Fire(OnDownLoadCancel, this, cancel); };
    picture_->OnDownLoadEnd = [this](TObject*) { GuardedCall([&] { Fire(OnDownLoadEnd, this); }); };
}

TWebImage::~TWebImage()
{
    // The worker ends before anything it reports to goes.
    picture_.reset();
    helper_.reset();
}

void TWebImage::Loaded()
{
    picture_->SetDPI(Canvas().PixelsPerInchX(), Canvas().PixelsPerInchY());
    if (!picture_->Empty())
        animated_ = AnimatedPicture();
}

bool TWebImage::AnimatedPicture() const
{
    // Frames not kept would be decoded at every step: such a GIF stands still.
    return picture_->IsGif() && picture_->GifFrameCount() > 1 && picture_->FramesKept();
}

void TWebImage::SetURL(const String& url)
{
    picture_->Async = Async;
    picture_->CheckContentLength = CheckContentLength;
    url_ = url;
    if (url.empty())
        return;
    if (auto kept = previews_.Find(url)) {
        // A download still running would replace the picture shown now with its own.
        picture_->CancelDownload();
        picture_->ShowContent(std::move(kept));
        return;
    }
    picture_->LoadFromURL(url);
}

void TWebImage::SetWebPicture(const TWebPicture& value)
{
    picture_->Assign(value);
    Invalidate();
}

void TWebImage::SetPicturePosition(TPicturePosition position)
{
    if (position == position_)
        return;
    position_ = position;
    Invalidate();
}

void TWebImage::SetAnimate(bool on)
{
    if (on == animate_)
        return;
    animate_ = on;
    if (on) {
        helper_ = std::make_unique<THelperWnd>(nullptr);
        helper_->SetParent(Parent());
        tickCount_ = 0;
        nextDue_ = 0;
        helper_->OnTimer = [this](TObject* sender) { AnimationTick(sender); };
    } else {
        helper_.reset();
    }
}

void TWebImage::Paint()
{
    if (!picture_ || picture_->Empty())
        return;
    const int W = Width(), H = Height();
    const int w = picture_->Width(), h = picture_->Height();
    TCanvas& canvas = Canvas();
    switch (position_) {
    case bpTopLeft: canvas.Draw(0, 0, *picture_); break;
    case bpTopRight: canvas.Draw(std::max(0, W - w), 0, *picture_); break;
    case bpBottomLeft: canvas.Draw(0, std::max(0, H - h), *picture_); break;
    case bpBottomRight: canvas.Draw(std::max(0, W - w), std::max(0, H - h), *picture_); break;
    case bpCenter: canvas.Draw(std::max(0, W - w) / 2, std::max(0, H - h) / 2, *picture_); break;
    case bpTiled:
        if (w <= 0 || h <= 0)
            break;
        for (int y = 0; y < H; y += h)
            for (int x = 0; x < W; x += w)
                canvas.Draw(x, y, *picture_);
        break;
    case bpStretched: canvas.StretchDraw({0, 0, W, H}, *picture_); break;
    }
}

void TWebImage::PictureChanged(TObject*)
{
    Invalidate();
    // Bytes that did not decode show nothing, and decoding them again at every frame step
    // would only fail again.
    if (picture_->Empty() || !picture_->Decoded()) {
        animated_ = false;
        return;
    }
    if (AutoSize)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    animated_ = AnimatedPicture();
    // Each new picture starts its own animation.
    tickCount_ = 0;
    nextDue_ = 0;
    picture_->SetFrame(0);
}

void TWebImage::FrameChanged(TObject*)
{
    switch (picture_->RepaintCode()) {
    case 0:
    case 3: Repaint(); break;
    // The frame's rectangle is in the picture's coordinates, which the control may place
    // or stretch anywhere inside itself: the control is what shows it.
    case 1:
    case 2: Invalidate(); break;
    default: break;
    }
    Fire(OnFrameChange, this);
}

void TWebImage::AnimationTick(TObject*)
{
    if (!picture_ || !animated_ || picture_->Empty())
        return;
    if (tickCount_ == nextDue_) {
        const int frame = picture_->GifFrameCount() > picture_->Frame() ? picture_->Frame() + 1 : 1;
        picture_->SetFrame(frame);
        int delay = picture_->GifFrameDelay(frame);
        if (delay < kShortestDelay)
            delay = kUsualDelay;
        nextDue_ = static_cast<int32_t>(static_cast<uint32_t>(nextDue_) + static_cast<uint32_t>(delay));
    }
    tickCount_ = static_cast<int32_t>(static_cast<uint32_t>(tickCount_) + 1u);
}
