#include "AppFixture.h"

#include <QImage>

class Printing : public AppFixture {
protected:
    TColor Px(int page, int x, int y) { return raster->PagePixel(page, x, y); }
};

TEST_F(Printing, RectangleAndCutLinesAtSixHundredPixelsPerInch)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Picture("a.bmp", clRed)});
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(raster->Jobs(), 1);
    ASSERT_EQ(raster->Pages().size(), 1u);
    EXPECT_EQ(raster->Pages()[0].width(), 6600);  // landscape
    // The picture fills (300, 300)-(3150, 4800).
    EXPECT_EQ(Px(0, 301, 301), clRed);
    EXPECT_EQ(Px(0, 3149, 4799), clRed);
    EXPECT_EQ(Px(0, 3151, 2000), clWhite);
    EXPECT_EQ(Px(0, 2000, 4801), clWhite);
    // Cut lines reach 10 pixels past each corner, their end pixels left out.
    EXPECT_EQ(Px(0, 290, 300), clBlack);
    EXPECT_EQ(Px(0, 289, 300), clWhite);
    EXPECT_EQ(Px(0, 3159, 4800), clBlack);
    EXPECT_EQ(Px(0, 3160, 4800), clWhite);
    EXPECT_EQ(Px(0, 300, 290), clBlack);
    EXPECT_EQ(Px(0, 3150, 4809), clBlack);
    EXPECT_EQ(Px(0, 3150, 4810), clWhite);
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished!");
}

TEST_F(Printing, HeaderNamesTheResolutionAndCutsLongNames)
{
    TCoverRec cover = MakeLayout(std::string(60, 'N'), 0.5f, 0.5f, 4.75f, 7.5f);
    String header = CoverHeader(cover, 600, 300);
    EXPECT_EQ(header, std::string(50, 'N') + "      PPIY : 300      PPIX : 600");

    Start({cover}, 600, 300);
    OpenBatch({Picture("a.bmp", clRed)});
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(raster->Pages().size(), 1u);
    // Something is written on the header line, centred on the page.
    const QImage& page = raster->Pages()[0];
    int left = page.width(), right = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_LT(left, right);
    EXPECT_NEAR((left + right) / 2, page.width() / 2, 20);
}

TEST_F(Printing, AnAccentedFiftyCharacterNameKeepsTheWholeHeader)
{
    String name;
    for (int i = 0; i < 50; ++i)
        name += i % 2 ? "\xC3\xA9" : "\xC3\xBC";  // é and ü: two bytes each in UTF-8
    const TCoverRec cover = MakeLayout(name, 0.5f, 0.5f, 4.75f, 7.5f);
    ASSERT_EQ(cover.Name(), name);
    EXPECT_EQ(CoverHeader(cover, 600, 600), name + "      PPIY : 600      PPIX : 600");
    // Sixty characters are cut to 63 with the label, never inside a character.
    TCoverRec longer = cover;
    longer.SetName(name + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_EQ(CoverHeader(longer, 600, 600), name + "      PPIY : 600      PPIX : 600");
}

// Eight points is a cell of MulDiv(ppi, 8, 72) pixels; the header sits one cell from the top and
// the footer one cell above the bottom, so the cell must be exactly that at every resolution.
TEST_F(Printing, HeaderLineHeightIsTheEightPointCellAtEveryResolution)
{
    for (auto [ppi, cell] : {std::pair{300, 33}, {360, 40}, {600, 67}}) {
        Printer()->SetTarget(std::make_unique<TRasterPrintTarget>(ppi, ppi));
        Printer()->BeginDoc();
        TCanvas& c = Printer()->Canvas();
        c.Font.SetName("Arial");
        c.Font.SetHeight(MulDiv(ppi, 8, 72));
        EXPECT_EQ(c.TextHeight("X"), cell) << ppi;
        // What is drawn stays inside the cell it was measured with.
        c.Brush.Style = bsClear;
        c.TextOut(10, 10, "Xgj");
        Printer()->EndDoc();
        auto& pages = static_cast<TRasterPrintTarget&>(Printer()->Target()).Pages();
        int top = -1, bottom = -1;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 400; ++x)
                if (qGray(pages[0].pixel(x, y)) < 128) {
                    top = top < 0 ? y : top;
                    bottom = y;
                }
        EXPECT_GE(top, 10) << ppi;
        EXPECT_LT(bottom, 10 + cell) << ppi;
        EXPECT_GT(bottom - top, cell / 2) << ppi;
    }
}

TEST_F(Printing, EveryBatchFileIsItsOwnJob)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clLime), Picture("c.bmp", clBlue)});
    std::vector<String> statuses;
    DVDForm->StatusBar->SetSimpleText("");
    DVDForm->ToolButton5->Click();
    EXPECT_EQ(raster->Jobs(), 3);
    ASSERT_EQ(raster->Pages().size(), 3u);
    EXPECT_EQ(Px(0, 1000, 1000), clRed);
    EXPECT_EQ(Px(1, 1000, 1000), clLime);
    EXPECT_EQ(Px(2, 1000, 1000), clBlue);
    // The status names the batch as it stood; the picture area ends on the last file.
    EXPECT_EQ(DVDForm->CurrentFile, dir.File("c.bmp"));
    EXPECT_EQ(DVDForm->CurrentIndex, 0);
}

