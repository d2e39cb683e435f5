#include "AppFixture.h"

#include <QImage>

class Overlay : public AppFixture {
protected:
    // The bounding box of dark pixels inside a rectangle of a page.
    static TRect Ink(const QImage& img, TRect within)
    {
        TRect box{within.Right, within.Bottom, within.Left, within.Top};
        for (int y = within.Top; y < within.Bottom; ++y)
            for (int x = within.Left; x < within.Right; ++x)
                if (qGray(img.pixel(x, y)) < 128) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
};

TEST_F(Overlay, PrintedOnOnePageAtItsPositions)
{
    Start({MakeLayout("Back", 0.5f, 0.5f, 5.94f, 4.63f)}, 300, 300);
    OpenBatch({Picture("a.bmp", clWhite), Picture("b.bmp", clWhite)});
    DVDForm->TrackList->SetText("Artist\r\nTitle\r\n1    One\r\n2    Two");
    DVDForm->OverlayTrackList = true;
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(raster->Pages().size(), 2u);
    EXPECT_FALSE(DVDForm->OverlayTrackList);
    const QImage& first = raster->Pages()[0];
    // PointsToPixels(14) at 300 is 58, so track line 2 starts at (330, 360 + 2 x 58).
    TRect track = Ink(first, {320, 470, 800, 530});
    EXPECT_GE(track.Left, 330);
    EXPECT_LE(track.Left, 340);
    EXPECT_GE(track.Top, 476);
    // The artist at (390, 210).
    TRect artist = Ink(first, {380, 200, 1200, 300});
    EXPECT_GE(artist.Left, 390);
    EXPECT_LE(artist.Left, 400);
    // The second page of the batch has no list.
    TRect none = Ink(raster->Pages()[1], {320, 200, 1200, 700});
    EXPECT_TRUE(none.IsEmpty());
}

TEST_F(Overlay, SpineTextsOnAPreviewBitmapRunAlongTheEdges)
{
    Start({MakeLayout("Back", 0.5f, 0.5f, 5.94f, 4.63f)});
    OpenBatch({Picture("a.bmp", clWhite)});
    DVDForm->TrackList->SetText("Artist");  // one line: the spine's second part is empty
    TBitmap b(1000, 700, pf24bit);
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect({0, 0, 1000, 700});
    DVDForm->AddTracklistToBitmap(b);
    QImage img = b.ToImage();
    // Rotated 90 degrees the text runs upward from (5, 685): ink left of x = 5 + cell height, above y = 685.
    TRect left = Ink(img, {0, 300, 40, 700});
    EXPECT_LE(left.Bottom, 686);
    EXPECT_GE(left.Left, 0);
    EXPECT_LT(left.Right, 20);
    // At 270 degrees it runs downward from (995, 15) on the right edge.
    TRect right = Ink(img, {960, 0, 1000, 400});
    EXPECT_GE(right.Top, 14);
    EXPECT_LE(right.Right, 996);
    EXPECT_GT(right.Left, 980);
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");
}

TEST_F(Overlay, PointsToPixelsRoundsToNearest)
{
    Start({MakeLayout("Back", 0.5f, 0.5f, 5.94f, 4.63f)}, 300, 300);
    Printer()->BeginDoc();
    EXPECT_EQ(DVDForm->PointsToPixels(14), 58);
    Printer()->Abort();
}
