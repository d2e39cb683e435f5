// The print commands through a running print scheduler: what reaches the queue, and what the user sees.
#include "CupsFixture.h"

#include "PreviewUnit.h"

class CupsPrinting : public CupsFixture {
protected:
    const TCoverRec cover = MakeLayout("DVD Cover", 0.5f, 0.5f, 4.75f, 7.5f);
};

TEST_F(CupsPrinting, OnePictureIsOneLandscapeJobWithTheLayoutsRectangleAndCutLines)
{
    StartPrinting({cover});
    const size_t before = QueueJobs("OmbrellePDF").size();
    OpenBatch({Picture("front cover.bmp", clYellow)});
    Command([&] { DVDForm->ToolButton5->Click(); });
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished!");
    EXPECT_TRUE(dialogs.Messages.empty());

    const QStringList pdfs = WaitForJobs("OmbrellePDF", before, 1);
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_EQ(QueueJobs("OmbrellePDF").back().Name, "Ombrelle - front cover.bmp");
    EXPECT_EQ(Info(pdfs[0], "Pages"), "1");
    const TSheet sheet = Sheet();
    EXPECT_EQ(sheet.Ppi, 1200);
    const TRect r = DeviceRect(cover, 1200);
    ExpectCutLines(pdfs[0], sheet, r);
    // The picture fills the rectangle; beside it the sheet is blank.
    const QImage page = Render(pdfs[0], 72);
    EXPECT_TRUE(ColourAt(page, sheet.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clYellow));
    EXPECT_TRUE(ColourAt(page, sheet.At(r.Right + 300, (r.Top + r.Bottom) / 2), clWhite));
}

TEST_F(CupsPrinting, ABatchOfThreeIsThreeJobsInOrder)
{
    StartPrinting({cover});
    const size_t before = QueueJobs("OmbrellePDF").size();
    OpenBatch({Picture("a.bmp", clYellow), Picture("b.bmp", clAqua), Picture("c.bmp", clLime)});
    Command([&] { DVDForm->ToolButton5->Click(); });

    const QStringList pdfs = WaitForJobs("OmbrellePDF", before, 3);
    ASSERT_EQ(pdfs.size(), 3);
    const std::vector<TQueuedJob> jobs = QueueJobs("OmbrellePDF");
    EXPECT_EQ(jobs[before].Name, "Ombrelle - a.bmp");
    EXPECT_EQ(jobs[before + 1].Name, "Ombrelle - b.bmp");
    EXPECT_EQ(jobs[before + 2].Name, "Ombrelle - c.bmp");
    const TSheet sheet = Sheet();
    const TRect r = DeviceRect(cover, int(sheet.Ppi));
    const QPointF middle = sheet.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_TRUE(ColourAt(Render(pdfs[0], 72), middle, clYellow));
    EXPECT_TRUE(ColourAt(Render(pdfs[1], 72), middle, clAqua));
    EXPECT_TRUE(ColourAt(Render(pdfs[2], 72), middle, clLime));
}

TEST_F(CupsPrinting, TwoPerPageIsOnePageWithBothPictures)
{
    const TCoverRec labels = MakeLayout("CD Labels", 0.5f, 1.0f, 4.5f, 4.5f, 0, 1, 0.5f);
    StartPrinting({labels});
    const size_t before = QueueJobs("OmbrellePDF").size();
    OpenBatch({Picture("one.bmp", clYellow), Picture("two.bmp", clAqua), Picture("three.bmp", clLime)});
    Command([&] { DVDForm->ToolButton5->Click(); });

    const QStringList pdfs = WaitForJobs("OmbrellePDF", before, 1);
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_EQ(QueueJobs("OmbrellePDF").back().Name, "Ombrelle - one.bmp, two.bmp");
    EXPECT_EQ(Info(pdfs[0], "Pages"), "1");
    const TSheet sheet = Sheet();
    const int ppi = int(sheet.Ppi);
    const TRect first = DeviceRect(labels, ppi);
    const TRect second = DeviceRect(labels, ppi, double(labels.Left) + labels.Width + labels.GapDist);
    ExpectCutLines(pdfs[0], sheet, first);
    ExpectCutLines(pdfs[0], sheet, second);
    const QImage page = Render(pdfs[0], 72);
    EXPECT_TRUE(ColourAt(page, sheet.At((first.Left + first.Right) / 2, (first.Top + first.Bottom) / 2), clYellow));
    EXPECT_TRUE(ColourAt(page, sheet.At((second.Left + second.Right) / 2, (second.Top + second.Bottom) / 2), clAqua));
}

