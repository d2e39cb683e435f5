#include "PreviewUnit.h"
#include "PrintUnit.h"
#include "Program.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "helpUnit.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <link.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {
std::string Slurp(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program as if installed in a folder of the test's own, with the given layouts file.
struct Program {
    TempDir dir;
    ScriptedDialogs dialogs;
    explicit Program(const std::string* settings)
    {
        Application()->SetExeName(dir.File("ombrelle"));
        if (settings)
            std::ofstream(dir.File("Settings.ini"), std::ios::binary) << *settings;
    }
    ~Program()
    {
        FreeStartupForms();
        Application()->SetExeName("");
    }
    std::string Settings() const { return dir.File("Settings.ini"); }
};

// True when a shared object whose path holds part is loaded in this process.
bool ObjectLoaded(const char* part)
{
    struct Search {
        const char* part;
        bool found = false;
    } search{part};
    dl_iterate_phdr([](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_name && std::strstr(info->dlpi_name, s->part))
            s->found = true;
        return 0;
    }, &search);
    return search.found;
}

std::string Records(int n)
{
    std::string bytes;
    for (int i = 0; i < n; ++i) {
        TCoverRec r {};
        r.Left = 0.5f + i;
        r.Width = 4.75f;
        r.Height = 7.5f;
        r.SetName("Layout " + IntToStr(i));
        r.Style = i % 2;
        r.IconIndex = i;
        bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
    }
    return bytes;
}
}  // namespace

// Start-up and the main window's first paint leave to the first command that needs them the
// Internet client (libcurl, and TLS under it), the printing client and the image plug-ins.
TEST(MainWindow, StartUpAndFirstPaintLoadNoInternetOrPrintingClientNorImagePlugIn)
{
    const char* const parts[] = {"libcurl", "libcups", "/imageformats/"};
    for (const char* part : parts)
        if (ObjectLoaded(part))
            GTEST_SKIP() << part << " was loaded by an earlier test of this process";
    Program p(nullptr);
    CreateStartupForms();
    DVDForm->Widget()->grab();
    for (const char* part : parts)
        EXPECT_FALSE(ObjectLoaded(part)) << part;
}

TEST(MainWindow, StartsWithLayoutsButNoCurrentOneAndNoPicture)
{
    std::string three = Records(3);
    Program p(&three);
    CreateStartupForms();
    ASSERT_NE(DVDForm, nullptr);
    EXPECT_EQ(Application()->MainForm(), DVDForm);
    EXPECT_NE(PreviewForm, nullptr);
    EXPECT_NE(helpform, nullptr);
    EXPECT_EQ(DVDForm->SettingsFileName, p.Settings());
    EXPECT_EQ(DVDForm->CurrentFile, "No Image");
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");
    EXPECT_EQ(DVDForm->CurrentCover, nullptr);
    ASSERT_EQ(DVDForm->PrintStyle->Items().Count(), 3);
    EXPECT_EQ(DVDForm->PrintStyle->Items()[1], "<IMG src=\"idx:1\">Layout 1");
    EXPECT_EQ(DVDForm->PrintStyle->ItemIndex(), 0);
    EXPECT_EQ(DVDForm->ClientWidth(), 1081);
    EXPECT_EQ(DVDForm->ClientHeight(), 672);
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images Prev / Next");
    EXPECT_TRUE(p.dialogs.Messages.empty());
}

TEST(MainWindow, CommandTableCaptionsAndHints)
{
    Program p(nullptr);
    CreateStartupForms();
    TDVDForm& f = *DVDForm;
    EXPECT_EQ(f.ToolButton3->Caption(), "Open Image");
    EXPECT_EQ(f.ToolButton4->Hint(), "Remove / Trash This Cover");
    EXPECT_EQ(f.ToolButton13->Style(), tbsDropDown);
    EXPECT_EQ(f.ToolButton13->DropdownMenu(), f.VeskPopupMenu1);
    EXPECT_EQ(f.ToolButton7->Hint(), "Close Ombrelle");
    EXPECT_EQ(f.NextImage->Hint(), "Next Image");
    ASSERT_EQ(f.VeskPopupMenu1->Items().Count(), 10);
    EXPECT_EQ(f.VeskPopupMenu1->Items().Items(0)->Hint, "Special Features");
    EXPECT_EQ(f.OverlayCDDBTrackList1->ImageIndex, 9);
    EXPECT_EQ(f.CreateADoubleFeatureDVDCover1->Hint, "Mix Two Covers Together to Create a  Double Feature Cover");
    // Separators between the groups are 8 pixels wide, buttons 79 x 36.
    int separators = 0;
    for (int i = 0; i < f.ToolBar1->ControlCount(); ++i) {
        auto* b = dynamic_cast<TToolButton*>(f.ToolBar1->Controls(i));
        if (b->Style() == tbsSeparator) {
            EXPECT_EQ(b->Width(), 8);
            ++separators;
        } else {
            EXPECT_EQ(b->Width(), 79);
            EXPECT_EQ(b->Height(), 36);
        }
    }
    EXPECT_EQ(separators, 4);
    EXPECT_GE(f.ImageList2->Count(), 13);  // layout icons and every glyph the menu names
}

