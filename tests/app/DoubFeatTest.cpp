#include "AppFixture.h"
#include "DoubFeatUnit.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

TColor PixelAt(const TBitmap& b, int x, int y)
{
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

class DoubleFeature : public AppFixture {
protected:
    // Every pixel its own colour: red from the column, green from the row, a fixed blue.
    String Gradient(const String& name, int w, int h, int blue)
    {
        TBitmap b(w, h, pf24bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = b.ScanLine(y) + 3 * x;
                p[0] = static_cast<uint8_t>(blue);
                p[1] = static_cast<uint8_t>(y * 4);
                p[2] = static_cast<uint8_t>(x * 6);
            }
        String file = dir.File(name);
        b.SaveToFile(file);
        return file;
    }

    std::unique_ptr<TDoubFeatForm> Composer(const String& top, const String& bottom, int style)
    {
        auto form = std::make_unique<TDoubFeatForm>(nullptr);
        form->FilenameEdit1->SetFileName(top);
        form->FilenameEdit2->SetFileName(bottom);
        form->Prin->SetItemIndex(style);
        return form;
    }
};

}  // namespace

TEST_F(DoubleFeature, HalfStylesTakeTheirHalvesOfBothCovers)
{
    String top = Gradient("top.bmp", 40, 60, 10), bottom = Gradient("bottom.bmp", 40, 60, 200);
    auto form = Composer(top, bottom, 1);
    form->Button2Click(nullptr);
    const TBitmap& r = *form->ResultBitmap;
    ASSERT_EQ(r.Width(), 40);
    ASSERT_EQ(r.Height(), 60);
    for (int y : {0, 29})
        EXPECT_EQ(PixelAt(r, 7, y), PixelAt(*form->TopBitmap, 7, y)) << y;
    for (int y : {30, 59})
        EXPECT_EQ(PixelAt(r, 7, y), PixelAt(*form->BottomBitmap, 7, y - 30)) << y;

    form->Prin->SetItemIndex(2);
    form->Button2Click(nullptr);
    for (int y : {0, 29})
        EXPECT_EQ(PixelAt(r, 7, y), PixelAt(*form->TopBitmap, 7, y + 30)) << y;
    for (int y : {30, 59})
        EXPECT_EQ(PixelAt(r, 7, y), PixelAt(*form->BottomBitmap, 7, y)) << y;
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(DoubleFeature, HalfStylesFillTheLowerHalfWithABottomCoverOfAnotherSize)
{
    String top = Picture("top.bmp", clRed, 40, 60), bottom = Picture("bottom.bmp", clBlue, 20, 30);
    auto form = Composer(top, bottom, 1);
    form->Button2Click(nullptr);
    const TBitmap& r = *form->ResultBitmap;
    for (int y : {0, 29})
        EXPECT_EQ(PixelAt(r, 39, y), clRed) << y;
    for (int y : {30, 59})
        for (int x : {0, 39})
            EXPECT_EQ(PixelAt(r, x, y), clBlue) << x << "," << y;
}

TEST_F(DoubleFeature, DiagonalSplitTurnsTheBottomCover)
{
    String top = Gradient("top.bmp", 40, 60, 10), bottom = Gradient("bottom.bmp", 40, 60, 200);
    auto form = Composer(top, bottom, 3);
    TBitmap original;
    original.Assign(*form->BottomBitmap);
    form->Button2Click(nullptr);
    const TBitmap& r = *form->ResultBitmap;
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(PixelAt(r, x, 0), PixelAt(*form->TopBitmap, x, 0)) << x;
    for (int x = 0; x < 39; ++x)
        EXPECT_EQ(PixelAt(r, x, 59), PixelAt(original, 39 - x, 0)) << x;
    EXPECT_EQ(PixelAt(r, 39, 59), PixelAt(*form->TopBitmap, 39, 59));
    // The turned cover is kept: a second press merges the unturned one.
    form->Button2Click(nullptr);
    EXPECT_EQ(PixelAt(r, 0, 59), PixelAt(original, 0, 59));
}

TEST_F(DoubleFeature, DiagonalSplitBringsASmallerBottomCoverToTheTopSize)
{
    String top = Picture("top.bmp", clRed, 40, 60), bottom = Picture("bottom.bmp", clBlue, 20, 30);
    auto form = Composer(top, bottom, 3);
    form->Button2Click(nullptr);
    ASSERT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(form->BottomBitmap->Width(), 40);
    EXPECT_EQ(form->BottomBitmap->Height(), 60);
    const TColor corner = PixelAt(*form->ResultBitmap, 0, 59);
    EXPECT_GT(GetBValue(corner), 200);
    EXPECT_LT(GetRValue(corner), 50);
    EXPECT_EQ(PixelAt(*form->ResultBitmap, 39, 0), clRed);
}

TEST_F(DoubleFeature, FullCoverStyleSmoothsBothCovers)
{
    String top = Picture("top.bmp", clRed, 40, 60), bottom = Picture("bottom.bmp", clBlue, 40, 60);
    auto form = Composer(top, bottom, 0);
    form->Button2Click(nullptr);
    const TColor upper = PixelAt(*form->ResultBitmap, 20, 10), lower = PixelAt(*form->ResultBitmap, 20, 50);
    EXPECT_GT(GetRValue(upper), 200);
    EXPECT_LT(GetBValue(upper), 50);
    EXPECT_GT(GetBValue(lower), 200);
    EXPECT_LT(GetRValue(lower), 50);
}

TEST_F(DoubleFeature, AMissingCoverIsNamedInEveryStyleAndNothingIsMade)
{
    const String top = Picture("top.bmp", clRed, 40, 60), bottom = Picture("bottom.bmp", clBlue, 40, 60);
    const struct {
        String top, bottom, message;
    } cases[] = {
        {"", bottom, "The top cover is missing: choose a picture for \"Top Cover\" first."},
        {top, "", "The bottom cover is missing: choose a picture for \"Bottom Cover\" first."},
        {"", "", "The top cover is missing: choose a picture for \"Top Cover\" first."},
    };
    for (const auto& c : cases)
        for (int style = 0; style < 4; ++style) {
            SCOPED_TRACE(c.message + " style " + IntToStr(style));
            auto form = Composer(c.top, c.bottom, style);
            form->Button2->Click();
            EXPECT_EQ(dialogs.Messages, std::vector<String>{c.message});
            EXPECT_TRUE(form->ResultBitmap->Empty());
            EXPECT_FALSE(form->PreviewImage);
            EXPECT_FALSE(form->Button1->Enabled());
            dialogs.Messages.clear();
        }
}

TEST_F(DoubleFeature, SaveWritesWhatTheNameSaysOrRefusesTheName)
{
    const String top = Picture("top.bmp", clRed, 40, 60), bottom = Picture("bottom.bmp", clBlue, 40, 60);
    // The file's first bytes; none when the name is refused.
    const std::pair<const char*, std::string> cases[] = {
        {"composed.jpg", "\xFF\xD8\xFF"}, {"composed.JPEG", "\xFF\xD8\xFF"}, {"composed.bmp", "BM"},
        {"composed.png", ""},             {"composed.ico", ""},              {"composed", ""}};
    for (const auto& [name, start] : cases) {
        SCOPED_TRACE(name);
        auto form = Composer(top, bottom, 1);
        form->Button2->Click();
        const String file = dir.File(name);
        dialogs.FileAnswers.push_back({file});
        form->Button1->Click();
        std::ifstream in(file, std::ios::binary);
        std::string head(start.size(), '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        EXPECT_EQ(in.is_open(), !start.empty());
        EXPECT_EQ(head, start);
        EXPECT_EQ(form->ModalResult(), start.empty() ? mrNone : mrOk);
        EXPECT_EQ(form->SavedFileName, start.empty() ? "" : file);
        EXPECT_EQ(dialogs.Messages, start.empty() ? std::vector<String>{"Cannot save \"" + String(name) +
                                                                        "\": the double-feature cover is saved as "
                                                                        "a bitmap (.bmp) or a JPEG picture (.jpg, "
                                                                        ".jpeg)."}
                                                  : std::vector<String>{});
        dialogs.Messages.clear();
    }
}

TEST_F(DoubleFeature, AFileThatIsNoPictureKeepsTheStoredCoverAndCreateNamesTheEdit)
{
    String top = Picture("top.bmp", clRed, 40, 60);
    std::ofstream(dir.File("notes.txt")) << "no picture";
    std::ofstream(dir.File("broken.bmp")) << "BM but no more";
    auto form = Composer(top, top, 1);
    for (const char* name : {"notes.txt", "broken.bmp"}) {
        form->FilenameEdit1->SetText(dir.File(name));
        EXPECT_TRUE(dialogs.Messages.empty()) << name;
        EXPECT_EQ(form->TopBitmap->Width(), 40);
        EXPECT_EQ(PixelAt(*form->TopBitmap, 1, 1), clRed);

        form->Button2->Click();
        ASSERT_EQ(dialogs.Messages.size(), 1u) << name;
        EXPECT_EQ(dialogs.Messages[0].rfind("Top Cover: \"" + dir.File(name) + "\" cannot be loaded.", 0), 0u)
            << dialogs.Messages[0];
        EXPECT_FALSE(form->Button1->Enabled());
        dialogs.Messages.clear();
    }
    form->FilenameEdit1->SetText(top);
    form->FilenameEdit2->SetText(dir.File("notes.txt"));
    form->Button2->Click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].rfind("Bottom Cover: ", 0), 0u);
}

