#include "SpeedBtns.h"

#include "DrawLib.h"

#include <algorithm>

// ---- glyph lists and their cache ------------------------------------------------------------

int TGlyphList::AddMasked(const TBitmap& image, TColor maskColor)
{
    auto free = std::find(slots_.begin(), slots_.end(), false);
    int index = static_cast<int>(free - slots_.begin());
    if (free == slots_.end()) {
        TBitmap blank(Width, Height, pf24bit);
        TImageList::Add(blank);
        slots_.push_back(false);
    }
    ReplaceMasked(index, image, maskColor);
    slots_[index] = true;
    ++used_;
    return index;
}

void TGlyphList::Delete(int index)
{
    if (index >= 0 && index < static_cast<int>(slots_.size()) && slots_[index]) {
        slots_[index] = false;
        --used_;
    }
}

TGlyphCache::~TGlyphCache()
{
    for (TGlyphList* list : lists_)
        delete list;
}

TGlyphList* TGlyphCache::GetList(int width, int height)
{
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width == width && (*it)->Height == height)
            return *it;
    lists_.push_back(new TGlyphList(width, height));
    return lists_.back();
}

void TGlyphCache::ReturnList(TGlyphList* list)
{
    if (!list || list->UsedCount() != 0)
        return;
    auto it = std::find(lists_.begin(), lists_.end(), list);
    if (it != lists_.end()) {
        lists_.erase(it);
        delete list;
    }
}

namespace {
TGlyphCache* glyphCache = nullptr;
int glyphCount = 0;

TColor BottomLeftColor(TBitmap& bitmap)
{
    if (bitmap.Empty())
        return clOlive;
    const uint8_t* p = bitmap.ScanLine(bitmap.Height() - 1);
    return RGB(p[2], p[1], p[0]);
}

TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void PutPixel(TBitmap& bitmap, int x, int y, TColor color)
{
    TColor c = ColorToRGB(color);
    uint8_t* p = bitmap.ScanLine(y) + x * 3;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

// One pixel frame, top-left in one colour and bottom-right in another; the rectangle shrinks by 1.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight)
{
    canvas.Pen.Color = topLeft;
    canvas.Pen.Style = psSolid;
    canvas.MoveTo(r.Left, r.Bottom - 1);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(r.Right - 1, r.Top);
    canvas.Pen.Color = bottomRight;
    canvas.LineTo(r.Right - 1, r.Bottom - 1);
    canvas.LineTo(r.Left - 1, r.Bottom - 1);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

// A rectangular edge one pixel wide: sunken-outer or raised-inner.
void DrawEdge(TCanvas& canvas, const TRect& r, bool sunken, bool fill, TColor fillColor)
{
    TRect inner = r;
    if (sunken)
        Frame3D(canvas, inner, clBtnShadow, clBtnHighlight);
    else
        Frame3D(canvas, inner, clBtnHighlight, clBtnShadow);
    if (fill) {
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = fillColor;
        canvas.FillRect(inner);
    }
}

// The platform's push-button frame; the rectangle becomes the face inside it.
void DrawButtonFace(TCanvas& canvas, TRect& r, bool pushed)
{
    if (pushed) {
        Frame3D(canvas, r, cl3DDkShadow, clBtnHighlight);
        Frame3D(canvas, r, clBtnShadow, cl3DLight);
    } else {
        Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow);
        Frame3D(canvas, r, cl3DLight, clBtnShadow);
    }
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
}

void FillChecked(TCanvas& canvas, const TRect& r)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            canvas.SetPixel(x, y, ColorToRGB(((x + y) & 1) ? clBtnHighlight : clBtnFace));
}

bool IsDark(TColor c)
{
    return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 128000;
}
}  // namespace

// ---- the glyph --------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() : original_(std::make_unique<TBitmap>())
{
    original_->OnChange = [this](TObject*) { GlyphChanged(); };
    if (!glyphCache)
        glyphCache = new TGlyphCache;
    ++glyphCount;
}

TButtonGlyph::~TButtonGlyph()
{
    Invalidate();
    original_->OnChange = nullptr;
    if (--glyphCount == 0 && glyphCache && glyphCache->Empty()) {
        delete glyphCache;
        glyphCache = nullptr;
    }
}

