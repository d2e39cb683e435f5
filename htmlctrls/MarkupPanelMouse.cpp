#include "MarkupPanel.h"

#include "HtmlRender.h"
#include "PictureStore.h"
#include "MarkupEvents.h"

#include <QTimer>
#include <QWidget>

namespace {

bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

}  // namespace

String TCustomMarkupPanel::AnchorAt(int x, int y, TRect& rect, int& index)
{
    const bool overCaption = caption_->Visible() && y < caption_->Height();
    TCanvas& canvas = MeasureCanvas();
    TRect r;
    const String* text = &text_;
    if (overCaption) {
        canvas.Font.Assign(caption_->Font());
        r = CaptionTextRect();
        text = &caption_->Text();
    } else {
        r = BodyRect(canvas);
    }
    String anchor, plain, focus;
    int w = 0, h = 0, links = 0;
    index = -1;
    rect = {};
    HtmlDrawText(canvas, *text, r, images_, x, y, -1, -1, shadowOffset_, true, false, false, false, true, false,
                 overCaption ? false : !ellipsis_, 1.0, urlColor_, HoverColor, HoverFontColor, shadowColor_, anchor,
                 plain, focus, w, h, links, index, rect, &cache_, pictureStore_, lineSpacing_);
    return anchor;
}

void TCustomMarkupPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    // A press on the caption's free part or on the size grip belongs to the window frame: it
    // moves or sizes the panel and is no click on the panel at all.
    const int hit = HitTest(x, y);
    if (hit != HTCLIENT) {
        lastDown_ = {-1, -1};  // nor is a second press there a double click on the caption
        if (button == mbLeft) {
            moving_ = hit == HTCAPTION;
            sizing_ = hit == HTBOTTOMRIGHT;
            dragStart_ = ClientToScreen({x, y});
            dragBounds_ = BoundsRect();
            fixedOrigin_ = {Left(), Top()};
            BringToFront();  // the panel being moved or sized is never hidden behind another
        }
        return;
    }
    TCustomControl::MouseDown(button, shift, x, y);
    lastDown_ = {x, y};
    if (caption_->Visible()) {
        TRect r = ClientRect();
        const int s = ButtonSize();
        const bool right = caption_->ButtonPosition == cbpRight;
        auto square = [&] {
            const int left = right ? r.Right - 2 - s : r.Left + 2;
            return TRect{left, r.Top + 2, left + s, r.Top + 2 + s};
        };
        if (caption_->CloseButton() && Inside(square(), x, y)) {
            Hide();
            Fire(OnClose, this);
            ParentArrange();
            if (FreeOnClose) {
                // The panel goes once the event that reached it is over.
                QTimer::singleShot(0, Widget(), [this] { delete this; });
            }
            return;
        }
        if (caption_->CloseButton()) {
            if (right)
                r.Right -= s;
            else
                r.Left += s;
        }
        if (caption_->MinMaxButton() && Inside(square(), x, y))
            SetCollaps(!collaps_);
        if (Inside({r.Left, r.Top, r.Right - 2, r.Top + caption_->Height()}, x, y))
            Fire(OnCaptionClick, this);
    }
    TRect rect;
    int index = -1;
    const String anchor = AnchorAt(x, y, rect, index);
    if (!anchor.empty())
        FollowAnchor(this, -1, anchor, [this](TObject* sender, int, const String& a) { Fire(OnAnchorClick, sender, a); });
}

void TCustomMarkupPanel::DblClick()
{
    TCustomControl::DblClick();
    const TRect r = ClientRect();
    if (caption_->Visible() &&
        Inside({r.Left, r.Top, r.Right - 2, r.Top + caption_->Height()}, lastDown_.X, lastDown_.Y))
        Fire(OnCaptionDBlClick, this);
}

int TCustomMarkupPanel::HitTest(int x, int y)
{
    const int s = ButtonSize();
    if (caption_->Visible() && y < caption_->Height() && CanMove) {
        const int buttons = (caption_->CloseButton() ? s + 2 : 0) + (caption_->MinMaxButton() ? s + 2 : 0);
        const int left = caption_->ButtonPosition == cbpLeft ? buttons : 0;
        const int right = Width() - (caption_->ButtonPosition == cbpRight ? buttons : 0);
        TRect rect;
        int index = -1;
        if (x > left && x < right && AnchorAt(x, y, rect, index).empty())
            return HTCAPTION;
    }
    const int grip = 16;  // the size of a system scroll bar
    if (canSize_ && !collaps_ && x >= Width() - grip && y >= Height() - grip)
        return HTBOTTOMRIGHT;
    return HTCLIENT;
}

