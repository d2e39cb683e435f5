// A form's main menu in the XP look: top-level items on the menu bar's colour, the item under
// the pointer framed, the open one drawn as a tab with a shadow that joins its menu.
#include "XPLook.h"

#include "XPColors.h"

namespace {

void Fill(TCanvas& canvas, const TRect& r, TColor color)
{
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = color;
    canvas.FillRect(r);
}

void Line(TCanvas& canvas, TColor color, std::initializer_list<TPoint> points)
{
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = color;
    canvas.Polyline(points.begin(), static_cast<int>(points.size()));
}


}  // namespace

bool TXPLook::IsTop(const TMenuItem& item)
{
    const auto* menu = dynamic_cast<const TMainMenu*>(item.GetParentMenu());
    return menu && item.Parent() == &const_cast<TMainMenu*>(menu)->Items();
}

void TXPLook::ActivateMainMenu(TMainMenu& menu, bool enable)
{
    TMenuItem& top = menu.Items();
    for (int i = 0; i < top.Count(); ++i) {
        menu.OwnerDraw = enable;
        HookMenuItem(*top.Items(i), enable);
        HookMenu(*top.Items(i), enable);
    }
    HookMenuWindows(menu, enable);
    // The bar is drawn anew with the items' new drawing.
    if (top.Count() > 0)
        menu.UpdateItems();
}

void TXPLook::DrawTopMenuItem(TMenuItem&, TCanvas& canvas, bool rtl, TColor color, const TRect& r)
{
    if (rtl || !FIsTrueColor) {
        DrawTopMenuItem(canvas, rtl, color, r);
        return;
    }
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    Fill(canvas, r, FFSelectColor);
    Line(canvas, FFSelectBorderColor, {{L, B - 1}, {L, T}, {R - 8, T}, {R - 8, B}});
    // The shadow at the right, deeper toward the menu's side.
    Fill(canvas, TRect{R - 7, T, R, B}, DarkenColor(FFMenuBarColor, 10));
    Fill(canvas, TRect{R - 7, T + 3, R - 2, B}, DarkenColor(FFMenuBarColor, 30));
    Fill(canvas, TRect{R - 7, T + 5, R - 3, B}, DarkenColor(FFMenuBarColor, 60));
    Fill(canvas, TRect{R - 7, T + 6, R - 5, B}, DarkenColor(FFMenuBarColor, 100));
    // Its rounded top corner.
    Line(canvas, FFMenuBarColor, {{R - 5, T + 1}, {R - 1, T + 1}, {R - 1, T + 6}});
    Line(canvas, FFMenuBarColor, {{R - 3, T + 2}, {R - 2, T + 2}, {R - 2, T + 3}, {R - 3, T + 3}});
    Line(canvas, DarkenColor(FFMenuBarColor, 10), {{R - 6, T + 3}, {R - 3, T + 3}, {R - 3, T + 6}, {R - 4, T + 6}, {R - 4, T + 3}});
    Line(canvas, DarkenColor(FFMenuBarColor, 30), {{R - 5, T + 5}, {R - 4, T + 5}, {R - 4, T + 9}});
    Line(canvas, DarkenColor(FFMenuBarColor, 40), {{R - 6, T + 5}, {R - 6, T + 7}});
}

void TXPLook::DrawTopItem(TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected)
{
    const TRect r = rect;
    canvas.Font.Assign(Font);
    const String text = " " + item.Caption;
    auto* menu = static_cast<TMainMenu*>(item.GetParentMenu());
    const bool rtl = menu->RightToLeft;
    TImageList own;
    int index = -1;
    const TImageList* images = ItemIcon(item, own, index);
    const bool hasIcon = images && index >= 0 && index < images->Count();
    const int iconW = hasIcon ? images->Width : 0;
    TRect gutter, check;
    GutterAndCheck(r, rtl, iconW, gutter, check);
    check.Top -= 1;
    TRect textRect = r;
    if (hasIcon) {
        const int room = (iconW > IconWidth ? iconW : IconWidth) + 4 - 5;
        if (rtl)
            textRect.Right -= room;
        else
            textRect.Left += room;
    }

    // The bar's colour behind the item; the last item carries it on to the form's edge.
    Fill(canvas, r, FFMenuBarColor);
    const TMenuItem* parent = item.Parent();
    const bool last = parent->Count() > 0 && parent->Items(parent->Count() - 1) == &item;
    if (DrawMenuBar) {
        const int formWidth = form_ ? form_->ClientWidth() : r.Right;
        if (last)
            Fill(canvas, rtl ? TRect{3, r.Top, r.Right, r.Bottom} : TRect{r.Left, r.Top, formWidth + 5, r.Bottom},
                 FFMenuBarColor);
        else if (rtl)
            Fill(canvas, TRect{r.Left, r.Top, r.Right + 7, r.Bottom}, FFMenuBarColor);
    }
    canvas.Font.SetColor(item.Enabled ? Font.Color() : DisabledColor());

    if (selected && DrawSelect) {
        DrawTopMenuItem(item, canvas, rtl, menuBarColor_, r);
    } else if (item.Enabled) {
        // The pointer over an item makes it hot.
        const TPoint p = menu->ScreenToBar(MouseCursorPos());
        if (p.X >= r.Left && p.X <= r.Right - 1 && p.Y >= r.Top && p.Y <= r.Bottom - 2) {
            canvas.Brush.Style = bsSolid;
            canvas.Brush.Color = FFSelectColor;
            canvas.Pen.Style = psSolid;
            canvas.Pen.Color = FFSelectBorderColor;
            canvas.Rectangle(r.Left, r.Top, r.Right - 7, r.Bottom);
        }
    }
    if (item.Checked)
        DrawCheckedItem(canvas, check, hasIcon, selected, item.Enabled, item.RadioItem);
    if (hasIcon) {
        int x = rtl ? gutter.Right - iconW - 5 : gutter.Left + 1;
        int y = gutter.Top + 1 + 2;
        if (selected && item.Enabled) {
            x -= 1;
            y -= 2;
        }
        DrawIcon(canvas, *images, index, x, y, selected, item.Enabled, item.Checked);
    }
    if (rtl)
        textRect.Right -= 3;
    else
        textRect.Left += 3;
    textRect.Top += (textRect.Bottom - textRect.Top - canvas.TextHeight("W")) / 2;
    DrawItemText(canvas, text, ShortCutToText(item.ShortCut), textRect, selected, item.Enabled, item.Default, rtl,
                 itTopItem);
}
