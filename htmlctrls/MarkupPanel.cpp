#include "MarkupPanel.h"

#include "Forms.h"
#include "HtmlRender.h"
#include "MarkupEvents.h"
#include "MarkupPanelGroup.h"
#include "MarkupPanelStyler.h"
#include "PictureStore.h"
#include "ThemeLoader.h"


TCustomMarkupPanel::TCustomMarkupPanel(TComponent* owner)
    : TCustomControl(owner),
      background_(std::make_unique<TStoredImage>()),
      caption_(std::make_unique<TPanelCaption>()),
      position_(std::make_unique<TPanelPosition>(this)),
      autoSize_(std::make_unique<TAutoSize>(this)),
      shade_(std::make_unique<TBitmap>(0, 0, pf24bit)),
      measureBitmap_(std::make_unique<TBitmap>(1, 1))
{
    savedColor_ = Color();
    background_->OnChange = [this](TObject*) { Invalidate(); };
    caption_->OnChange = [this](TObject*) {
        Invalidate();
        Realign();  // a caption shown, hidden or resized moves the aligned children
    };
    caption_->OnShadeChange = [this](TObject*) { BuildCaptionShade(); };
    caption_->OnStateChange = [this](TObject*) { StateChanged(); };
}

TCustomMarkupPanel::~TCustomMarkupPanel()
{
    // The window goes with the panel: the last bounds are what the next run starts from. A
    // collapse or expand still running is stored as ended, never half-way.
    if (busy_) {
        collapseTimer_.reset();
        SetHeight(collaps_ ? caption_->Height() : fullHeight_);
    }
    if (position_->Save) {
        try {
            position_->SavePosition();
        } catch (const std::exception&) {
            // A store that cannot be written loses the position, never the program.
        }
    }
}

void TCustomMarkupPanel::SetText(const String& text)
{
    text_ = text;
    Invalidate();
    DoAutoSize();
}

void TCustomMarkupPanel::SetBackground(const TStoredImage& image)
{
    background_->Assign(&image);
    Invalidate();
}

void TCustomMarkupPanel::SetImages(TImageList* images)
{
    ReferTo(this, images_, images);
    Invalidate();
}

void TCustomMarkupPanel::SetPictureStore(TPictureStore* store)
{
    ReferTo(this, pictureStore_, store);
    Invalidate();
}

void TCustomMarkupPanel::SetStyler(TMarkupPanelStyler* styler)
{
    ReferTo(this, styler_, styler);
    if (styler_ && !loading_)
        ApplySettings(styler_->Settings());
}

void TCustomMarkupPanel::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove) {
        if (component == images_)
            images_ = nullptr;
        if (component == pictureStore_)
            pictureStore_ = nullptr;
        if (component == styler_)
            styler_ = nullptr;
    }
    TCustomControl::Notification(component, operation);
}

void TCustomMarkupPanel::Loaded()
{
    loading_ = false;
    if (position_->Save)
        position_->LoadPosition();
    fixedOrigin_ = {Left(), Top()};
    fixedSize_ = {Width(), Height()};
    savedCursor_ = Cursor();
    savedColor_ = Color();
    if (styler_)
        ApplySettings(styler_->Settings());
}

void TCustomMarkupPanel::Assign(const TPersistent& source)
{
    const auto* other = dynamic_cast<const TCustomMarkupPanel*>(&source);
    if (!other) {
        TCustomControl::Assign(source);
        return;
    }
    AnchorHint = other->AnchorHint;
    AutoHideChildren = other->AutoHideChildren;
    SetBackgroundPosition(other->backgroundPosition_);
    BevelInner = other->BevelInner;
    BevelOuter = other->BevelOuter;
    BevelWidth = other->BevelWidth;
    SetBorderColor(other->borderColor_);
    SetBorderShadow(other->borderShadow_);
    BorderStyle = other->BorderStyle;
    CanMove = other->CanMove;
    SetCanSize(other->canSize_);
    caption_->Assign(*other->caption_);
    CollapsColor = other->CollapsColor;
    CollapsDelay = other->CollapsDelay;
    CollapsSteps = other->CollapsSteps;
    SetColor(other->Color());
    SetColorTo(other->colorTo_);
    SetCursor(other->Cursor());
    SetEnabled(other->Enabled());
    Font.Assign(other->Font);
    FixedTop = other->FixedTop;
    FixedLeft = other->FixedLeft;
    FixedHeight = other->FixedHeight;
    FixedWidth = other->FixedWidth;
    FreeOnClose = other->FreeOnClose;
    SetHeight(other->Height());
    HelpContext = other->HelpContext;
    SetHint(other->Hint());
    Hover = other->Hover;
    HoverColor = other->HoverColor;
    HoverFontColor = other->HoverFontColor;
    SetImages(other->images_);
    SetPictureStore(other->pictureStore_);
    SetPopupMenu(other->PopupMenu());
    position_->Assign(*other->position_);
    SetShadowColor(other->shadowColor_);
    SetShadowOffset(other->shadowOffset_);
    ShowHint = other->ShowHint;
    ShowMoveCursor = other->ShowMoveCursor;
    SetTabStop(other->TabStop());
    Tag = other->Tag;
    SetText(other->text_);
    SetTextVAlign(other->textVAlign_);
    SetURLColor(other->urlColor_);
    SetVisible(other->Visible());
}

