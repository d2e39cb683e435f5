#include "AppFixture.h"

#include <QDir>
#include <QFile>
#include <QPrinter>

#include <sys/stat.h>

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
    OpenBatch({Picture("a.bmp", clRed), Picture("b.bmp", clLime), Picture("c.bmp", clBlue)});
    DVDForm->ToolButton5->Click();
    // Three jobs of one command: numbered, so none overwrites another.
    for (const char* file : {"Covers 1.pdf", "Covers 2.pdf", "Covers 3.pdf"})
        EXPECT_TRUE(Exists(dir.File(file))) << file;
    EXPECT_FALSE(Exists(dir.File("Covers.pdf")));
    String folder = dir.Path();
    folder.pop_back();
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Finished! Saved 3 files in " + folder);

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

TEST_F(PrintToFile, AFileThatCannotBeWrittenSaysWhyAndEndsTheStatus)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    OpenBatch({Picture("a.bmp", clRed)});
    std::ofstream(dir.File("plain")) << "a file, not a folder";
    std::ofstream(dir.File("locked.pdf")) << "kept";
    ::chmod(dir.File("locked.pdf").c_str(), 0444);
    const std::pair<String, String> cases[] = {{dir.File("missing/Cover.pdf"), "No such file or directory"},
                                               {dir.File("plain/Cover.pdf"), "Not a directory"},
                                               {dir.File("locked.pdf"), "Permission denied"}};
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(file);
        ChooseFile(file);
        GuardedCall([] { DVDForm->ToolButton5->Click(); });
        const String message = "Cannot create file \"" + file + "\". " + reason;
        EXPECT_EQ(dialogs.Messages, std::vector<String>{message});
        EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "Printing Failed! " + message);
        EXPECT_FALSE(Printer()->Printing());
        dialogs.Messages.clear();
    }
    std::ifstream locked(dir.File("locked.pdf"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(locked), {}), "kept");
    EXPECT_TRUE(QDir(QString::fromStdString(dir.Path())).entryList({"*.tmp-*"}).isEmpty());  // nothing half-written
}