TEST_F(DoubleFeature, TypingAPathRaisesNothingAndLoadsTheFinishedName)
{
    String top = Picture("top.bmp", clRed, 40, 60);
    // A folder whose name ends like a picture is no picture either.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File("folder.bmp"))));
    TDoubFeatForm form(nullptr);
    auto* line = qobject_cast<QLineEdit*>(form.FilenameEdit1->Widget());
    ASSERT_NE(line, nullptr);
    auto type = [&](const String& text) {
        for (QChar ch : QString::fromStdString(text)) {
            QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
            QApplication::sendEvent(line, &press);
        }
    };
    type(dir.File("folder.bmp"));
    EXPECT_EQ(form.FilenameEdit1->FileName(), dir.File("folder.bmp"));
    EXPECT_TRUE(form.TopBitmap->Empty());
    line->clear();
    type(top);
    EXPECT_TRUE(dialogs.Messages.empty());
    // Every key reached the edit: no message box took one.
    EXPECT_EQ(line->text().toStdString(), top);
    EXPECT_EQ(form.TopBitmap->Width(), 40);
    EXPECT_EQ(PixelAt(*form.TopBitmap, 1, 1), clRed);
}

TEST_F(DoubleFeature, CreatePreviewsAndEnablesSaveWhoseCancelKeepsTheComposerOpen)
{
    String top = Picture("top.bmp", clRed, 40, 60), bottom = Picture("bottom.bmp", clBlue, 40, 60);
    auto form = Composer(top, bottom, 1);
    EXPECT_FALSE(form->Button1->Enabled());
    form->Button2->Click();
    EXPECT_TRUE(form->Button1->Enabled());
    ASSERT_TRUE(form->PreviewImage);
    const TBitmap& preview = *form->PreviewImage;
    EXPECT_EQ(PixelAt(preview, 331, 205), clBlack);  // the shadow
    EXPECT_EQ(PixelAt(preview, 100, 20), clRed);
    EXPECT_EQ(PixelAt(preview, 100, 180), clBlue);

    form->Button1->Click();  // the save dialog is cancelled
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_EQ(form->SavedFileName, "");
    EXPECT_EQ(form->PreviewImage.get(), &preview);
}