void TButtonGlyph::Invalidate()
{
    for (int& index : indexes_) {
        if (index != -1 && list_)
            list_->Delete(index);
        index = -1;
    }
    if (list_ && glyphCache)
        glyphCache->ReturnList(list_);
    list_ = nullptr;
}

void TButtonGlyph::GlyphChanged()
{
    if (updating_)
        return;
    transparentColor_ = BottomLeftColor(*original_);
    Invalidate();
    Fire(OnChange, this);
}

void TButtonGlyph::SetGlyph(const TBitmap* value)
{
    Invalidate();
    updating_ = true;
    if (value && !value->Empty()) {
        original_->Assign(*value);
        original_->SetPixelFormat(pf24bit);
    } else {
        original_->SetSize(0, 0);
    }
    updating_ = false;
    if (value && value->Height() > 0 && value->Width() % value->Height() == 0) {
        int glyphs = value->Width() / value->Height();
        numGlyphs_ = glyphs > 4 ? 1 : glyphs;
    }
    GlyphChanged();
}

void TButtonGlyph::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (value == numGlyphs_)
        return;
    Invalidate();
    numGlyphs_ = value;
    GlyphChanged();
}

int TButtonGlyph::CreateButtonGlyph(TButtonState state)
{
    if (state == bsDown && numGlyphs_ < 3)
        state = bsUp;
    if (indexes_[state] != -1)
        return indexes_[state];
    if (original_->Empty())
        return -1;
    const int w = original_->Width() / numGlyphs_;
    const int h = original_->Height();
    if (w <= 0)
        return -1;
    if (!list_)
        list_ = glyphCache->GetList(w, h);
    const int column = static_cast<int>(state) < numGlyphs_ ? static_cast<int>(state) : 0;
    TBitmap image(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        std::copy_n(original_->ScanLine(y) + column * w * 3, w * 3, image.ScanLine(y));
    const TColor transparent = ColorToRGB(transparentColor_);
    if (state != bsDisabled) {
        indexes_[state] = list_->AddMasked(image, transparent);
        return indexes_[state];
    }
    TBitmap disabled(w, h, pf24bit);
    if (numGlyphs_ == 1) {
        // Embossed: the dark pixels laid in highlight one pixel down-right, then in shadow.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                PutPixel(disabled, x, y, clBtnFace);
        for (TColor brush : {clBtnHighlight, clBtnShadow}) {
            const int d = brush == clBtnHighlight ? 1 : 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    TColor c = PixelAt(image, x, y);
                    if (c != transparent && IsDark(c) && x + d < w && y + d < h)
                        PutPixel(disabled, x + d, y + d, brush);
                }
        }
    } else {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                TColor c = PixelAt(image, x, y);
                TColor out = c == transparent ? clBtnFace
                             : c == clWhite   ? clBtnHighlight
                             : c == clGray    ? clBtnShadow
                                              : c;
                PutPixel(disabled, x, y, out);
            }
    }
    indexes_[state] = list_->AddMasked(disabled, BottomLeftColor(disabled));
    return indexes_[state];
}

