#pragma once
// The collapsible panel: a mark-up text under an optional caption bar that can close and
// collapse the panel, move it, and keep its position between runs.
#include "ExtCtrls.h"
#include "ImgList.h"
#include "MarkupImage.h"
#include "MarkupPanelSettings.h"
#include "MarkupPictureCache.h"
#include "PanelCaption.h"
#include "PanelPosition.h"
#include "StoredImage.h"

#include <memory>

class TMarkupPanelStyler;
class TPictureStore;

// Scoped: the web image control's picture positions use the same names.
enum class TBackGroundPosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter };

using TAnchorEvent = std::function<void(TObject* sender, const String& anchor)>;
using TPanelAnchorHintEvent = std::function<void(TObject* sender, String& anchor)>;

class TCustomMarkupPanel : public TCustomControl {
public:
    explicit TCustomMarkupPanel(TComponent* owner);
    ~TCustomMarkupPanel() override;

    void Assign(const TPersistent& source) override;
    // After the form has set the properties: the stored position, the fixed bounds, the saved
    // cursor and colour, and the styler's settings.
    virtual void Loaded();
    void ApplySettings(TMarkupPanelSettings& settings);

    const String& Text() const { return text_; }
    void SetText(const String& text);
    TStoredImage& Background() { return *background_; }
    void SetBackground(const TStoredImage& image);
    TPanelCaption& Caption() { return *caption_; }
    void SetPanelCaption(const TPanelCaption& caption) { caption_->Assign(caption); }
    TPanelPosition& Position() { return *position_; }
    TAutoSize& AutoSize() { return *autoSize_; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    TPictureStore* PictureStore() const { return pictureStore_; }
    void SetPictureStore(TPictureStore* store);
    TMarkupPanelStyler* Styler() const { return styler_; }
    void SetStyler(TMarkupPanelStyler* styler);

    bool Collaps() const { return collaps_; }
    // Collapses to the caption or expands again, in CollapsSteps steps CollapsDelay ms apart;
    // OnEndCollapsExpand fires when the panel has its final height.
    void SetCollaps(bool value);
    bool CollapseRunning() const { return busy_; }
    int FullHeight() const { return fullHeight_; }
    void SetFullHeight(int v) { fullHeight_ = v; }
    void SetBounds(int left, int top, int width, int height) override;

#define DRAWN(type, name, field) \
    type name() const { return field; } \
    void Set##name(type v) { field = v; Invalidate(); }
    DRAWN(TBackGroundPosition, BackgroundPosition, backgroundPosition_)
    DRAWN(TColor, URLColor, urlColor_)
    DRAWN(TColor, ShadowColor, shadowColor_)
    DRAWN(int, ShadowOffset, shadowOffset_)
    DRAWN(bool, CanSize, canSize_)
    DRAWN(bool, BorderShadow, borderShadow_)
    DRAWN(TTextVAlignment, TextVAlign, textVAlign_)
    DRAWN(TColor, ColorTo, colorTo_)
    DRAWN(bool, Ellipsis, ellipsis_)
    DRAWN(TColor, BorderColor, borderColor_)
    DRAWN(int, Indent, indent_)
    DRAWN(int, TopIndent, topIndent_)
    DRAWN(int, LineSpacing, lineSpacing_)
#undef DRAWN

    TBevelCut BevelInner = bvNone;
    TBevelCut BevelOuter = bvRaised;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TFormBorderStyle BorderStyle = bsNone;
    bool AnchorHint = false;
    bool Hover = false;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    bool CanMove = false;
    bool FixedHeight = false, FixedLeft = false, FixedWidth = false, FixedTop = false;
    bool ShowMoveCursor = false;
    bool FreeOnClose = false;
    int CollapsDelay = 20;
    int CollapsSteps = 0;
    TColor CollapsColor = clGray;
    bool AutoHideChildren = true;
    bool Buffered = true;

    String Version() const { return "1.5.0.0"; }
    void SetVersion(const String&) {}

    TAnchorEvent OnAnchorClick, OnAnchorEnter, OnAnchorExit;
    TPanelAnchorHintEvent OnAnchorHint;
    TNotifyEvent OnClose, OnMinimize, OnMaximize, OnCaptionClick, OnCaptionDBlClick, OnEndMoveSize,
        OnEndCollapsExpand;

    // The anchor under (x, y), with its rectangle and index.
    String AnchorAt(int x, int y, TRect& rect, int& index);
    // HTCAPTION over the caption's free part when the panel can move, HTBOTTOMRIGHT on the
    // size grip when it can size; otherwise HTCLIENT.
    int HitTest(int x, int y);
    // With AnchorHint, the anchor at p (through OnAnchorHint), 10 pixels right of and above
    // the mouse; elsewhere the panel's own hint.
    bool ControlHintAt(const TPoint& p, String& text, TPoint& screenPos) override;
    void DoAutoSize();
    virtual void BuildCaptionShade();
    TBitmap& CaptionShade() { return *shade_; }
    // Fills the caption band with the caption's shading.
    void DrawCaptionBackground(TCanvas& canvas, const TRect& r);
    bool ThemeActive() const;
    int ButtonSize() const;

    // Children sit below a visible caption.
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void DblClick() override;
    void Resize() override;

protected:
    // A destroyed image list, picture store or styler is no longer used.
    void Notification(TComponent* component, TOperation operation) override;
    // Collapsing, expanding or a caption shown or hidden; a group arranges here.
    virtual void StateChanged() {}
    // A member of a group makes it update its scroll bar and arrange.
    void ParentArrange();
    bool loading_ = false;

private:
    TRect BodyRect(TCanvas& canvas);
    TRect CaptionTextRect();
    TCanvas& MeasureCanvas();
    void PaintOn(TCanvas& canvas);
    void DrawButtons(TCanvas& canvas, TRect& band);
    void DrawSizeGrip(TCanvas& canvas);
    // The outline of the rounded caption shapes.
    void RoundedOutline(TCanvas& canvas, const TRect& r);
    // The anchor under the mouse in the body or the caption, with that part's hover state.
    void TrackAnchor(const String& anchor, const TRect& rect, int index, int& hoverIndex, TRect& hoverRect);
    // Repaints a hovered anchor's rectangle (one pixel larger all round when inflated).
    void InvalidateHover(TRect rect, bool inflated);
    void ClearHover(int& index, TRect& rect);
    void ApplyFixedBounds(int& left, int& top, int& width, int& height);
    void CollapseStep();
    // Ends the running collapse or expand at once, at its final height.
    void FinishCollapse();
    void EndCollapse();

    String text_;
    std::unique_ptr<TStoredImage> background_;
    std::unique_ptr<TPanelCaption> caption_;
    std::unique_ptr<TPanelPosition> position_;
    std::unique_ptr<TAutoSize> autoSize_;
    std::unique_ptr<TBitmap> shade_;
    std::unique_ptr<TBitmap> measureBitmap_;
    TMarkupPictureCache cache_;
    TImageList* images_ = nullptr;
    TPictureStore* pictureStore_ = nullptr;
    TMarkupPanelStyler* styler_ = nullptr;
    TBackGroundPosition backgroundPosition_ = TBackGroundPosition::bpTopLeft;
    TColor urlColor_ = clBlue;
    TColor savedColor_;
    bool collaps_ = false;
    int fullHeight_ = 0;
    String lastAnchor_;
    int bodyHoverIndex_ = -1;
    TRect bodyHoverRect_{};
    int captionHoverIndex_ = -1;
    TRect captionHoverRect_{};
    int shadowOffset_ = 2;
    TColor shadowColor_ = clGray;
    bool canSize_ = false;
    TTextVAlignment textVAlign_ = tvaTop;
    TPoint fixedOrigin_{};
    TPoint fixedSize_{};
    TCursor savedCursor_ = crDefault;
    bool moving_ = false;
    bool sizing_ = false;
    TPoint dragStart_{};
    TRect dragBounds_{};
    TPoint lastDown_{};
    bool busy_ = false;
    std::unique_ptr<TTimer> collapseTimer_;
    int collapseStep_ = 0;
    int stepsLeft_ = 0;
    TColor colorTo_ = clNone;
    TColor borderColor_ = 0;
    bool borderShadow_ = false;
    int indent_ = 0;
    int topIndent_ = 0;
    int lineSpacing_ = 0;
    bool ellipsis_ = false;
};

class TMarkupPanel : public TCustomMarkupPanel {
public:
    using TCustomMarkupPanel::TCustomMarkupPanel;
};
