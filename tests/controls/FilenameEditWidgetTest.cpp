// The file-name edit on a shown form: the browse button inside the frame, one dialog per click,
// the least height, dropped files, the dialog's filter and history settings and the file it
// opens on, and entering the edit by Tab.
#include "ToolEdit.h"

#include "PaintProbe.h"
#include "RealInput.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "WaitFor.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class FilenameEditWidget : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    TempDir dir;
    TForm form {nullptr};
    TFilenameEdit* edit = new TFilenameEdit(&form);

    void SetUp() override
    {
        form.SetBounds(100, 100, 300, 120);
        edit->SetParent(&form);
        edit->SetBounds(8, 8, 241, 21);
    }

    void DropFiles(const std::vector<String>& names)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const String& n : names)
            urls << QUrl::fromLocalFile(QString::fromStdString(n));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(edit->Widget(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(edit->Widget(), &drop);
    }
};

}  // namespace

TEST_F(FilenameEditWidget, TheBrowseButtonSitsInsideTheFrame)
{
    const int frame = edit->FrameWidth();
    ASSERT_GT(frame, 0);
    TCustomControl* holder = edit->ButtonHolder;
    EXPECT_EQ(holder->Left() + holder->Width(), edit->Width() - frame);
    EXPECT_EQ(holder->Top(), frame);
    EXPECT_EQ(holder->Height(), edit->InnerRect().Height());
    EXPECT_EQ(edit->Button->Height(), holder->Height());

    // The frame along the button looks as it does on a plain edit of the same size.
    TEdit plain(&form);
    plain.SetParent(&form);
    plain.SetBounds(8, 40, 241, 21);
    TBitmap withButton, without;
    edit->PaintTo(withButton);
    plain.PaintTo(without);
    for (int i = 0; i < frame; ++i) {
        const int right = edit->Width() - 1 - i, bottom = edit->Height() - 1 - i;
        EXPECT_EQ(At(withButton, right, 10), At(without, right, 10)) << i;
        EXPECT_EQ(At(withButton, 230, i), At(without, 230, i)) << i;
        EXPECT_EQ(At(withButton, 230, bottom), At(without, 230, bottom)) << i;
    }
    // ... and the button's face fills the client area's right end.
    EXPECT_NE(At(withButton, edit->Width() - frame - 10, 10), At(without, edit->Width() - frame - 10, 10));
}

TEST_F(FilenameEditWidget, ATooSmallHeightIsRaisedToTheLeast)
{
    const int least = edit->MinHeight();
    EXPECT_GT(least, 8);
    EXPECT_LE(least, 21);
    edit->SetHeight(8);
    EXPECT_EQ(edit->Height(), least);
    EXPECT_EQ(edit->ButtonHolder->Height(), edit->InnerRect().Height());
    edit->SetHeight(30);
    EXPECT_EQ(edit->Height(), 30);
}

TEST_F(FilenameEditWidget, OneClickOnTheButtonOpensOneDialog)
{
    ASSERT_TRUE(ShowActive(form));
    dialogs.FileAnswers.push_back({dir.File("first.bmp")});
    dialogs.FileAnswers.push_back({dir.File("second.bmp")});
    ClickOn(*edit->Button);
    EXPECT_EQ(dialogs.FileSetups.size(), 1u);
    EXPECT_EQ(edit->Text(), dir.File("first.bmp"));
    EXPECT_TRUE(edit->Focused());
}

TEST_F(FilenameEditWidget, DroppedFilesAreTakenOnlyWhenAccepted)
{
    int drops = 0;
    edit->OnDropFiles = [&](TObject*) { ++drops; };
    const std::vector<String> three {dir.File("a.bmp"), dir.File("b c.bmp"), dir.File("d.bmp")};
    DropFiles(three);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(drops, 0);

    edit->SetAcceptFiles(true);
    DropFiles(three);
    EXPECT_EQ(edit->FileName(), three[0]);
    EXPECT_EQ(edit->Dialog().Files.Count(), 0);
    EXPECT_EQ(drops, 1);

    edit->SetDialogOptions(ofHideReadOnly | ofAllowMultiSelect);
    DropFiles({three[1], three[2]});
    EXPECT_EQ(edit->Text(), "\"" + three[1] + "\"");
    ASSERT_EQ(edit->Dialog().Files.Count(), 2);
    EXPECT_EQ(edit->Dialog().Files[1], three[2]);
    EXPECT_EQ(drops, 2);
}

