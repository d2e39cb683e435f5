#include "Dialogs.h"
#include "Printers.h"
#include "TempDir.h"
#include "WhenModal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

class PrinterSetup : public ::testing::Test {
protected:
    TempDir dir;
    TSystemPrintTarget* system = nullptr;

    void SetUp() override
    {
        auto target = std::make_unique<TSystemPrintTarget>();
        target->PrintToPdfIn(dir.Path() + "auto");
        system = target.get();
        Printer()->SetTarget(std::move(target));
    }
    void TearDown() override { Printer()->SetTarget(std::make_unique<TSystemPrintTarget>()); }

    // Runs the real setup dialog; `answer` acts on it once it is up and closes it.
    bool RunSetup(const std::function<void(QPrintDialog&)>& answer)
    {
        bool answered = false;
        WhenModal<QPrintDialog>([&](QPrintDialog& dialog) {
            answered = true;
            answer(dialog);
        });
        // The test program answers every dialog from a script; this one is the real dialog.
        TDialogService real;
        bool accepted = real.PrinterSetup();
        EXPECT_TRUE(answered);
        return accepted;
    }

    static void ChooseFile(QPrintDialog& dialog, const String& file)
    {
        auto* printers = dialog.findChild<QComboBox*>("printers");
        auto* name = dialog.findChild<QLineEdit*>("filename");
        ASSERT_TRUE(printers && name);
        // The last entry is the PDF file writer.
        printers->setCurrentIndex(printers->count() - 1);
        name->setText(QString::fromStdString(file));
    }

    static QPushButton* Accept(QPrintDialog& dialog)
    {
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        return buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
    }

    static void Job()
    {
        Printer()->BeginDoc();
        Printer()->Canvas().TextOut(100, 100, "page");
        Printer()->EndDoc();
    }

    static bool Exists(const String& file) { return QFile::exists(QString::fromStdString(file)); }
};

TEST_F(PrinterSetup, AcceptButtonReadsOkAndCancelKeepsTheOldChoice)
{
    String text;
    bool accepted = RunSetup([&](QPrintDialog& dialog) {
        ChooseFile(dialog, dir.File("never.pdf"));
        if (QPushButton* ok = Accept(dialog))
            text = ok->text().toStdString();
        dialog.reject();
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(text, "OK");
    EXPECT_EQ(system->ChosenFile(), "");
    Job();
    EXPECT_EQ(Printer()->OutputFile().rfind(dir.Path() + "auto/Cover ", 0), 0u) << Printer()->OutputFile();
    EXPECT_FALSE(Exists(dir.File("never.pdf")));
}

TEST_F(PrinterSetup, TheChosenFileTakesTheJobsThatFollowAndABatchNumbersThem)
{
    const String chosen = dir.File("Chosen.pdf");
    ASSERT_TRUE(RunSetup([&](QPrintDialog& dialog) {
        ChooseFile(dialog, chosen);
        if (QPushButton* ok = Accept(dialog))
            ok->click();
    }));
    EXPECT_EQ(system->ChosenFile(), chosen);
    for (int i = 0; i < 2; ++i) {
        QFile::remove(QString::fromStdString(chosen));
        Job();
        EXPECT_EQ(Printer()->OutputFile(), chosen);
        EXPECT_TRUE(Exists(chosen));
    }

    Printer()->BeginBatch(2);
    Job();
    EXPECT_EQ(Printer()->OutputFile(), dir.File("Chosen 1.pdf"));
    Job();
    EXPECT_EQ(Printer()->OutputFile(), dir.File("Chosen 2.pdf"));
    Printer()->EndBatch();
    EXPECT_TRUE(Exists(dir.File("Chosen 1.pdf")));
    EXPECT_TRUE(Exists(dir.File("Chosen 2.pdf")));

    // Offered again, the dialog shows the file chosen, not a generated one.
    String offered;
    RunSetup([&](QPrintDialog& dialog) {
        if (auto* name = dialog.findChild<QLineEdit*>("filename"))
            offered = name->text().toStdString();
        dialog.reject();
    });
    EXPECT_EQ(offered, chosen);
}

TEST_F(PrinterSetup, AJobWhoseFileCannotBeWrittenIsNoSuccess)
{
    system->Device().setOutputFileName(QString::fromStdString(dir.File("missing/folder/x.pdf")));
    system->TakeSetup();
    Printer()->BeginDoc();
    Printer()->Canvas().TextOut(100, 100, "page");
    EXPECT_THROW(Printer()->EndDoc(), EFCreateError);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_EQ(Printer()->OutputFile(), "");
}

}  // namespace
