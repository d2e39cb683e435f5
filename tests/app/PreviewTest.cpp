#include "AppFixture.h"

#include <QImage>

class Preview : public AppFixture {
protected:
    TBitmap page;
    // Runs the preview command; the scripted modal run renders the paint box as shown.
    void Show()
    {
        dialogs.OnShowModal = [this](TForm&) {
            PreviewForm->PreviewBox->PaintTo(page);
            return mrOk;
        };
        DVDForm->ToolButton12->Click();
    }
    TColor Px(int x, int y) { return page.Canvas().Pixel(x, y); }
};

TEST_F(Preview, GridEveryInchAndTheLayoutWithItsCutLines)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Picture("a.bmp", clRed)});
    Show();
    ASSERT_EQ(page.Width(), 891);
    ASSERT_EQ(page.Height(), 630);
    // Picture in (37, 37)-(388, 592).
    EXPECT_EQ(Px(38, 38), clRed);
    EXPECT_EQ(Px(387, 591), clRed);
    EXPECT_NE(Px(388, 300), clRed);
    EXPECT_NE(Px(300, 592), clRed);
    // Grid lines (dash-dot, silver) on multiples of 74 somewhere along their length.
    for (int x : {444, 592, 814}) {
        int grey = 0;
        for (int y = 30; y < 620; ++y)
            grey += Px(x, y) == 0xC0C0C0;
        EXPECT_GT(grey, 100) << "no grid line at x = " << x;
    }
    int none = 0;
    for (int y = 30; y < 620; ++y)
        none += Px(150, y) == 0xC0C0C0;
    EXPECT_EQ(none, 0);
    // Cut lines run from 27 to 398 across and 27 to 602 down, their ends left out.
    int black = 0;
    for (int x = 20; x < 410; ++x)
        black += Px(x, 592) == clBlack;
    EXPECT_GE(black, 200);
    EXPECT_NE(Px(398, 592), clBlack);
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");
}

TEST_F(Preview, StoredDistancesFarOffThePageStillPreview)
{
    // 29,000,000 inches once overflowed the preview's pixel positions; it is read as 100 inches,
    // so the picture lies beyond the paint box and only the grid shows.
    Start({MakeLayout("Far", 29000000.0f, 0.5f, 29000000.0f, 7.5f)});
    DVDForm->CoverList->GetCover(0)->Dual = 1;
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clBlue)});
    Show();
    EXPECT_EQ(DVDForm->CurrentCover->Left, 100.0f);
    int red = 0;
    for (int x = 0; x < page.Width(); x += 7)
        for (int y = 0; y < page.Height(); y += 7)
            red += Px(x, y) == clRed;
    EXPECT_EQ(red, 0);
}

TEST_F(Preview, TwoPerPageShowsFilesOneAndTwoAndLeavesTheFirstShown)
{
    Start({MakeLayout("Labels", 0.5f, 0.5f, 2.0f, 2.0f, 0, 1, 0.5f)});
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clLime), Picture("c.bmp", clBlue)});
    DVDForm->NextImage->Click();
    DVDForm->NextImage->Click();
    Show();
    EXPECT_EQ(Px(40, 40), clRed);
    EXPECT_EQ(Px(Trunc(74 * 3.0L) + 3, 40), clLime);
    EXPECT_EQ(DVDForm->CurrentFile, dir.File("a.bmp"));
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images 3 of 3");
}

TEST_F(Preview, PendingTrackListIsDrawnOnThePreviewAndKept)
{
    Start({MakeLayout("Back", 0.5f, 0.5f, 5.94f, 4.63f)});
    OpenBatch({Picture("a.bmp", clWhite, 400, 300)});
    DVDForm->TrackList->SetText("Artist\r\nTitle\r\n1    One\r\n2    Two");
    DVDForm->OverlayTrackList = true;
    Show();
    int dark = 0;
    for (int y = 40; y < 70; ++y)
        for (int x = 40; x < 200; ++x)
            dark += qGray(page.Canvas().Pixel(x, y)) < 100;
    EXPECT_GT(dark, 10);
    EXPECT_TRUE(DVDForm->OverlayTrackList);
}

TEST_F(Preview, NoPictureOnlyAnswersWithTheMessage)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    DVDForm->SetStatus("before");
    DVDForm->ToolButton12->Click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], "You need to open an image file!");
    EXPECT_TRUE(dialogs.ModalForms.empty());
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "before");
}

TEST_F(Preview, PrintFromThePreviewPrintsTheBatch)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 1.0f, 1.0f)}, 100, 100);
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clLime)});
    dialogs.OnShowModal = [](TForm&) {
        PreviewForm->ToolButton2->Click();
        PreviewForm->ToolButton4->Click();
        return PreviewForm->ModalResult();
    };
    DVDForm->ToolButton12->Click();
    EXPECT_EQ(raster->Jobs(), 2);
}
