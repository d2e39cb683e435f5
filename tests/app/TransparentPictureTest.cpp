#include "AppFixture.h"

#include <QImage>
#include <QPainter>

#include <functional>

namespace {
class TransparentPicture : public AppFixture {};
}  // namespace

// The main window shows a picture on white; print, preview and the effects start there too.
TEST_F(TransparentPicture, TransparentPartsArePrintedPreviewedAndWorkedOnAsTheWindowShowsThem)
{
    // 4 inches at 600 pixels per inch: each pixel of the 32 x 32 icon is 75 page pixels, from (300, 300).
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.0f, 4.0f)});
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter(&icon).fillRect(16, 0, 16, 32, Qt::blue);
    ASSERT_TRUE(icon.save(QString::fromStdString(dir.File("half.ico")), "ICO"));
    OpenBatch({dir.File("half.ico")});
    // Each way in, and what it made of icon pixel (x, y).
    const std::vector<std::pair<const char*, std::function<TColor(int, int)>>> ways = {
        {"print", [&](int x, int y) { return raster->PagePixel(0, 337 + 75 * x, 337 + 75 * y); }},
        {"preview", [&](int x, int y) { return PreviewForm->FirstBitmap->Canvas().Pixel(x, y); }},
        {"flip", [&](int x, int y) { return DVDForm->CDImage->Picture().Bitmap().Canvas().Pixel(x, 31 - y); }},
    };
    DVDForm->ToolButton5->Click();
    DVDForm->ToolButton12->Click();
    DVDForm->FlipImageVertical1->Click();
    for (const auto& [way, pixel] : ways) {
        EXPECT_EQ(pixel(4, 20), clWhite) << way;
        EXPECT_EQ(pixel(24, 20), clBlue) << way;
    }
    EXPECT_TRUE(dialogs.Messages.empty());
}
