// Tool bars in the XP look: a two-part gradient behind the buttons (Shiny), and every button
// drawn here: a flat face when hot, pressed or down, the image dimmed, greyed or lifted over its
// shadow, the caption under it and the arrow of a drop-down button beside it.
#include "XPLook.h"

#include "VeskGaugeUnit.h"
#include "XPColors.h"

#include <cmath>

namespace {

// The handlers given to tool bars: their own types, so that they can be told from others'.
struct XPBarDraw {
    TXPLook* look;
    void operator()(TToolBar* bar, const TRect& r, bool& d) const { look->ToolBarCustomDraw(bar, r, d); }
};
struct XPButtonDraw {
    TXPLook* look;
    void operator()(TToolBar* bar, TToolButton* b, TCustomDrawState s, bool& d) const
    {
        look->ToolBarCustomDrawButton(bar, b, s, d);
    }
};

template <typename Handler, typename Event>
bool IsOurs(const Event& e, const TXPLook* look)
{
    const auto* h = e.template target<Handler>();
    return h && h->look == look;
}

bool HasButtons(const TToolBar& bar)
{
    for (int i = 0; i < bar.ControlCount(); ++i)
        if (dynamic_cast<TToolButton*>(bar.Controls(i)))
            return true;
    return false;
}

// The separator or divider just before the button, when there is one.
TToolButton* SeparatorBefore(const TToolBar& bar, const TToolButton* button)
{
    for (int i = 1; i < bar.ControlCount(); ++i)
        if (bar.Controls(i) == button) {
            auto* before = dynamic_cast<TToolButton*>(bar.Controls(i - 1));
            if (before && (before->Style() == tbsSeparator || before->Style() == tbsDivider))
                return before;
            return nullptr;
        }
    return nullptr;
}

void Fill(TCanvas& canvas, const TRect& r, TColor color)
{
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = color;
    canvas.FillRect(r);
}

void Frame(TCanvas& canvas, const TRect& r, TColor color)
{
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = color;
    canvas.FrameRect(r);
}

}  // namespace

void TXPLook::ActivateToolBar(TToolBar& bar, bool enable, bool update)
{
    bar.Flat = true;
    if (enable) {
        const bool foreign = bar.OnCustomDrawButton && !IsOurs<XPButtonDraw>(bar.OnCustomDrawButton, this);
        if (HasButtons(bar) && bar.Tag != 999 && (!foreign || OverrideOwnerDraw)) {
            bar.OnCustomDraw = XPBarDraw{this};
            bar.OnCustomDrawButton = XPButtonDraw{this};
        }
    } else {
        if (IsOurs<XPBarDraw>(bar.OnCustomDraw, this))
            bar.OnCustomDraw = nullptr;
        if (IsOurs<XPButtonDraw>(bar.OnCustomDrawButton, this))
            bar.OnCustomDrawButton = nullptr;
    }
    if (update) {
        bar.Invalidate();
        for (int i = 0; i < bar.ControlCount(); ++i)
            bar.Controls(i)->Invalidate();
    }
}

void TXPLook::ToolBarCustomDraw(TToolBar* toolBar, const TRect&, bool&)
{
    if (!Shiny || !active_)
        return;
    TCanvas& canvas = toolBar->Canvas();
    canvas.Pen.Width = 1;
    canvas.Brush.Style = bsClear;
    const int w = toolBar->Width();
    const int h = toolBar->Height();
    const int upper = h / 2;
    GradientFill(canvas, TRect{0, 0, w, upper}, 256, GradientTopStart, GradientTopEnd, 0);
    GradientFill(canvas, TRect{0, upper, w, h}, 256, GradientBottomStart, GradientBottomEnd, 0);
}

void TXPLook::DrawDropDownArrow(TCanvas& canvas, int x, int y)
{
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = clBlack;
    for (int row = 0; row < 3; ++row) {
        canvas.MoveTo(x + row, y + row);
        canvas.LineTo(x + 5 - row, y + row);
    }
}

void TXPLook::DrawTopMenuItem(TCanvas& canvas, bool, TColor color, const TRect& r)
{
    // The form a tool button takes; a main menu's open item has a deeper, shaped shadow of its own.
    Fill(canvas, r, FFSelectColor);
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = FFSelectBorderColor;
    const TPoint frame[] = {{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right - 3, r.Top}, {r.Right - 3, r.Bottom}};
    canvas.Polyline(frame, 4);
    Fill(canvas, TRect{r.Right - 2, r.Top + 2, r.Right, r.Bottom}, DarkenColor(color, 70));
    Fill(canvas, TRect{r.Right - 2, r.Top, r.Right, r.Top + 2}, color);
}