TEST_F(DoubleFeature, SavedCoverJoinsTheBatchAndIsShown)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    String a = Picture("a.bmp", clLime), b = Picture("b.bmp", clYellow);
    OpenBatch({a, b});
    DVDForm->NextImage->Click();
    String top = Picture("top.bmp", clRed, 40, 60), bottom = Picture("bottom.bmp", clBlue, 40, 60);
    const String saved = dir.File("double.jpg");
    dialogs.OnShowModal = [&](TForm& f) {
        auto& composer = dynamic_cast<TDoubFeatForm&>(f);
        composer.FilenameEdit1->SetFileName(top);
        composer.FilenameEdit2->SetFileName(bottom);
        composer.Prin->SetItemIndex(1);
        composer.Button2->Click();
        dialogs.FileAnswers.push_back({saved});
        composer.Button1->Click();
        return composer.ModalResult();
    };
    DVDForm->CreateADoubleFeatureDVDCover1->Click();
    ASSERT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(DVDForm->CurrentFile, saved);
    ASSERT_EQ(DVDForm->OpenPictureDialog->Files.Count(), 3);
    EXPECT_EQ(DVDForm->OpenPictureDialog->Files[2], saved);
    EXPECT_EQ(DVDForm->LastIndex, 2);
    EXPECT_EQ(DVDForm->CurrentIndex, 1);
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images 1 of 3");
    EXPECT_EQ(DVDForm->CDImage->Picture().Width(), 40);

    // Every file of the batch prints, the composed one too.
    DVDForm->ToolButton5->Click();
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(raster->Jobs(), 3);
    EXPECT_EQ(raster->Pages().size(), 3u);
}

TEST_F(DoubleFeature, CancelledComposerLeavesTheBatchAlone)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    String a = Picture("a.bmp", clLime);
    OpenBatch({a});
    dialogs.OnShowModal = [](TForm& f) {
        EXPECT_EQ(f.Caption(), "Create Double Feature Cover");
        return mrCancel;
    };
    DVDForm->CreateADoubleFeatureDVDCover1->Click();
    EXPECT_EQ(dialogs.ModalForms.size(), 1u);
    EXPECT_EQ(DVDForm->CurrentFile, a);
    EXPECT_EQ(DVDForm->OpenPictureDialog->Files.Count(), 1);
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images 1 of 1");
}
