#include "XPLook.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QRegion>

namespace {

TColor PixelOf(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

QImage Render(QMenu* window)
{
    window->adjustSize();
    QImage image(window->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    window->render(&image);
    return image;
}

TEST(XPMenuBorder, FlatMenuFramesAndShadowsThePopupWindow)
{
    TForm form(nullptr);
    auto* menu = new TPopupMenu(&form);
    auto* item = new TMenuItem(menu);
    item->Caption = "Open";
    menu->Items().Add(item);
    auto* left = new TPopupMenu(&form);
    left->Tag = 999;
    auto* other = new TMenuItem(left);
    other->Caption = "Other";
    left->Items().Add(other);
    auto* look = new TXPLook(&form);
    look->SetActive(true);
    look->UpdateColors();
    EXPECT_FALSE(left->OnPaintWindow);

    QImage plain = Render(menu->BuildMenu());
    const int w = plain.width(), h = plain.height();
    ASSERT_GT(w, 10);
    ASSERT_GT(h, 10);
    EXPECT_NE(PixelOf(plain, w - 1, h / 2), look->FFMenuShadowColor);  // FlatMenu is off

    look->FlatMenu = true;
    QMenu* window = menu->BuildMenu();
    QImage flat = Render(window);
    EXPECT_EQ(PixelOf(flat, 0, h / 2), look->FFMenuBorderColor);
    EXPECT_EQ(PixelOf(flat, w / 2, 0), look->FFMenuBorderColor);
    EXPECT_EQ(PixelOf(flat, w - 3, h / 2), look->FFMenuBorderColor);
    EXPECT_EQ(PixelOf(flat, 1, h / 2), look->FFIconBackColor);
    EXPECT_EQ(PixelOf(flat, w - 1, h / 2), look->FFMenuShadowColor);
    EXPECT_EQ(PixelOf(flat, w / 2, h - 1), look->FFMenuShadowColor);
    // The corners beside the shadow are see-through.
    const QRegion shape = window->mask();
    EXPECT_FALSE(shape.contains(QPoint(w - 1, 0)));
    EXPECT_FALSE(shape.contains(QPoint(0, h - 1)));
    EXPECT_TRUE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(w - 1, h - 1)));
    // The two rows under the top edge repeat the row below them, gutter and all.
    for (int x = 1; x < w - 2; ++x)
        for (int y : {1, 2})
            ASSERT_EQ(PixelOf(flat, x, y), PixelOf(flat, x, 3)) << x << "," << y;
    EXPECT_EQ(PixelOf(flat, 1, 1), look->FFIconBackColor);

    look->SetActive(false);
    EXPECT_FALSE(menu->OnPaintWindow);
}

}  // namespace
