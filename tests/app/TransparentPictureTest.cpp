#include "AppFixture.h"
#include "DoubFeatUnit.h"

#include <QImage>
#include <QPainter>

#include <functional>

namespace {

// A 32 x 32 icon: its left half transparent, its right half opaque blue.
String HalfTransparentIcon(const TempDir& dir)
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter(&icon).fillRect(16, 0, 16, 32, Qt::blue);
    String file = dir.File("half.ico");
    EXPECT_TRUE(icon.save(QString::fromStdString(file), "ICO"));
    return file;
}

TColor At(const TBitmap& bitmap, int x, int y)
{
    const QRgb c = bitmap.ToImage().pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

class TransparentPicture : public AppFixture {};

}  // namespace

// The main window shows a picture on white; every copy made from it starts there too.
TEST_F(TransparentPicture, TransparentPartsArePrintedPreviewedAndWorkedOnAsTheWindowShowsThem)
{
    // 4 inches at 600 pixels per inch: each icon pixel is 75 page pixels, from (300, 300).
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.0f, 4.0f)});
    const String icon = HalfTransparentIcon(dir);
    OpenBatch({icon});
    // Each way in: what it makes of icon pixel (x, y).
    const std::vector<std::pair<const char*, std::function<TColor(int, int)>>> ways = {
        {"print on the raster target",
         [&](int x, int y) {
             DVDForm->ToolButton5->Click();
             return raster->PagePixel(static_cast<int>(raster->Pages().size()) - 1, 300 + 75 * x + 37,
                                      300 + 75 * y + 37);
         }},
        {"preview",
         [&](int x, int y) {
             DVDForm->ToolButton12->Click();
             return At(*PreviewForm->FirstBitmap, x, y);
         }},
        {"flip",
         [&](int x, int y) {
             DVDForm->LoadPicture(icon);
             DVDForm->FlipImageVertical1->Click();
             return At(DVDForm->CDImage->Picture().Bitmap(), x, 31 - y);
         }},
        {"double-feature composer",
         [&](int x, int y) {
             TDoubFeatForm composer(nullptr);
             composer.FilenameEdit1->SetFileName(icon);
             return At(*composer.TopBitmap, x, y);
         }},
    };
    for (const auto& [way, pixel] : ways) {
        EXPECT_EQ(pixel(4, 20), clWhite) << way;
        EXPECT_EQ(pixel(24, 20), clBlue) << way;
    }
    EXPECT_TRUE(dialogs.Messages.empty());
}