void TButtonGlyph::CalcButtonLayout(TCanvas& canvas, const TRect& client, const TPoint& offset,
                                    const String& caption, TButtonLayout layout, int margin, int spacing,
                                    TPoint& glyphPos, TRect& textBounds, bool biDiRightToLeft)
{
    if (biDiRightToLeft) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const TPoint clientSize{client.Right - client.Left, client.Bottom - client.Top};
    const TPoint glyphSize = original_->Empty() ? TPoint{0, 0}
                                                : TPoint{original_->Width() / numGlyphs_, original_->Height()};
    TPoint textSize{0, 0};
    textBounds = {0, 0, 0, 0};
    if (!caption.empty()) {
        textBounds = {0, 0, clientSize.X, 0};
        canvas.DrawText(caption, textBounds, DT_CALCRECT);
        textSize = {textBounds.Right - textBounds.Left, textBounds.Bottom - textBounds.Top};
    }
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (horizontal) {
        glyphPos.Y = (clientSize.Y - glyphSize.Y + 1) / 2;
        textBounds.Top = (clientSize.Y - textSize.Y + 1) / 2;
    } else {
        glyphPos.X = (clientSize.X - glyphSize.X + 1) / 2;
        textBounds.Left = (clientSize.X - textSize.X + 1) / 2;
    }
    if (textSize.X == 0 || glyphSize.X == 0)
        spacing = 0;
    const int total = horizontal ? clientSize.X : clientSize.Y;
    const int glyphLen = horizontal ? glyphSize.X : glyphSize.Y;
    const int textLen = horizontal ? textSize.X : textSize.Y;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (total - glyphLen - textLen) / 3;
            spacing = margin;
        } else {
            margin = (total - glyphLen - spacing - textLen + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (total - margin - glyphLen - textLen) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyphPos.X = margin;
        textBounds.Left = glyphPos.X + glyphSize.X + spacing;
        break;
    case blGlyphRight:
        glyphPos.X = clientSize.X - margin - glyphSize.X;
        textBounds.Left = glyphPos.X - spacing - textSize.X;
        break;
    case blGlyphTop:
        glyphPos.Y = margin;
        textBounds.Top = glyphPos.Y + glyphSize.Y + spacing;
        break;
    case blGlyphBottom:
        glyphPos.Y = clientSize.Y - margin - glyphSize.Y;
        textBounds.Top = glyphPos.Y - spacing - textSize.Y;
        break;
    }
    glyphPos = {glyphPos.X + client.Left + offset.X, glyphPos.Y + client.Top + offset.Y};
    textBounds = {textBounds.Left + client.Left + offset.X, textBounds.Top + client.Top + offset.Y,
                  textBounds.Left + textSize.X + client.Left + offset.X,
                  textBounds.Top + textSize.Y + client.Top + offset.Y};
}

TRect TButtonGlyph::Draw(TCanvas& canvas, const TRect& client, const TPoint& offset, const String& caption,
                         TButtonLayout layout, int margin, int spacing, TButtonState state, bool biDiRightToLeft)
{
    TPoint glyphPos{0, 0};
    TRect textBounds;
    CalcButtonLayout(canvas, client, offset, caption, layout, margin, spacing, glyphPos, textBounds,
                     biDiRightToLeft);
    int index = CreateButtonGlyph(state);
    if (index != -1)
        list_->Draw(canvas, glyphPos.X, glyphPos.Y, index);
    if (!caption.empty()) {
        canvas.Brush.Style = bsClear;
        const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        TRect r = textBounds;
        if (state == bsDisabled) {
            DrawEtchedText(canvas, caption, r, flags);
        } else {
            canvas.DrawText(caption, r, flags);
        }
    }
    return textBounds;
}

// ---- the speed button -------------------------------------------------------------------------

TCustomFlatSpeedButton::TCustomFlatSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TButtonGlyph>())
{
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(0, 0, 23, 22);
    SetColor(clBtnFace);
}

TCustomFlatSpeedButton::~TCustomFlatSpeedButton() = default;

void TCustomFlatSpeedButton::SetGlyph(const TBitmap* value)
{
    glyph_->SetGlyph(value);
    Invalidate();
}

void TCustomFlatSpeedButton::SetNumGlyphs(int value)
{
    glyph_->SetNumGlyphs(value < 0 ? 1 : value);
    Invalidate();
}

