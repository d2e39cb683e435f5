#include "AppFixture.h"

class Effects : public AppFixture {
protected:
    // A 3 x 2 picture with a distinct top-left pixel.
    String Marked()
    {
        TBitmap b(3, 2, pf24bit);
        b.Canvas().Brush.Color = clWhite;
        b.Canvas().FillRect({0, 0, 3, 2});
        b.Canvas().SetPixel(0, 0, clRed);
        b.Canvas().Release();
        String file = dir.File("marked.bmp");
        b.SaveToFile(file);
        return file;
    }
    TBitmap& Shown() { return DVDForm->CDImage->Picture().Bitmap(); }
    TColor At(int x, int y) { return Shown().Canvas().Pixel(x, y); }
};

TEST_F(Effects, RotateTurnsCounterClockwiseAndCancelKeepsThePicture)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Marked()});
    dialogs.InputAnswers.push_back(String("90"));
    DVDForm->RotateImage1->Click();
    ASSERT_EQ(Shown().Width(), 2);
    ASSERT_EQ(Shown().Height(), 3);
    EXPECT_EQ(At(0, 2), clRed);
    EXPECT_EQ(dialogs.InputPrompts.back(), "Angle = 0,90,180,270 ");
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");

    dialogs.InputAnswers.push_back(std::nullopt);  // cancel answers "0"
    DVDForm->RotateImage1->Click();
    EXPECT_EQ(Shown().Width(), 2);
    EXPECT_EQ(At(0, 2), clRed);
}

TEST_F(Effects, BadAnglesLeaveThePictureAndTheStatus)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Marked()});
    dialogs.InputAnswers.push_back(String("abc"));
    GuardedCall([] { DVDForm->RotateImage1->Click(); });
    dialogs.InputAnswers.push_back(String("45"));
    GuardedCall([] { DVDForm->RotateImage1->Click(); });
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[0], "'abc' is not a valid integer value");
    EXPECT_EQ(dialogs.Messages[1], "Rotate:  Angle not positive multiple of 90 degrees");
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Rotating Image");
    EXPECT_EQ(Shown().Width(), 3);
}

TEST_F(Effects, FlipTwiceRestoresAndNextImageShowsTheFileAgain)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    String file = Marked();
    OpenBatch({file});
    DVDForm->FlipImageVertical1->Click();
    EXPECT_EQ(At(0, 1), clRed);
    DVDForm->FlipImageVertical1->Click();
    EXPECT_EQ(At(0, 0), clRed);
    DVDForm->FlipImageHorizontal1->Click();
    EXPECT_EQ(At(2, 0), clRed);
    DVDForm->NextImage->Click();  // the file on disk was never written
    EXPECT_EQ(At(0, 0), clRed);
}

TEST_F(Effects, SharpenOfATinyPictureIsReportedNotFatal)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Picture("small.bmp", clRed, 2, 5)});
    GuardedCall([] { DVDForm->SharpenImage1->Click(); });
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].rfind("Bitmap must be at least 3x3", 0), 0u);
    OpenBatch({Picture("grey.bmp", 0x808080, 8, 8)});
    DVDForm->AntialiasImage1->Click();
    DVDForm->SharpenImage1->Click();
    EXPECT_EQ(At(4, 4), 0x808080);  // one colour stays that colour
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");
}

TEST_F(Effects, WithoutAPictureOnlyTheMessage)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    DVDForm->SetStatus("before");
    DVDForm->FlipImageVertical1->Click();
    DVDForm->AntialiasImage1->Click();
    EXPECT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[1], "You need to open an image file!");
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "before");
    EXPECT_TRUE(dialogs.InputPrompts.empty());
}