void TXPLook::ToolBarCustomDrawButton(TToolBar* toolBar, TToolButton* button, TCustomDrawState state,
                                      bool& defaultDraw)
{
    if (!active_)
        return;
    TCanvas& canvas = toolBar->Canvas();
    if (colorsChanged_)
        UpdateColors(canvas);
    const TColor barColor = toolBar->Color();
    const bool transparent = toolBar->Transparent();
    const TColor hotColor = FIsTrueColor && !useSystemColors_ ? LightenColor(selectColor_, 68) : FFSelectColor;
    const TColor buttonColor = FIsTrueColor ? LightenColor(barColor, ButtonShade) : barColor;
    const bool rtl = button->UseRightToLeftReading();
    const TRect r = button->BoundsRect();
    const bool hot = state & cdsHot;
    const bool pressed = state & cdsSelected;
    const bool checked = state & cdsChecked;
    const bool enabled = !(state & cdsDisabled);
    const bool dropDown = button->Style() == tbsDropDown;
    const bool hasMenu = button->DropdownMenu() != nullptr;
    const bool opensMenu = hasMenu || button->MenuItem();

    if (!transparent)
        Fill(canvas, r, buttonColor);
    const TRect face{r.Left, r.Top + 1, r.Right, r.Bottom};
    bool framed = true;
    if (hot && (checked || pressed))
        Fill(canvas, face, FFCheckedAreaSelectedColor);
    else if (hot)
        Fill(canvas, face, hotColor);
    else if (checked)
        Fill(canvas, face, FFCheckedAreaColor);
    else {
        framed = false;
        if (state & cdsIndeterminate)
            Fill(canvas, face, hotColor);
        else if (hasMenu && state == 0 && !transparent)
            Fill(canvas, face, barColor);
    }
    if (framed) {
        if (dropDown) {
            Frame(canvas, TRect{face.Left, face.Top, face.Right - 13, face.Bottom}, FFSelectBorderColor);
            Frame(canvas, TRect{face.Right - 13, face.Top, face.Right, face.Bottom}, FFSelectBorderColor);
        } else {
            Frame(canvas, face, FFSelectBorderColor);
        }
    }
    if (opensMenu && pressed)
        DrawTopMenuItem(canvas, false, barColor, r);
    defaultDraw = false;

    if (TToolButton* separator = SeparatorBefore(*toolBar, button)) {
        const TRect s = separator->BoundsRect();
        if (!transparent && !Shiny)
            Fill(canvas, s, buttonColor);
        if (separator->Tag > 0) {
            canvas.Pen.Style = psSolid;
            canvas.Pen.Color = DarkenColor(barColor, 30);
            const int x = (s.Left + s.Right) / 2;
            canvas.MoveTo(x, s.Top + 2);
            canvas.LineTo(x, s.Bottom - 1);
        }
    }

    TRect content = r;
    if (dropDown) {
        DrawDropDownArrow(canvas, r.Right - 10, r.Top + (r.Bottom - r.Top - 3) / 2);
        content.Right -= 12;
    }

    TImageList* images = toolBar->Images;
    if (hot && toolBar->HotImages)
        images = toolBar->HotImages;
    else if (!enabled && toolBar->DisabledImages)
        images = toolBar->DisabledImages;
    int imageWidth = 0;
    if (images && button->ImageIndex() >= 0 && button->ImageIndex() < images->Count()) {
        imageWidth = images->Width;
        int x = toolBar->List ? (rtl ? content.Right - 3 - imageWidth : content.Left + 3)
                              : content.Left + static_cast<int>(std::lround((content.Width() - imageWidth) / 2.0));
        int y = content.Top + 2;
        const bool lifted = hot && enabled && !pressed && !checked;
        if (lifted) {
            x -= 1;
            y -= 1;
        }
        DrawIcon(canvas, *images, button->ImageIndex(), x, y, hot, enabled, checked, pressed, true);
    }

    // The keyboard focus, as the plain look shows it.
    if (state & cdsFocused) {
        TRect focus = r;
        InflateRect(focus, -TToolButton::FocusInset, -TToolButton::FocusInset);
        canvas.DrawFocusRect(focus);
    }

    if (!toolBar->ShowCaptions || button->Caption().empty())
        return;
    canvas.Font.Assign(Font);
    TRect measured{0, 0, 0, 0};
    canvas.DrawText(button->Caption(), measured, DT_CALCRECT | DT_SINGLELINE);
    const int textWidth = measured.Right - measured.Left;
    const int textHeight = canvas.TextHeight("W");
    TRect text = content;
    if (toolBar->List && !hasMenu && rtl) {
        text.Right -= imageWidth + 7;
        text.Top += (content.Height() - textHeight) / 2;
    } else if (toolBar->List && !hasMenu) {
        text.Left += imageWidth + 6;
        text.Top += (content.Height() - textHeight) / 2;
    } else {
        // Centred in a band along the bottom, as high as the text and 6 more.
        const int band = textHeight + 6;
        text.Top = content.Bottom - band + (band - textHeight) / 2;
        text.Left += (content.Width() - textWidth) / 2;
    }
    text.Bottom = text.Top + textHeight;
    text.Right = rtl && !(toolBar->List && !hasMenu) ? text.Left + textWidth : std::max(text.Right, text.Left + textWidth);
    if (checked && !enabled) {
        text.Left -= 1;
        text.Top -= 1;
    }
    DrawItemText(canvas, button->Caption(), "", text, hot, enabled, false, rtl,
                 itToolButton | (hasMenu ? itTopItem : 0u));
}
