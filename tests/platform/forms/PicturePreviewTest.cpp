#include "Dialogs.h"
#include "MetafileBuilder.h"
#include "PicturePreview.h"
#include "TempDir.h"
#include "WaitFor.h"
#include "WhenModal.h"

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QItemSelectionModel>
#include <QListView>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

class PicturePreview : public ::testing::Test {
protected:
    TempDir dir;

    // 400 x 300: red on the left half, blue on the right.
    String Jpeg()
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::blue);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 200; ++x)
                image.setPixel(x, y, qRgb(255, 0, 0));
        String file = dir.File("halves.jpg");
        EXPECT_TRUE(image.save(QString::fromStdString(file), "JPG", 95));
        return file;
    }
    String Emf()
    {
        String file = dir.File("drawing.emf");
        std::vector<uint8_t> bytes = BuildEmf();
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file;
    }
    static bool Reddish(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
    static bool Bluish(QRgb c) { return qBlue(c) > 200 && qGreen(c) < 60 && qRed(c) < 60; }
};

TEST_F(PicturePreview, AJpegIsScaledIntoThePaneWithItsSize)
{
    TPicturePreviewPane pane;
    pane.ShowFile(Jpeg());
    ASSERT_TRUE(WaitUntil([&] { return !pane.Busy(); }));
    EXPECT_EQ(pane.Caption(), "(400 x 300)");
    ASSERT_EQ(pane.Shown().size(), QSize(200, 150));
    EXPECT_TRUE(Reddish(pane.Shown().pixel(50, 75)));
    EXPECT_TRUE(Bluish(pane.Shown().pixel(150, 75)));
}

TEST_F(PicturePreview, AMetafileSmallerThanThePaneKeepsItsSize)
{
    TPicturePreviewPane pane;
    pane.ShowFile(Emf());
    ASSERT_TRUE(WaitUntil([&] { return !pane.Busy(); }));
    EXPECT_EQ(pane.Caption(), "(100 x 50)");
    ASSERT_EQ(pane.Shown().size(), QSize(100, 50));
    EXPECT_TRUE(Reddish(pane.Shown().pixel(35, 25)));
}

TEST_F(PicturePreview, WhatIsNoPictureShowsNoneAndOnlyTheLastChoiceShows)
{
    std::ofstream(dir.File("notes.txt")) << "text";
    std::ofstream(dir.File("fake.jpg")) << "not a jpeg";
    TPicturePreviewPane pane;
    for (const char* name : {"notes.txt", "fake.jpg", "missing.bmp", ""}) {
        pane.ShowFile(dir.File(name));
        ASSERT_TRUE(WaitUntil([&] { return !pane.Busy(); }));
        EXPECT_EQ(pane.Caption(), "(None)") << name;
        EXPECT_TRUE(pane.Shown().isNull());
    }
    // A quick change of selection: the older result arrives late and is dropped.
    pane.ShowFile(Jpeg());
    pane.ShowFile(Emf());
    ASSERT_TRUE(WaitUntil([&] { return !pane.Busy(); }));
    EXPECT_EQ(pane.Caption(), "(100 x 50)");
}

TEST_F(PicturePreview, ThePaneGoesWhileItsFileIsStillDecoding)
{
    auto pane = std::make_unique<TPicturePreviewPane>();
    pane->ShowFile(Jpeg());
    pane.reset();
    // The worker's result must find no pane to post to; nothing may touch the freed one.
    TPicturePreviewPane other;
    other.ShowFile(Emf());
    ASSERT_TRUE(WaitUntil([&] { return !other.Busy(); }));
    EXPECT_EQ(other.Caption(), "(100 x 50)");
}

TEST_F(PicturePreview, TheRealOpenPictureDialogShowsTheSelectedFile)
{
    const String emf = Emf();
    String caption;
    bool answered = false;
    WhenModal<QFileDialog>([&](QFileDialog& dialog) {
        answered = true;
        TPicturePreviewPane* pane = nullptr;
        for (QWidget* w : dialog.findChildren<QWidget*>())
            if (auto* p = dynamic_cast<TPicturePreviewPane*>(w))
                pane = p;
        auto* list = dialog.findChild<QListView*>("listView");
        if (pane && list) {
            // The list fills in the background; then the file is chosen as a click would.
            dialog.selectFile(QString::fromStdString(emf));
            WaitUntil([&] { return list->selectionModel()->hasSelection(); });
            list->setCurrentIndex(list->selectionModel()->selectedIndexes().value(0));
            WaitUntil([&] { return pane->Caption() == "(100 x 50)"; });
            caption = pane->Caption();
        }
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    TDialogService real;
    std::vector<String> files;
    TFileDialogSetup setup;
    EXPECT_TRUE(real.OpenPictureFiles("Open", TPicture::GraphicFilter(), ".jpg", true, dir.Path(), files, setup));
    EXPECT_TRUE(answered);
    EXPECT_EQ(caption, "(100 x 50)");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], emf);
}

}  // namespace
