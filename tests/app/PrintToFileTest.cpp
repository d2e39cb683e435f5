#include "AppFixture.h"

#include <QFile>
#include <QPrinter>

class PrintToFile : public AppFixture {
protected:
    // PDF output to a file chosen as Print Setup leaves it on the printer.
    void ChooseFile(const String& file)
    {
        auto target = std::make_unique<TSystemPrintTarget>();
        target->PrintToPdfIn(dir.Path() + "auto");
        target->Device().setOutputFileName(QString::fromStdString(file));
        target->TakeSetup();
        Printer()->SetTarget(std::move(target));
    }
    bool Exists(const String& file) { return QFile::exists(QString::fromStdString(file)); }
};

TEST_F(PrintToFile, TheChosenFileTakesEachJobAndTheStatusSaysWhere)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    ChooseFile(dir.File("Covers.pdf"));
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clLime)});
    DVDForm->ToolButton5->Click();
    // Two jobs of one command: numbered, so the second does not overwrite the first.
    EXPECT_TRUE(Exists(dir.File("Covers 1.pdf")));
    EXPECT_TRUE(Exists(dir.File("Covers 2.pdf")));
    EXPECT_FALSE(Exists(dir.File("Covers.pdf")));
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished! Saved as " + dir.File("Covers 2.pdf"));

    OpenBatch({Picture("c.bmp", clBlue)});
    DVDForm->ToolButton5->Click();
    EXPECT_TRUE(Exists(dir.File("Covers.pdf")));
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished! Saved as " + dir.File("Covers.pdf"));
}

TEST_F(PrintToFile, APrinterJobEndsOnPrintingFinishedAlone)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Picture("a.bmp", clRed)});
    DVDForm->ToolButton5->Click();
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished!");
}