void TCustomFlatSpeedButton::SetLayout(TButtonLayout value)
{
    layout_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetMargin(int value)
{
    if (value < -1)
        return;
    margin_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetMenuButtonWidth(int value)
{
    menuButtonWidth_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetSpacing(int value)
{
    spacing_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetFlat(bool value)
{
    flat_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetStyle(TFlatSpeedButtonStyle value)
{
    if (value == sbsMenu || value == sbsComboButton) {
        groupIndex_ = 0;
        down_ = false;
        allowAllUp_ = false;
        if (state_ == bsExclusive)
            state_ = bsUp;
    }
    if (value == sbsComboButton) {
        flat_ = false;
        transparent_ = false;
    }
    style_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = value;
    if (value) {
        if (state_ == bsUp)
            Invalidate();
        state_ = bsExclusive;
    } else {
        state_ = bsUp;
        Invalidate();
    }
    if (value)
        UpdateExclusive();
}

void TCustomFlatSpeedButton::SetGroupIndex(int value)
{
    if (groupIndex_ == value)
        return;
    groupIndex_ = value;
    UpdateExclusive();
}

void TCustomFlatSpeedButton::SetAllowAllUp(bool value)
{
    if (allowAllUp_ == value)
        return;
    allowAllUp_ = value;
    UpdateExclusive();
}

void TCustomFlatSpeedButton::UpdateExclusive()
{
    if (groupIndex_ == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TCustomFlatSpeedButton*>(Parent()->Controls(i)); other && other != this)
            other->ButtonPressed(groupIndex_, this);
}

void TCustomFlatSpeedButton::ButtonPressed(int groupIndex, TCustomFlatSpeedButton* sender)
{
    if (groupIndex != groupIndex_ || sender == this)
        return;
    if (sender->Down() && down_) {
        down_ = false;
        state_ = bsUp;
        Invalidate();
    }
    allowAllUp_ = sender->AllowAllUp();
}

void TCustomFlatSpeedButton::SettleState()
{
    if (!Enabled()) {
        state_ = bsDisabled;
        dragging_ = false;
    } else if (state_ == bsDisabled) {
        state_ = (down_ && groupIndex_ != 0) ? bsExclusive : bsUp;
    }
}

void TCustomFlatSpeedButton::Paint() { PaintOn(Canvas()); }

void TCustomFlatSpeedButton::PaintOn(TCanvas& canvas)
{
    SettleState();
    canvas.Font.Assign(Font);
    switch (style_) {
    case sbsNormal:
    case sbsComboButton: PaintNormal(canvas); break;
    case sbsMenu: PaintMenu(canvas); break;
    default: throw Exception("Unknown button style.");
    }
}

void TCustomFlatSpeedButton::PaintNormal(TCanvas& canvas)
{
    TRect r = ClientRect();
    const bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (flat_) {
        if (pressed || (mouseInControl_ && state_ != bsDisabled)) {
            DrawEdge(canvas, r, pressed, false, Color());
        }
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    } else if (style_ == sbsComboButton) {
        if (!pressed) {
            Frame3D(canvas, r, clBtnFace, cl3DDkShadow);
            Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
        } else {
            Frame3D(canvas, r, clBtnShadow, clBtnShadow);
        }
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = clBtnFace;
        canvas.FillRect(r);
    } else {
        DrawButtonFace(canvas, r, pressed);
    }
    TPoint offset{0, 0};
    if (!pressed) {
        if (style_ == sbsComboButton)
            offset = {-1, -1};
    } else {
        if (state_ == bsExclusive && !(flat_ && mouseInControl_))
            FillChecked(canvas, r);
        offset = style_ == sbsNormal ? TPoint{1, 1} : TPoint{0, 0};
    }
    glyph_->Draw(canvas, r, offset, Caption(), layout_, margin_, spacing_, state_, BiDiRightToLeft);
}

TRect TCustomFlatSpeedButton::ArrowRect() const
{
    return {Width() - menuButtonWidth_, 0, Width(), Height()};
}

void TCustomFlatSpeedButton::PaintMenu(TCanvas& canvas)
{
    TRect main{0, 0, Width() - menuButtonWidth_, Height()};
    TRect arrow = ArrowRect();
    const bool mainDown = state_ == bsDown;
    const bool arrowDown = state_ == bsDown || state_ == bsArrowDown;
    if (flat_) {
        if (state_ != bsDown && state_ != bsArrowDown && (!mouseInControl_ || state_ == bsDisabled)) {
            if (!transparent_) {
                canvas.Brush.Style = bsSolid;
                canvas.Brush.Color = Color();
                canvas.FillRect(main);
                canvas.FillRect(arrow);
            }
        } else {
            DrawEdge(canvas, main, mainDown, !transparent_, Color());
            DrawEdge(canvas, arrow, arrowDown, !transparent_, Color());
            main = {main.Left + 1, main.Top + 1, main.Right - 1, main.Bottom - 1};
        }
    } else {
        DrawButtonFace(canvas, main, mainDown);
        TRect a = arrow;
        DrawButtonFace(canvas, a, arrowDown);
    }
    // The content sits one pixel in, as if drawn through a work bitmap placed at (1, 1).
    TPoint offset = mainDown ? TPoint{2, 2} : TPoint{1, 1};
    glyph_->Draw(canvas, main, offset, Caption(), layout_, margin_, spacing_, state_, BiDiRightToLeft);

    // The drop-down arrow: a small downward triangle centred in the arrow part.
    TRect ar{arrow.Left + 1, arrow.Top + 1, arrow.Right - 1, arrow.Bottom - 1};
    if (!arrowDown && !flat_)
        ar.Left -= 1;
    if (arrowDown) {
        ar.Bottom += 1;
        if (flat_) {
            ar.Left += 1;
            ar.Right += 1;
        }
    }
    const int cx = (ar.Left + ar.Right) / 2;
    const int cy = (ar.Top + ar.Bottom) / 2;
    auto triangle = [&](int dx, int dy, TColor color) {
        canvas.Pen.Color = color;
        for (int i = 0; i < 3; ++i) {
            canvas.MoveTo(cx - 2 + i + dx, cy - 1 + i + dy);
            canvas.LineTo(cx + 3 - i + dx, cy - 1 + i + dy);
        }
    };
    if (state_ == bsDisabled) {
        triangle(1, 1, clBtnHighlight);
        triangle(0, 0, clBtnShadow);
    } else {
        triangle(0, 0, clBtnText);
    }
    canvas.Font.Assign(Font);
}

bool TCustomFlatSpeedButton::HandleEvent(QEvent* event)
{
    // Presses, releases and clicks are this button's own; the widget must not click as well.
    const bool ownEvent = TControl::HandleEvent(event);
    return ownEvent || IsMouseButtonEvent(event);
}

void TCustomFlatSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    if (style_ == sbsMenu) {
        if (x >= Width() - menuButtonWidth_) {
            state_ = bsArrowDown;
            arrowPressed_ = true;
        } else {
            state_ = bsDown;
        }
    } else if (!down_) {
        state_ = bsDown;
    }
    Invalidate();
    dragging_ = true;
}

void TCustomFlatSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_)
        return;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    TButtonState next;
    if (style_ != sbsMenu) {
        next = down_ ? bsExclusive : bsUp;
        if (inside)
            next = down_ ? bsExclusive : bsDown;
    } else {
        const bool onArrow = x >= Width() - menuButtonWidth_;
        if (!inside)
            next = bsUp;
        else if (arrowPressed_)
            next = onArrow ? bsArrowDown : (state_ == bsArrowDown ? bsUp : state_);
        else
            next = bsDown;
        if ((state_ == bsDown && next == bsArrowDown) || (state_ == bsArrowDown && next == bsDown))
            next = state_;
    }
    if (next != state_) {
        state_ = next;
        Invalidate();
    }
}

void TCustomFlatSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!dragging_ || button != mbLeft)
        return;
    dragging_ = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    if (style_ == sbsMenu) {
        const bool onArrow = inside && x >= Width() - menuButtonWidth_;
        const bool click = inside && !arrowPressed_;
        const bool popup = onArrow && arrowPressed_ && DropDownMenu;
        state_ = bsUp;
        arrowPressed_ = false;
        mouseInControl_ = false;
        if (inside || popup)
            Invalidate();
        if (popup) {
            TPoint p = Parent() ? Parent()->ClientToScreen({Left(), Top() + Height()}) : TPoint{Left(), Top() + Height()};
            DropDownMenu->Popup(p.X, p.Y);
        }
        if (click)
            Click();
        return;
    }
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseInControl_ = false;
        if (inside)
            Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_)
            Invalidate();
    } else {
        if (down_)
            state_ = bsExclusive;
        Invalidate();
    }
    if (inside)
        Click();
}

