#include "VeskPopupUnit.h"

#include "RoundRects.h"
#include "VeskGaugeUnit.h"

#include <algorithm>

namespace {

constexpr unsigned kMeasure = DT_CALCRECT | DT_EXTERNALLEADING;

// The size of text as it is drawn; an empty text takes no room.
TPoint Measure(TCanvas& canvas, const String& text)
{
    if (text.empty())
        return {0, 0};
    TRect r{0, 0, 0, 0};
    canvas.DrawText(text, r, kMeasure);
    return {r.Right - r.Left, r.Bottom - r.Top};
}

void SetBold(TCanvas& canvas, bool bold)
{
    canvas.Font.SetStyle(bold ? (canvas.Font.Style() | fsBold) : (canvas.Font.Style() & ~static_cast<unsigned>(fsBold)));
}

}  // namespace

TVeskPopupMenu::TVeskPopupMenu(TComponent* owner) : TPopupMenu(owner)
{
    OwnerDraw = true;
    AutoLineReduction = false;
}

void TVeskPopupMenu::Hook(TMenuItem& parent)
{
    using namespace std::placeholders;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = *parent.Items(i);
        if (item.IsLine()) {
            item.OnMeasureItem = std::bind(&TVeskPopupMenu::MeasureSeparator, this, _1, _2, _3, _4);
            item.OnDrawItem = std::bind(&TVeskPopupMenu::DrawSeparator, this, _1, _2, _3, _4);
        } else {
            item.OnMeasureItem = std::bind(&TVeskPopupMenu::MeasureItem, this, _1, _2, _3, _4);
            item.OnDrawItem = std::bind(&TVeskPopupMenu::DrawItem, this, _1, _2, _3, _4);
        }
        Hook(item);
    }
}

void TVeskPopupMenu::HookItems() { Hook(Items()); }

void TVeskPopupMenu::MeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    SetBold(canvas, true);
    TPoint caption = Measure(canvas, item->Caption);
    if (item->ShortCut)
        caption.X += Measure(canvas, ShortCutToText(item->ShortCut)).X + 8;
    SetBold(canvas, false);
    const TPoint hint = Measure(canvas, item->Hint);
    const int descriptionHeight = InlineDescriptions ? hint.Y : 0;
    width = std::max(caption.X, hint.X) + 8;
    if (item->Count() > 0)
        width += 20;
    if (item->GetImageList())
        width += GutterWidth;
    height = caption.Y + descriptionHeight + 8;
}

void TVeskPopupMenu::MeasureSeparator(TObject* sender, TCanvas& canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    if (item->Hint.empty()) {
        height = 4;
        width = 10;
        return;
    }
    SetBold(canvas, true);
    const TPoint title = Measure(canvas, item->Hint);
    SetBold(canvas, false);
    height = title.Y + 8;
    width = title.X + 14;
}

void TVeskPopupMenu::DrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    TImageList* images = item->GetImageList();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = ItemBackColor;
    canvas.FillRect(rect);
    if (images) {
        canvas.Brush.Color = GutterColor;
        canvas.FillRect(TRect{rect.Left, rect.Top, GutterWidth, rect.Bottom});
        canvas.Pen.Style = psSolid;
        canvas.Pen.Color = SeparatorLineColor;
        canvas.MoveTo(GutterWidth, rect.Top);
        canvas.LineTo(GutterWidth, rect.Bottom);
    }
    SetBold(canvas, true);
    const int captionHeight = Measure(canvas, item->Caption).Y;
    if (selected) {
        ClipToRoundRect(canvas, rect, 4, 4);
        const int split = item->Hint.empty() ? rect.Top + (rect.Bottom - rect.Top) / 2 : rect.Top + captionHeight + 4;
        GradientFill(canvas, TRect{rect.Left, rect.Top, rect.Right, split}, 256, CaptionGradientStart, CaptionGradientEnd, 0);
        GradientFill(canvas, TRect{rect.Left, split, rect.Right, rect.Bottom}, 256, DescriptionGradientStart,
                     DescriptionGradientEnd, 0);
        canvas.ClearClip();
        canvas.Brush.Style = bsClear;
        canvas.Pen.Style = psSolid;
        canvas.Pen.Color = SeparatorLineColor;
        RoundRect(canvas, rect, 4, 4);
    }
    canvas.Brush.Style = bsClear;
    canvas.Font.SetColor(item->Enabled ? FontColor : FontDisabledColor);
    TRect text{rect.Left + 4 + (images ? GutterWidth : 0), rect.Top + 2, rect.Right - 4, rect.Bottom};
    TRect captionRect = text;
    canvas.DrawText(item->Caption, captionRect, DT_LEFT | DT_TOP);
    // Without a shortcut the blanks alone keep the caption clear of the right edge.
    TRect shortcutRect = text;
    canvas.DrawText(ShortCutToText(item->ShortCut) + "   ", shortcutRect, DT_RIGHT | DT_TOP);
    SetBold(canvas, false);
    if (InlineDescriptions && !item->Hint.empty()) {
        TRect description{text.Left, rect.Top + captionHeight + 4, text.Right, text.Bottom};
        canvas.DrawText(item->Hint, description, DT_LEFT | DT_TOP);
    }
    if (ShowImages && images && item->ImageIndex >= 0)
        images->Draw(canvas, rect.Left + 4, rect.Top + 2, item->ImageIndex, true);
}

void TVeskPopupMenu::DrawSeparator(TObject* sender, TCanvas& canvas, const TRect& rect, bool)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    TImageList* images = item->GetImageList();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = SeparatorBackground;
    canvas.FillRect(rect);
    canvas.Pen.Style = psSolid;
    canvas.Pen.Color = SeparatorLineColor;
    canvas.MoveTo(rect.Left, rect.Bottom - 2);
    canvas.LineTo(rect.Right, rect.Bottom - 2);
    canvas.Pen.Color = ItemBackColor;
    canvas.MoveTo(rect.Left, rect.Bottom - 1);
    canvas.LineTo(rect.Right, rect.Bottom - 1);
    if (!item->Hint.empty()) {
        SetBold(canvas, true);
        canvas.Font.SetColor(FontColor);
        canvas.Brush.Style = bsClear;
        TRect title{rect.Left + 4 + (images ? 6 : 0), rect.Top, rect.Right - 4, rect.Bottom};
        canvas.DrawText(item->Hint, title, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        SetBold(canvas, false);
    } else if (images) {
        canvas.Brush.Color = GutterColor;
        canvas.FillRect(TRect{rect.Left, rect.Top, GutterWidth, rect.Bottom});
        canvas.Pen.Color = SeparatorLineColor;
        canvas.MoveTo(GutterWidth, rect.Top);
        canvas.LineTo(GutterWidth, rect.Bottom);
    }
}
