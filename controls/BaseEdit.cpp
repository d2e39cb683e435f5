#include "BaseEdit.h"

#include "MaxMin.h"
#include "SystemMetrics.h"

TShortCut ShortCut(int key, TShiftState shift)
{
    TShortCut result = static_cast<TShortCut>(key & 0xFF);
    if (shift & ssShift)
        result |= 0x2000;
    if (shift & ssCtrl)
        result |= 0x4000;
    if (shift & ssAlt)
        result |= 0x8000;
    return result;
}

TEditButton::TEditButton(TComponent* owner) : TGlyphSpeedButton(owner) {}

void TEditButton::Paint()
{
    TGlyphSpeedButton::Paint();
    if (state_ == gbsDown)
        return;
    TCanvas& canvas = Canvas();
    canvas.Pen.Color = clBtnFace;
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, Height() - 1);
    canvas.Pen.Color = clBtnHighlight;
    canvas.MoveTo(1, 1);
    canvas.LineTo(1, Height() - 2);
}

void TEditButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft)
        if (auto* edit = dynamic_cast<TCustomComboEdit*>(Owner());
            edit && edit->TabStop() && edit->Enabled() && edit->Visible() && !edit->Focused())
            edit->SetFocus();
    TGlyphSpeedButton::MouseDown(button, shift, x, y);
}

TCustomComboEdit::TCustomComboEdit(TComponent* owner) : TEdit(owner)
{
    ButtonHolder = new TCustomControl(this);
    ButtonHolder->SetBounds(0, 0, 21, 17);
    ButtonHolder->SetParent(this);
    Button = new TEditButton(this);
    Button->SetBounds(0, 0, 21, 17);
    Button->SetParent(ButtonHolder);
    Button->OnClick = [this](TObject*) { ButtonAction(); };
    SetHeight(21);
    SetGlyphKind(gkCustom);
    creating_ = false;
    PlaceButton();
}

TCustomComboEdit::~TCustomComboEdit() { Button->OnClick = nullptr; }

void TCustomComboEdit::SetReadOnly(bool value)
{
    if (value == readOnly_)
        return;
    readOnly_ = value;
    ApplyWindowReadOnly();
}

void TCustomComboEdit::SetDirectInput(bool value)
{
    directInput_ = value;
    ApplyWindowReadOnly();
}

void TCustomComboEdit::SetTextArea() { SetRightTextMargin(ButtonHolder->Visible() ? ButtonHolder->Width() + 2 : 0); }

void TCustomComboEdit::PlaceButton()
{
    // Inside the client area, flush with its right edge and its bottom; a single flat border
    // leaves two pixels of the text's ground above it.
    const int bw = Button->Width();
    const TRect inner = InnerRect();
    const int drop = BorderStyle() == bsSingle && !Ctl3D() ? 2 : 0;
    ButtonHolder->SetBounds(inner.Right - bw, inner.Top + drop, bw, inner.Height() - drop);
    Button->SetHeight(ButtonHolder->Height());
    SetTextArea();
}

int TCustomComboEdit::FontLineHeight() const
{
    TBitmap screen(1, 1, pf24bit);
    TCanvas& canvas = screen.Canvas();
    const int system = canvas.TextHeight("0");
    canvas.Font.Assign(Font);
    const int own = canvas.TextHeight("0");
    canvas.Release();
    return IntMin(system, own);
}

int TCustomComboEdit::MinHeight() const
{
    const int borderHeight = 1;
    return FontLineHeight() + 4 * borderHeight + 1;
}

void TCustomComboEdit::Resize()
{
    TEdit::Resize();
    SizeChanged();
}

void TCustomComboEdit::SetBounds(int left, int top, int width, int height)
{
    // A hidden widget hears of its new size only when shown; the button must move at once.
    TEdit::SetBounds(left, top, width, height);
    SizeChanged();
}

void TCustomComboEdit::SizeChanged()
{
    if (creating_)
        return;
    if (Height() < MinHeight()) {
        SetHeight(MinHeight());  // comes back here at the new height
        return;
    }
    PlaceButton();
}