void TCustomFlatSpeedButton::MouseEnter()
{
    TGraphicControl::MouseEnter();
    if (flat_ && !mouseInControl_ && Enabled()) {
        mouseInControl_ = true;
        Invalidate();
    }
}

void TCustomFlatSpeedButton::MouseLeave()
{
    TGraphicControl::MouseLeave();
    if (flat_ && mouseInControl_ && Enabled() && !dragging_) {
        mouseInControl_ = false;
        Invalidate();
    }
}

void TCustomFlatSpeedButton::DblClick()
{
    if (down_)
        TGraphicControl::DblClick();
}

void TCustomFlatSpeedButton::EnabledChanged()
{
    glyph_->Invalidate();
    if (!Enabled())
        mouseInControl_ = false;
    SettleState();
    Invalidate();
}

// ---- the repeating button ----------------------------------------------------------------------

namespace {
std::unique_ptr<TTimer> repeatTimer;
TTimerSpeedButton* repeatingButton = nullptr;
}  // namespace

TTimer& SpeedButtonRepeatTimer()
{
    if (!repeatTimer) {
        repeatTimer = std::make_unique<TTimer>(nullptr);
        repeatTimer->SetEnabled(false);
        repeatTimer->OnTimer = [](TObject*) {
            if (repeatingButton)
                repeatingButton->TimerExpired();
        };
    }
    return *repeatTimer;
}

