#pragma once
// Reading back what controls painted, finding the XP look's hook of a control, and the forms and
// pictures the painter tests share.
#include "ControlSubClass.h"
#include "Controls.h"
#include "Forms.h"
#include "ImgList.h"
#include "XPLook.h"

#include <QImage>

#include <memory>

// The colour of a pixel of a 24- or 32-bit bitmap, pending painting finished first.
inline TColor At(TBitmap& image, int x, int y)
{
    image.Canvas().Release();
    const uint8_t* p = image.ScanLine(y) + (image.PixelFormat() == pf32bit ? 4 : 3) * x;
    return RGB(p[2], p[1], p[0]);
}

// The colour of a pixel of the control as it paints itself.
inline TColor Shot(TControl& control, int x, int y)
{
    TBitmap image;
    control.PaintTo(image);
    return At(image, x, y);
}

inline TControlSubClass* HookOf(TXPLook& look, TControl* control)
{
    for (TControlSubClass* sub : look.SubClasses())
        if (sub->Control == control)
            return sub;
    return nullptr;
}

// The colour the painter tests give their forms, so that colours taken from the parent show.
const TColor FormColor = RGB(200, 180, 160);

// A size x size bitmap of one colour, its bottom-left pixel the see-through magenta.
inline std::unique_ptr<TBitmap> Square(int size, TColor color)
{
    auto b = std::make_unique<TBitmap>(size, size, pf24bit);
    b->Canvas().Brush.Color = color;
    b->Canvas().FillRect({0, 0, size, size});
    b->Canvas().SetPixel(0, size - 1, clFuchsia);
    b->Canvas().Release();
    return b;
}

// A 20 x 20 icon added to the list: a red square (5, 5)-(15, 15) on a transparent ground.
inline void AddIcon(TImageList& images)
{
    QImage icon(20, 20, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x)
            icon.setPixel(x, y, qRgb(255, 0, 0));
    images.AddImage(icon);
}

const TColor Blue = RGB(0, 0, 255);

// A popup menu of one item drawn into a 200 x 24 bitmap; its icon is an 8 x 8 blue square in
// the middle of a 16 x 16 image.
struct IconMenu {
    TForm form{nullptr};
    TImageList images{nullptr, 16, 16};
    TPopupMenu* menu = new TPopupMenu(&form);
    TMenuItem* item = new TMenuItem(menu);
    TXPLook* look = new TXPLook(&form);
    TBitmap image{200, 24, pf24bit};
    IconMenu()
    {
        TBitmap icon(16, 16, pf24bit);
        icon.Canvas().Brush.Color = TXPLook::TransparentColor;
        icon.Canvas().FillRect(TRect{0, 0, 16, 16});
        icon.Canvas().Brush.Color = RGB(0, 0, 255);
        icon.Canvas().FillRect(TRect{4, 4, 12, 12});
        images.AddMasked(icon, TXPLook::TransparentColor);
        menu->Images = &images;
        item->Caption = "Open";
        item->ImageIndex = 0;
        menu->Items().Add(item);
        look->SetActive(true);
    }
    TBitmap& Draw(bool selected = false)
    {
        item->OnDrawItem(item, image.Canvas(), TRect{0, 0, 200, 24}, selected);
        return image;
    }
};

// The XP look dropped on a form as the program's forms have it: made last, switched on once loaded.
inline TXPLook* AddXPLook(TForm& form)
{
    auto* look = new TXPLook(&form);
    look->SetActive(true);
    look->Loaded();
    return look;
}

// A form in the painter tests' colour, the controls placed on it, then the look.
struct PainterForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TXPLook* look = nullptr;
    PainterForm() { form->SetColor(FormColor); }
    template <class T>
    T* Add(int left, int top, int width, int height, int tag = 0)
    {
        auto* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(left, top, width, height);
        c->Tag = tag;
        return c;
    }
    void AddLook() { look = AddXPLook(*form); }
};