void TCustomMarkupPanel::ApplyFixedBounds(int& left, int& top, int& width, int& height)
{
    if (FixedWidth)
        width = fixedSize_.X;
    if (FixedHeight)
        height = fixedSize_.Y;
    if (FixedLeft)
        left = fixedOrigin_.X;
    if (FixedTop)
        top = fixedOrigin_.Y;
}

void TCustomMarkupPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (moving_ || sizing_) {
        moving_ = sizing_ = false;
        SetCursor(savedCursor_);
        Fire(OnEndMoveSize, this);
        ParentArrange();
    }
}

void TCustomMarkupPanel::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (moving_ || sizing_) {
        const TPoint p = ClientToScreen({x, y});
        int left = dragBounds_.Left, top = dragBounds_.Top;
        int width = dragBounds_.Width(), height = dragBounds_.Height();
        if (moving_) {
            left += p.X - dragStart_.X;
            top += p.Y - dragStart_.Y;
            if (ShowMoveCursor)
                SetCursor(crSizeAll);
        } else {
            width += p.X - dragStart_.X;
            height += p.Y - dragStart_.Y;
        }
        ApplyFixedBounds(left, top, width, height);
        SetBounds(left, top, width, height);
        return;
    }
    TRect rect;
    int index = -1;
    const String anchor = AnchorAt(x, y, rect, index);
    if (!caption_->Visible() || y >= caption_->Height()) {
        ClearHover(captionHoverIndex_, captionHoverRect_);
        TrackAnchor(anchor, rect, index, bodyHoverIndex_, bodyHoverRect_);
    } else {
        ClearHover(bodyHoverIndex_, bodyHoverRect_);
        TrackAnchor(anchor, rect, index, captionHoverIndex_, captionHoverRect_);
    }
    // The caption's free part belongs to the frame that moves the panel: it says so with the
    // move cursor while the pointer is over it.
    if (ShowMoveCursor) {
        const bool movesPanel = HitTest(x, y) == HTCAPTION;
        if (movesPanel && Cursor() != crSizeAll)
            SetCursor(crSizeAll);
        else if (!movesPanel && Cursor() == crSizeAll)
            SetCursor(savedCursor_);
    }
}

void TCustomMarkupPanel::InvalidateHover(TRect rect, bool inflated)
{
    if (!Hover || rect.IsEmpty())
        return;
    if (inflated)
        InflateRect(rect, 1, 1);
    InvalidateRect(rect);
}

void TCustomMarkupPanel::ClearHover(int& index, TRect& rect)
{
    if (index != -1)
        InvalidateHover(rect, true);
    index = -1;
    rect = {};
}

void TCustomMarkupPanel::TrackAnchor(const String& anchor, const TRect& rect, int index, int& hoverIndex,
                                     TRect& hoverRect)
{
    if (!anchor.empty()) {
        if (!(anchor == lastAnchor_ && rect == hoverRect && index == hoverIndex)) {
            InvalidateHover(hoverRect, true);
            InvalidateHover(rect, false);
        }
        if (!(Cursor() != savedCursor_ && anchor == lastAnchor_)) {
            if (AnchorHint)
                CancelHint();
            SetCursor(crHandPoint);
            Fire(OnAnchorEnter, this, anchor);
        }
        lastAnchor_ = anchor;
        hoverRect = rect;
        hoverIndex = index;
    } else if (Cursor() == crHandPoint) {
        SetCursor(savedCursor_);
        // The handler hears which anchor the mouse has left.
        const String left = lastAnchor_;
        lastAnchor_.clear();
        ClearHover(hoverIndex, hoverRect);
        Fire(OnAnchorExit, this, left);
    }
}

void TCustomMarkupPanel::MouseLeave()
{
    ClearHover(bodyHoverIndex_, bodyHoverRect_);
    ClearHover(captionHoverIndex_, captionHoverRect_);
    if (!moving_ && Cursor() == crSizeAll)
        SetCursor(savedCursor_);
    TCustomControl::MouseLeave();
}

bool TCustomMarkupPanel::ControlHintAt(const TPoint& p, String& text, TPoint& screenPos)
{
    if (!AnchorHint)
        return false;
    TRect rect;
    int index = -1;
    String anchor = AnchorAt(p.X, p.Y, rect, index);
    if (anchor.empty())
        return false;
    Fire(OnAnchorHint, this, anchor);
    text = anchor;
    screenPos = {screenPos.X + 10, screenPos.Y - 10};
    return true;
}
