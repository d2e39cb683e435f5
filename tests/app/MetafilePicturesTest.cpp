#include "AppFixture.h"
#include "Metafile.h"
#include "MetafileBuilder.h"

// Metafiles go through the batch, the print, the preview and the effects like any picture.
class MetafilePictures : public AppFixture {
protected:
    String Write(const String& name, const std::vector<uint8_t>& bytes)
    {
        String file = dir.File(name);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file;
    }
};

TEST_F(MetafilePictures, OpenPrintPreviewAndFlipAsAnyPicture)
{
    // One inch across and half an inch down at 100 pixels per inch: the picture's own size.
    Start({MakeLayout("Label", 0.5f, 0.5f, 1.0f, 0.5f)}, 100, 100);
    OpenBatch({Write("drawing.wmf", BuildWmf()), Write("drawing.emf", BuildEmf())});
    ASSERT_TRUE(dynamic_cast<TMetafile*>(DVDForm->CDImage->Picture().Graphic()));
    EXPECT_EQ(DVDForm->CDImage->Picture().Width(), 100);

    DVDForm->ToolButton5->Click();
    ASSERT_EQ(raster->Pages().size(), 2u);
    for (int page = 0; page < 2; ++page) {
        EXPECT_EQ(raster->PagePixel(page, 50 + 35, 50 + 25), clRed) << page;
        EXPECT_EQ(raster->PagePixel(page, 50 + 80, 50 + 25), clBlue) << page;
        EXPECT_EQ(raster->PagePixel(page, 50 + 92, 50 + 25), clWhite) << page;
    }

    TBitmap preview;
    dialogs.OnShowModal = [&](TForm&) {
        PreviewForm->PreviewBox->PaintTo(preview);
        return mrOk;
    };
    DVDForm->ToolButton12->Click();
    // 74 preview pixels per inch: the red rectangle lies about (44, 44)-(81, 66).
    EXPECT_EQ(preview.Canvas().Pixel(60, 55), clRed);

    // Mirrored end over end, the line's column stays and the rectangle's rows turn.
    DVDForm->FlipImageVertical1->Click();
    TBitmap& shown = DVDForm->CDImage->Picture().Bitmap();
    ASSERT_EQ(shown.Width(), 100);
    EXPECT_EQ(shown.Canvas().Pixel(35, 49 - 12), clRed);
    EXPECT_EQ(shown.Canvas().Pixel(80, 49 - 10), clBlue);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(MetafilePictures, ARefusedMetafileIsReportedAndTheNextButtonNamesIt)
{
    Start({MakeLayout("Label", 0.5f, 0.5f, 1.0f, 0.5f)}, 100, 100);
    const std::vector<uint8_t> emf = BuildEmf();
    String broken = Write("broken.emf", {emf.begin(), emf.begin() + 100});
    OpenBatch({Write("drawing.wmf", BuildWmf()), broken});
    DVDForm->NextImage->Click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], "Error Getting File :" + broken);
}