void TCustomMarkupPanel::ApplySettings(TMarkupPanelSettings& s)
{
    AnchorHint = s.AnchorHint();
    AutoHideChildren = s.AutoHideChildren();
    BevelInner = s.BevelInner();
    BevelOuter = s.BevelOuter();
    BevelWidth = s.BevelWidth();
    SetBorderColor(s.BorderColor());
    SetBorderShadow(s.BorderShadow());
    BorderStyle = s.BorderStyle();
    BorderWidth = s.BorderWidth();
    CanMove = s.CanMove();
    SetCanSize(s.CanSize());
    caption_->Assign(s.Caption());
    SetCollaps(s.Collaps());
    CollapsColor = s.CollapsColor();
    CollapsDelay = s.CollapsDelay();
    CollapsSteps = s.CollapsSteps();
    SetColor(s.Color());
    SetColorTo(s.ColorTo());
    SetCursor(s.Cursor());
    Font.Assign(s.Font());
    FixedTop = s.FixedTop();
    FixedLeft = s.FixedLeft();
    FixedHeight = s.FixedHeight();
    FixedWidth = s.FixedWidth();
    Hover = s.Hover();
    HoverColor = s.HoverColor();
    HoverFontColor = s.HoverFontColor();
    SetIndent(s.Indent());
    SetShadowColor(s.ShadowColor());
    SetShadowOffset(s.ShadowOffset());
    ShowHint = s.ShowHint();
    ShowMoveCursor = s.ShowMoveCursor();
    SetTextVAlign(s.TextVAlign());
    SetTopIndent(s.TopIndent());
    SetURLColor(s.URLColor());
    Invalidate();
}

void TCustomMarkupPanel::SetBounds(int left, int top, int width, int height)
{
    const int oldWidth = Width();
    TCustomControl::SetBounds(left, top, width, height);
    if (!collaps_ && !busy_)
        fullHeight_ = Height();
    if (Width() != oldWidth && shade_->Width() != Width())
        BuildCaptionShade();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TCustomMarkupPanel::AdjustClientRect(TRect& rect)
{
    if (caption_->Visible() && rect.Top < caption_->Height())
        rect.Top = caption_->Height();
    TCustomControl::AdjustClientRect(rect);
}

void TCustomMarkupPanel::ParentArrange()
{
    if (auto* group = dynamic_cast<TMarkupPanelGroup*>(Parent())) {
        group->UpdateScrollBar();
        group->Arrange();
    }
}

TCanvas& TCustomMarkupPanel::MeasureCanvas()
{
    TCanvas& canvas = measureBitmap_->Canvas();
    canvas.Font.Assign(Font);
    return canvas;
}

void TCustomMarkupPanel::DoAutoSize()
{
    if (!autoSize_->Enabled())
        return;
    const TRect r{0, 0, autoSize_->Width ? 65535 : Width() - 2 * BevelWidth,
                  autoSize_->Height ? 65535 : Height() - 2 * BevelWidth};
    String anchor, plain, focus;
    int w = 0, h = 0, links = 0, hovered = -1;
    TRect hoveredRect{};
    HtmlDrawText(MeasureCanvas(), text_, r, images_, 0, 0, -1, -1, shadowOffset_, false, true, false, false, true,
                 false, !ellipsis_, 1.0, urlColor_, HoverColor, HoverFontColor, shadowColor_, anchor, plain, focus, w,
                 h, links, hovered, hoveredRect, &cache_, pictureStore_, lineSpacing_);
    if (autoSize_->Width)
        SetWidth(2 * BevelWidth + w);
    if (autoSize_->Height)
        SetHeight(h + 2 * BevelWidth + (caption_->Visible() ? caption_->Height() : 0));
    ParentArrange();
}

void TCustomMarkupPanel::Resize()
{
    Invalidate();
    TCustomControl::Resize();
    DoAutoSize();
}

bool TCustomMarkupPanel::ThemeActive() const
{
    // Themes are always possible here: the check for an old system has no counterpart.
    return ThemeLibraryLoaded && ThemeProcs.IsThemeActive && ThemeProcs.IsThemeActive();
}

int TCustomMarkupPanel::ButtonSize() const
{
    int size = 12;
    if (!caption_->CloseMinGlyph().Empty() && !caption_->CloseMaxGlyph().Empty())
        size = caption_->CloseMinGlyph().Width();
    if (!caption_->MinGlyph().Empty() && !caption_->MaxGlyph().Empty())
        size = caption_->MaxGlyph().Width();
    if (caption_->ShadeType() == stXPCaption && ThemeActive())
        size = 16;
    return size;
}