TEST_F(Printing, StatusOfEachJobNamesTheShownIndexAndTheLastIndex)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clLime), Picture("c.bmp", clBlue)});
    std::vector<String> seen;
    dialogs.OnShowModal = nullptr;
    // The status is written before each job begins; catch it when the job's page starts.
    struct Spy : TPrintTarget {
        TRasterPrintTarget inner{100, 100};
        std::vector<String>* seen;
        QPaintDevice* Begin(TPrinterOrientation o, const String& t) override
        {
            seen->push_back(DVDForm->StatusBar->SimpleText());
            return inner.Begin(o, t);
        }
        void NewPage() override { inner.NewPage(); }
        void End() override { inner.End(); }
        void Abort() override { inner.Abort(); }
        String Description() const override { return "spy"; }
    };
    auto spy = std::make_unique<Spy>();
    spy->seen = &seen;
    Printer()->SetTarget(std::move(spy));
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(seen.size(), 3u);
    for (const String& s : seen)
        EXPECT_EQ(s, "Printing Cover : 0 of 2");
}

TEST_F(Printing, TwoPerPagePrintsTheFirstTwoFilesOnly)
{
    // 1 inch wide pictures with a half inch gap at 100 pixels per inch.
    Start({MakeLayout("Labels", 0.5f, 0.5f, 1.0f, 1.0f, 0, 1, 0.5f)}, 100, 100);
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clLime), Picture("c.bmp", clBlue),
               Picture("d.bmp", clBlue), Picture("e.bmp", clBlue)});
    DVDForm->ToolButton5->Click();
    EXPECT_EQ(raster->Jobs(), 1);
    EXPECT_EQ(Px(0, 100, 100), clRed);   // first at 50..150
    EXPECT_EQ(Px(0, 210, 100), clLime);  // second at Trunc(100 x 2.0) = 200
    EXPECT_EQ(Px(0, 310, 100), clWhite);
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished!");
}

TEST_F(Printing, TwoPerPageWithOnePicturePrintsOne)
{
    Start({MakeLayout("Labels", 0.5f, 0.5f, 1.0f, 1.0f, 0, 1, 0.5f)}, 100, 100);
    OpenBatch({Picture("a.bmp", clRed)});
    DVDForm->ToolButton5->Click();
    EXPECT_EQ(raster->Jobs(), 1);
    EXPECT_EQ(Px(0, 100, 100), clRed);
    EXPECT_EQ(Px(0, 210, 100), clWhite);
}

TEST_F(Printing, NoPictureOrNoLayoutPrintsNothingAndSaysWhy)
{
    Start({});
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], "You need to open an image file!");

    DVDForm->CurrentFile = Picture("a.bmp", clRed);
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_NE(dialogs.Messages[1].find("Add Layout"), std::string::npos);
    EXPECT_EQ(raster->Jobs(), 0);
}

namespace {
// A picture that loads but cannot be drawn.
class Undrawable : public TBitmap {
public:
    void LoadFromStream(TStream&) override { SetSize(10, 10); }
    QImage ToImage() const override { throw EInvalidGraphic("cannot draw"); }
};
}  // namespace

TEST_F(Printing, AFailingJobIsAbortedAndTheNextOneRuns)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)}, 100, 100);
    TPicture::RegisterFileFormat("boom", "Broken", [] { return std::make_unique<Undrawable>(); });
    String broken = dir.File("x.boom");
    std::ofstream(broken) << "x";
    OpenBatch({broken});
    GuardedCall([] { DVDForm->ToolButton5->Click(); });
    TPicture::UnregisterFileFormat("boom");
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], "cannot draw");
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Failed! cannot draw");
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_EQ(raster->AbortedJobs(), 1);
    EXPECT_EQ(Screen()->Cursor(), crDefault);

    OpenBatch({Picture("b.bmp", clLime)});
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(raster->Pages().size(), 1u);
    EXPECT_EQ(Px(0, 100, 100), clLime);
}

TEST_F(Printing, ALayoutBeyondThePageIsPrintedAndTheUserToldWhy)
{
    const auto past = [](const char* name, double right, double bottom) {
        return Format("The layout \"%s\" runs past the printer's page: it reaches %.2f x %.2f inches on a page of "
                      "11.00 x 8.50 inches, and what lies beyond the page is not printed.", name, right, bottom);
    };
    const std::vector<std::pair<TCoverRec, String>> cases = {  // the raster page: 11 x 8.5 inches
        {MakeLayout("Fits", 0.5f, 0.5f, 4.75f, 7.5f), ""},
        {MakeLayout("Edge", 0.5f, 1.05f, 4.75f, 7.5f), ""},  // loses less than a tenth of an inch
        {MakeLayout("Huge", 0.5f, 0.5f, 100, 100), past("Huge", 100.5, 100.5)},
        {MakeLayout("Pair", 0.5f, 0.5f, 5, 7, 1, 1, 1), past("Pair", 11.5, 7.5)},  // the second picture
    };
    for (const auto& [layout, message] : cases) {
        SCOPED_TRACE(layout.Name());
        Start({layout}, 100, 100);
        OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clBlue)});
        DVDForm->ToolButton5->Click();
        EXPECT_EQ(raster->Jobs(), layout.Dual == 1 ? 1 : 2);
        EXPECT_EQ(dialogs.Messages, message.empty() ? std::vector<String>{} : std::vector<String>{message});
        EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished!");
        TearDown();
        dialogs.Messages.clear();
    }
}