TTimerSpeedButton* RepeatingButton() { return repeatingButton; }

TTimerSpeedButton::~TTimerSpeedButton()
{
    if (repeatingButton == this) {
        repeatTimer->SetEnabled(false);
        repeatingButton = nullptr;
    }
}

void TTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TFlatSpeedButton::MouseDown(button, shift, x, y);
    if (TimeBtnState & tbAllowTimer) {
        TTimer& timer = SpeedButtonRepeatTimer();
        repeatingButton = this;
        timer.SetInterval(400);
        timer.SetEnabled(true);
    }
}

void TTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (repeatingButton == this) {
        repeatTimer->SetEnabled(false);
        repeatingButton = nullptr;
    }
    TFlatSpeedButton::MouseUp(button, shift, x, y);
}

void TTimerSpeedButton::TimerExpired()
{
    TTimer& timer = SpeedButtonRepeatTimer();
    timer.SetInterval(100);
    if (State() == bsDown && Dragging()) {
        try {
            Click();
        } catch (...) {
            timer.SetEnabled(false);
            throw;
        }
    }
}

void TTimerSpeedButton::PaintOn(TCanvas& canvas)
{
    TFlatSpeedButton::PaintOn(canvas);
    if (TimeBtnState & tbFocusRect) {
        TRect r{3, 3, Width() - 3, Height() - 3};
        if (State() == bsDown)
            OffsetRect(r, 1, 1);
        canvas.DrawFocusRect(r);
    }
}

// ---- the spin button ---------------------------------------------------------------------------

std::unique_ptr<TBitmap> DefaultSpinGlyph(bool up)
{
    auto bitmap = std::make_unique<TBitmap>(9, 4, pf24bit);
    for (int y = 0; y < 4; ++y) {
        const int halfWidth = up ? y : 3 - y;  // rows of 1, 3, 5, 7 pixels around column 5
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < 9; ++x) {
            const uint8_t v = (x >= 5 - halfWidth && x <= 5 + halfWidth) ? 0 : 255;
            row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = v;
        }
    }
    return bitmap;
}

TSpinButton::TSpinButton(TComponent* owner) : TCustomControl(owner)
{
    upButton_ = CreateButton();
    downButton_ = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    focusedButton_ = upButton_;
    SetBounds(0, 0, 20, 25);
}

TSpinButton::~TSpinButton() = default;

TTimerSpeedButton* TSpinButton::CreateButton()
{
    auto* b = new TTimerSpeedButton(this);
    b->SetParent(this);
    b->SetVisible(true);
    b->SetEnabled(true);
    b->TimeBtnState = tbAllowTimer;
    b->SetStyle(sbsComboButton);
    b->SetLayout(blGlyphTop);
    b->OnMouseDown = [this](TObject* s, TMouseButton button, TShiftState, int, int) { BtnMouseDown(s, button); };
    b->OnClick = [this](TObject* s) { BtnClick(s); };
    return b;
}