void TCustomComboEdit::DoEnter()
{
    SetCaretWidth(Font.Style() & fsBold ? 2 : 1);
    SetCaretHeight(FontLineHeight());
    TEdit::DoEnter();
}

void TCustomComboEdit::ApplyBorder()
{
    TEdit::ApplyBorder();
    if (!creating_)
        PlaceButton();
}

void TCustomComboEdit::EnabledChanged()
{
    TEdit::EnabledChanged();
    Button->SetEnabled(Enabled());
}

void TCustomComboEdit::SetButtonWidth(int value)
{
    if (value == ButtonWidth())
        return;
    ButtonHolder->SetVisible(value > 1);
    if (creating_) {
        ButtonHolder->SetWidth(value);
        Button->SetWidth(value);
        Button->FixedWidth = false;
    } else if (value < InnerRect().Width()) {
        Button->SetWidth(value);
        Button->FixedWidth = false;
        PlaceButton();
    }
    RebuildButtonGlyph();
}

void TCustomComboEdit::SetGlyph(const TBitmap& value)
{
    Button->SetGlyph(value);
    glyphKind_ = gkCustom;
}

void TCustomComboEdit::SetNumGlyphs(int value)
{
    if (glyphKind_ == gkDropDown || glyphKind_ == gkEllipsis)
        Button->SetNumGlyphs(1);
    else if (glyphKind_ == gkDefault)
        Button->SetNumGlyphs(defaultNumGlyphs_);
    else
        Button->SetNumGlyphs(value);
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value)
{
    if (value == glyphKind_)
        return;
    glyphKind_ = value;
    RebuildButtonGlyph();
    if (glyphKind_ == gkDefault && Glyph().Width() > 0)
        SetButtonWidth(IntMax(Glyph().Width() / NumGlyphs() + 6, ButtonWidth()));
    else if (glyphKind_ == gkDropDown) {
        // As wide as a scroll bar, like a combo box's own button.
        SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
        Button->FixedWidth = true;
    }
}

void TCustomComboEdit::RebuildButtonGlyph()
{
    switch (glyphKind_) {
    case gkDefault:
        if (const TBitmap* glyph = DefaultGlyphBitmap())
            Button->SetGlyph(*glyph);
        else
            Button->SetGlyph(TBitmap(0, 0, pf24bit));
        Button->SetNumGlyphs(defaultNumGlyphs_);
        break;
    case gkDropDown:
    case gkEllipsis: {
        // Three dots for the ellipsis, a small arrow for the drop-down.
        const int width = IntMax(1, Button->Width() - 6);
        TBitmap glyph(width, 4, pf24bit);
        TCanvas& c = glyph.Canvas();
        c.Brush.Color = clWhite;
        c.FillRect({0, 0, width, 4});
        c.Brush.Color = clBlack;
        if (glyphKind_ == gkEllipsis) {
            const int g = IntMin(IntMax((width - 6) / 2, 1), 3);
            const int x0 = (width - 6 - 2 * g) / 2;
            for (int x : {x0, x0 + g + 2, x0 + 2 * g + 4})
                c.FillRect({x, 1, x + 2, 3});
        } else {
            for (int row = 0; row < 4; ++row)
                c.FillRect({width / 2 - 3 + row, row, width / 2 + 4 - row, row + 1});
        }
        c.Release();
        Button->SetGlyph(glyph);
        Button->SetNumGlyphs(1);
        break;
    }
    case gkCustom:
        break;
    }
}

void TCustomComboEdit::ButtonAction()
{
    if (!readOnly_)
        DoButtonClick();
}

void TCustomComboEdit::KeyDown(int& key, TShiftState shift)
{
    TEdit::KeyDown(key, shift);
    if (key != 0 && ShortCut(key, shift) == ClickKey && ButtonWidth() > 0) {
        ButtonAction();
        key = 0;
    }
}