TEST_F(CupsPrinting, TrackListIsPrintedOverThePicture)
{
    StartPrinting({MakeLayout("Back", 0.5f, 0.5f, 5.94f, 4.63f)});
    const size_t before = QueueJobs("OmbrellePDF").size();
    OpenBatch({Picture("back.bmp", clWhite)});
    DVDForm->TrackList->SetText("Artist\r\nTitle\r\n1    One\r\n2    Two");
    DVDForm->OverlayTrackList = true;
    Command([&] { DVDForm->ToolButton5->Click(); });

    const QStringList pdfs = WaitForJobs("OmbrellePDF", before, 1);
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_FALSE(DVDForm->OverlayTrackList);
    // The track lines stand inside the white picture, an inch and more from the page's left and top edges.
    const TSheet sheet = Sheet();
    const int ppi = int(sheet.Ppi);
    const QPointF from = sheet.At(ppi * 1.0, ppi * 1.2), to = sheet.At(ppi * 3.0, ppi * 2.2);
    const QImage page = Render(pdfs[0], 150);
    int ink = 0;
    for (int y = int(to.y() * 150 / 72); y < int(from.y() * 150 / 72); ++y)
        for (int x = int(from.x() * 150 / 72); x < int(to.x() * 150 / 72); ++x)
            ink += qGray(page.pixel(x, y)) < 128;
    EXPECT_GT(ink, 50);
}

TEST_F(CupsPrinting, ThePreviewsPrintSendsTheSameJob)
{
    StartPrinting({cover});
    const size_t before = QueueJobs("OmbrellePDF").size();
    OpenBatch({Picture("preview.bmp", clYellow)});
    Command([&] { PreviewForm->ToolButton2->Click(); });

    const QStringList pdfs = WaitForJobs("OmbrellePDF", before, 1);
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_EQ(QueueJobs("OmbrellePDF").back().Name, "Ombrelle - preview.bmp");
    const TSheet sheet = Sheet();
    ExpectCutLines(pdfs[0], sheet, DeviceRect(cover, int(sheet.Ppi)));
}

TEST_F(CupsPrinting, PrintSetupListsTheQueuesAndItsChoiceTakesTheNextJob)
{
    StartPrinting({cover});
    OpenBatch({Picture("other.bmp", clYellow)});
    QStringList listed;
    AnswerPrinterSetup("OmbrelleOther", true, &listed);
    Command([&] { DVDForm->ToolButton9->Click(); });
    EXPECT_TRUE(listed.contains("OmbrellePDF"));
    EXPECT_TRUE(listed.contains("OmbrelleOther"));
    EXPECT_TRUE(listed.contains("OmbrelleStopped"));

    const size_t before = QueueJobs("OmbrelleOther").size();
    const size_t beforeDefault = QueueJobs("OmbrellePDF").size();
    Command([&] { DVDForm->ToolButton5->Click(); });
    EXPECT_EQ(WaitForJobs("OmbrelleOther", before, 1).size(), 1);
    EXPECT_EQ(QueueJobs("OmbrellePDF").size(), beforeDefault);
}

TEST_F(CupsPrinting, CancellingPrintSetupChangesNothing)
{
    StartPrinting({cover});
    OpenBatch({Picture("stay.bmp", clYellow)});
    const QString printer = Device().printerName();
    const auto orientation = Device().pageLayout().orientation();
    AnswerPrinterSetup("OmbrelleOther", false);
    Command([&] { DVDForm->ToolButton9->Click(); });
    EXPECT_EQ(Device().printerName(), printer);
    EXPECT_EQ(Device().pageLayout().orientation(), orientation);

    const size_t before = QueueJobs("OmbrellePDF").size();
    Command([&] { DVDForm->ToolButton5->Click(); });
    EXPECT_EQ(WaitForJobs("OmbrellePDF", before, 1).size(), 1);
}

TEST_F(CupsPrinting, AStoppedQueueIsReportedAndGetsNoJob)
{
    StartPrinting({cover});
    OpenBatch({Picture("a.bmp", clYellow), Picture("b.bmp", clAqua)});
    AnswerPrinterSetup("OmbrelleStopped", true);
    Command([&] { DVDForm->ToolButton9->Click(); });
    ASSERT_EQ(Device().printerName(), "OmbrelleStopped");

    const size_t before = QueueJobs("OmbrelleStopped").size();
    Command([&] { DVDForm->ToolButton5->Click(); });
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("\"OmbrelleStopped\" is stopped"), std::string::npos) << dialogs.Messages[0];
    EXPECT_EQ(QueueJobs("OmbrelleStopped").size(), before);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_NE(DVDForm->StatusBar->SimpleText(), "Printing Finished!");
}

TEST_F(CupsPrinting, APrinterRemovedAfterPrintSetupIsReportedAndNothingPrints)
{
    StartPrinting({cover});
    OpenBatch({Picture("gone.bmp", clYellow)});
    ASSERT_EQ(QProcess::execute("lpadmin", {"-p", "OmbrelleGone", "-E", "-v", "socket://127.0.0.1:9"}), 0);
    AnswerPrinterSetup("OmbrelleGone", true);
    Command([&] { DVDForm->ToolButton9->Click(); });
    ASSERT_EQ(Device().printerName(), "OmbrelleGone");
    ASSERT_EQ(QProcess::execute("lpadmin", {"-x", "OmbrelleGone"}), 0);

    const size_t before = QueueJobs("OmbrellePDF").size();
    Command([&] { DVDForm->ToolButton5->Click(); });
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("\"OmbrelleGone\" is not installed"), std::string::npos) << dialogs.Messages[0];
    EXPECT_EQ(QueueJobs("OmbrellePDF").size(), before);
}