void TSpinButton::AdjustSize(int& w, int& h)
{
    if (w < 15)
        w = 15;
    upButton_->SetBounds(0, 0, w, h / 2);
    downButton_->SetBounds(0, upButton_->Height(), w, h / 2 + h % 2);
}

void TSpinButton::SetBounds(int left, int top, int width, int height)
{
    AdjustSize(width, height);
    TCustomControl::SetBounds(left, top, width, height);
}

void TSpinButton::Resize()
{
    int w = Width();
    int h = Height();
    AdjustSize(w, h);
    if (w != Width())
        TCustomControl::SetBounds(Left(), Top(), w, h);
    TCustomControl::Resize();
}

bool TSpinButton::CanFocusSelf() const { return TabStop && Enabled() && Visible(); }

void TSpinButton::BtnMouseDown(TObject* sender, TMouseButton button)
{
    if (button != mbLeft)
        return;
    SetFocusBtn(static_cast<TTimerSpeedButton*>(sender));
    if (focusControl_ && focusControl_->Enabled() && focusControl_->Visible() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (CanFocusSelf() && !Focused())
        SetFocus();
}

void TSpinButton::BtnClick(TObject* sender)
{
    if (sender == downButton_)
        Fire(OnDownClick, this);
    else
        Fire(OnUpClick, this);
}

void TSpinButton::SetFocusBtn(TTimerSpeedButton* button)
{
    if (!CanFocusSelf() || !button || button == focusedButton_)
        return;
    focusedButton_->TimeBtnState &= ~tbFocusRect;
    focusedButton_ = button;
    if (Focused())
        focusedButton_->TimeBtnState |= tbFocusRect;
    upButton_->Invalidate();
    downButton_->Invalidate();
}

void TSpinButton::SetFocusControl(TWinControl* control) { focusControl_ = control; }

void TSpinButton::DoEnter()
{
    focusedButton_->TimeBtnState |= tbFocusRect;
    focusedButton_->Invalidate();
    TCustomControl::DoEnter();
}

void TSpinButton::DoExit()
{
    focusedButton_->TimeBtnState &= ~tbFocusRect;
    focusedButton_->Invalidate();
    TCustomControl::DoExit();
}

void TSpinButton::KeyDown(int& key, TShiftState shift)
{
    switch (key) {
    case VK_UP:
        SetFocusBtn(upButton_);
        upButton_->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(downButton_);
        downButton_->Click();
        break;
    case VK_SPACE: focusedButton_->Click(); break;
    default: break;
    }
    TCustomControl::KeyDown(key, shift);
}

bool TSpinButton::UpEnabled() const { return upButton_->Enabled(); }
bool TSpinButton::DownEnabled() const { return downButton_->Enabled(); }

void TSpinButton::SetUpEnabled(bool value)
{
    upEnabled_ = value;
    upButton_->SetEnabled(value && Enabled());
}

void TSpinButton::SetDownEnabled(bool value)
{
    downEnabled_ = value;
    downButton_->SetEnabled(value && Enabled());
}

void TSpinButton::SetEnabled(bool value)
{
    TCustomControl::SetEnabled(value);
    upButton_->SetEnabled(value && upEnabled_);
    downButton_->SetEnabled(value && downEnabled_);
}

void TSpinButton::SetUpGlyph(const TBitmap* value)
{
    if (value) {
        upButton_->SetGlyph(value);
        upDefault_ = false;
    } else {
        auto glyph = DefaultSpinGlyph(true);
        ReplaceColors(*glyph, clBtnFace, clBtnText);
        upButton_->SetGlyph(glyph.get());
        upDefault_ = true;
    }
}

void TSpinButton::SetDownGlyph(const TBitmap* value)
{
    if (value) {
        downButton_->SetGlyph(value);
        downDefault_ = false;
    } else {
        auto glyph = DefaultSpinGlyph(false);
        ReplaceColors(*glyph, clBtnFace, clBtnText);
        downButton_->SetGlyph(glyph.get());
        downDefault_ = true;
    }
}