TEST(MainWindow, MissingSettingsFileStillFinishesStartUpAndIsCreatedAtExit)
{
    Program p(nullptr);
    CreateStartupForms();
    ASSERT_EQ(p.dialogs.Messages.size(), 1u);
    EXPECT_NE(p.dialogs.Messages[0].find("Cannot open file"), std::string::npos);
    EXPECT_EQ(DVDForm->CurrentFile, "No Image");
    EXPECT_NE(DVDForm->TrackList, nullptr);
    EXPECT_NE(DVDForm->XmlText, nullptr);
    EXPECT_EQ(DVDForm->PrintStyle->Items().Count(), 0);
    FreeStartupForms();
    EXPECT_TRUE(FileExists(p.Settings()));
    EXPECT_EQ(Slurp(p.Settings()).size(), 0u);
}

TEST(MainWindow, RemoveImageAndPrintSetupEndOnOk)
{
    std::string one = Records(1);
    Program p(&one);
    CreateStartupForms();
    DVDForm->CurrentFile = "/somewhere/cover.jpg";
    DVDForm->CDImage->Picture().Bitmap().SetSize(10, 10);
    DVDForm->SetStatus("busy");
    DVDForm->ToolButton4->Click();
    EXPECT_EQ(DVDForm->CurrentFile, "No Image");
    EXPECT_EQ(DVDForm->CDImage->Picture().Graphic(), nullptr);
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");

    p.dialogs.PrinterSetupAnswer = false;  // cancelled
    DVDForm->ToolButton9->Click();
    EXPECT_EQ(p.dialogs.PrinterSetupCalls, 1);
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");
}

TEST(MainWindow, HelpShowsTheHelpWindowModally)
{
    Program p(nullptr);
    CreateStartupForms();
    DVDForm->ToolButton6->Click();
    ASSERT_EQ(p.dialogs.ModalForms.size(), 1u);
    EXPECT_EQ(p.dialogs.ModalForms[0], helpform);
}

TEST(MainWindow, ChooserChangeMakesTheLayoutCurrentAndSetsThePictureWidth)
{
    std::string two = Records(2);  // style 0 then style 1
    Program p(&two);
    CreateStartupForms();
    DVDForm->PrintStyle->SetItemIndex(0);
    DVDForm->PrintstyleChange(DVDForm->PrintStyle);
    EXPECT_EQ(DVDForm->CurrentCover, DVDForm->CoverList->GetCover(0));
    EXPECT_EQ(DVDForm->CDImage->Width(), 480);
    DVDForm->PrintStyle->SetItemIndex(1);
    DVDForm->PrintstyleChange(DVDForm->PrintStyle);
    EXPECT_EQ(DVDForm->CDImage->Width(), 729);
    EXPECT_EQ(DVDForm->CDImage->Height(), 475);
}

TEST(Program, RunsOffscreenAndCloseRewritesTheSettingsEvenWithoutAPicture)
{
    std::string three = Records(3);
    Program p(&three);
    // Make the file differ from what the program writes, so the rewrite shows.
    std::string dirty = three;
    dirty[67] = 'x';
    std::ofstream(p.Settings(), std::ios::binary) << dirty;
    CreateStartupForms();
    QTimer::singleShot(0, [] { DVDForm->ToolButton7->Click(); });
    Application()->Run();
    FreeStartupForms();
    EXPECT_EQ(Slurp(p.Settings()), three);
}

namespace {
// Whether the opaque pixels of a picture stand somewhere in an image, exactly.
bool Contains(const QImage& haystack, const QImage& needle)
{
    QImage h = haystack.convertToFormat(QImage::Format_RGB32);
    QImage n = needle.convertToFormat(QImage::Format_ARGB32);
    for (int y0 = 0; y0 + n.height() <= h.height(); ++y0)
        for (int x0 = 0; x0 + n.width() <= h.width(); ++x0) {
            bool all = true;
            for (int y = 0; y < n.height() && all; ++y)
                for (int x = 0; x < n.width() && all; ++x) {
                    QRgb p = n.pixel(x, y);
                    if (qAlpha(p) == 255 && (h.pixel(x0 + x, y0 + y) & 0xFFFFFF) != (p & 0xFFFFFF))
                        all = false;
                }
            if (all)
                return true;
        }
    return false;
}
}  // namespace

TEST(MainWindow, ChooserDrawsTheLayoutsIconFromTheImageList)
{
    std::string layouts = Records(4);  // icons 0 to 3
    Program p(&layouts);
    CreateStartupForms();
    DVDForm->Show();
    DVDForm->PrintStyle->SetItemIndex(3);
    TBitmap shot;
    DVDForm->PrintStyle->PaintTo(shot);
    EXPECT_TRUE(Contains(shot.ToImage(), DVDForm->ImageList2->Image(3)));
    EXPECT_FALSE(Contains(shot.ToImage(), DVDForm->ImageList2->Image(1)));
}