TEST_F(FilenameEditWidget, FilterIndexAndHistoryReachTheDialogAndSurviveAKindChange)
{
    edit->SetFilter("Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*");
    edit->SetFilterIndex(2);
    edit->HistoryList().Add(dir.File("old.bmp"));
    edit->SetFileEditStyle(fsComboBox);
    edit->SetDialogKind(dkOpenPicture);
    EXPECT_EQ(edit->FilterIndex(), 2);
    EXPECT_EQ(edit->FileEditStyle(), fsComboBox);
    ASSERT_EQ(edit->HistoryList().Count(), 1);

    dialogs.ChosenFilterIndex = 1;
    dialogs.FileAnswers.push_back({dir.File("new.bmp")});
    edit->Button->Click();
    ASSERT_EQ(dialogs.FileSetups.size(), 1u);
    const TFileDialogSetup& shown = dialogs.FileSetups[0];
    EXPECT_EQ(shown.FilterIndex, 2);
    EXPECT_EQ(shown.EditStyle, fsComboBox);
    EXPECT_EQ(shown.History, std::vector<String> {dir.File("old.bmp")});
    EXPECT_EQ(edit->FilterIndex(), 1);  // the user's choice is kept for next time
}

TEST_F(FilenameEditWidget, TheBrowseDialogOpensWithTheEditsFileSelected)
{
    // The real dialog, answered from here.
    struct RealDialogs {
        TDialogService* scripted = &Dialogs();
        RealDialogs() { SetDialogService(nullptr); }
        ~RealDialogs() { SetDialogService(scripted); }
    } real;
    const String cover = dir.File("cover.bmp"), blank = dir.File("my cover.bmp");
    for (const String& name : {cover, blank})
        TBitmap(4, 4, pf24bit).SaveToFile(name);
    const std::pair<String, String> cases[] = {  // the edit's text, and the file the dialog shows chosen
        {cover, cover},                              // an existing file
        {"\"" + blank + "\"", blank},                // a name with a blank, as the edit shows it
        {dir.File("new.bmp"), dir.File("new.bmp")},  // a name still to be made
    };
    ASSERT_TRUE(ShowActive(form));
    for (const auto& [text, chosen] : cases) {
        edit->SetText(text);
        QStringList selected;
        QString folder;
        QTimer::singleShot(0, [&] {
            QFileDialog* dialog = nullptr;
            WaitUntil([&] { return (dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())); }, 5000);
            if (!dialog)
                return;
            selected = dialog->selectedFiles();
            folder = dialog->directory().absolutePath();
            dialog->reject();
        });
        ClickOn(*edit->Button);
        EXPECT_EQ(selected.join("|").toStdString(), chosen) << text;
        EXPECT_EQ(folder.toStdString() + "/", dir.Path()) << text;
        EXPECT_EQ(edit->Text(), text);  // cancelled: the text stays
    }
}

// Entered by Tab, the edit's text is selected only while typing into it is allowed; its text
// cursor is one pixel wide, two with a bold font.
TEST_F(FilenameEditWidget, TabSelectsTheTextOnlyWithDirectInput)
{
    auto* before = new TEdit(&form);
    before->SetParent(&form);
    before->SetBounds(8, 40, 100, 21);
    edit->SetText("cover.jpg");
    ASSERT_TRUE(ShowActive(form));
    const struct {
        bool directInput, autoSelect, bold;
        String selected;
        int caret;
    } rows[] = {{true, true, false, "cover.jpg", 1}, {false, true, true, "", 2}, {true, false, false, "", 1}};
    for (const auto& row : rows) {
        edit->SetDirectInput(row.directInput);
        edit->AutoSelect = row.autoSelect;
        edit->Font.SetStyle(row.bold ? fsBold : 0);
        before->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return before->Focused(); }));
        QTest::keyClick(before->Widget(), Qt::Key_Tab);
        ASSERT_TRUE(WaitUntil([&] { return edit->Focused(); }));
        EXPECT_EQ(edit->SelText(), row.selected) << row.directInput << row.autoSelect;
        EXPECT_EQ(edit->CaretWidth(), row.caret) << row.bold;
    }
}
