// The composer's cover boxes as the user works them: one click on a browse button, one dialog.
#include "AppFixture.h"
#include "DoubFeatUnit.h"
#include "RealInput.h"
#include "WhenModal.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

TEST_F(AppFixture, ComposerBrowseButtonOpensOneDialogPerClickAndSitsInsideItsBox)
{
    const String top = Picture("top.bmp", clRed, 40, 60);
    const String bottom = Picture("bottom.bmp", clBlue, 40, 60);
    TDoubFeatForm composer(nullptr);
    ASSERT_TRUE(ShowActive(composer));

    dialogs.FileAnswers.push_back({top});
    dialogs.FileAnswers.push_back({bottom});
    ClickOn(*composer.FilenameEdit1->Button);
    ASSERT_EQ(dialogs.FileSetups.size(), 1u);
    EXPECT_EQ(composer.FilenameEdit1->FileName(), top);
    EXPECT_EQ(composer.TopBitmap->Height(), 60);
    ClickOn(*composer.FilenameEdit2->Button);
    EXPECT_EQ(dialogs.FileSetups.size(), 2u);
    EXPECT_EQ(composer.FilenameEdit2->FileName(), bottom);
    EXPECT_TRUE(dialogs.Messages.empty());

    for (TFilenameEdit* box : {composer.FilenameEdit1, composer.FilenameEdit2}) {
        const int frame = box->FrameWidth();
        const TCustomControl* holder = box->ButtonHolder;
        EXPECT_GE(holder->Left(), frame);
        EXPECT_EQ(holder->Top(), frame);
        EXPECT_EQ(holder->Left() + holder->Width(), box->Width() - frame);
        EXPECT_EQ(holder->Top() + holder->Height(), box->Height() - frame);
        EXPECT_GE(box->Height(), box->MinHeight());
    }
}

// The composer stays on top: every dialog it opens must belong to it, or the window manager puts
// the dialog beneath it, where a modal one blocks the program unseen. Each dialog is looked at
// while it is up, with the real dialogs.
TEST_F(AppFixture, ComposerDialogsAndMessageBoxesBelongToTheComposer)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    const String top = Picture("top.bmp", clRed, 40, 60);
    const String bottom = Picture("bottom.bmp", clBlue, 40, 60);
    DVDForm->Show();
    TDoubFeatForm composer(DVDForm);
    SetDialogService(nullptr);
    struct Scripted {
        ScriptedDialogs& dialogs;
        ~Scripted() { SetDialogService(&dialogs); }
    } scripted{dialogs};

    std::vector<std::pair<String, bool>> seen;  // the kind of dialog, and whether the composer owned it
    const auto look = [&](QDialog& dialog) {
        QWindow* owner = dialog.windowHandle() ? dialog.windowHandle()->transientParent() : nullptr;
        seen.push_back({dialog.metaObject()->className(),
                        dialog.parentWidget() == composer.Dialog() && owner == composer.Dialog()->windowHandle()});
        dialog.reject();
    };
    QTimer::singleShot(0, [&] {
        WhenModal<QFileDialog>(look);
        ClickOn(*composer.FilenameEdit1->Button);  // "Browse"
        WhenModal<QMessageBox>(look);
        ClickOn(*composer.Button2);  // "&Create" with no covers says what is missing
        composer.FilenameEdit1->SetFileName(top);
        composer.FilenameEdit2->SetFileName(bottom);
        ClickOn(*composer.Button2);
        WhenModal<QFileDialog>(look);
        ClickOn(*composer.Button1);  // "&Save"
        composer.SetModalResult(mrCancel);
    });
    EXPECT_EQ(composer.ShowModal(), mrCancel);
    const std::vector<std::pair<String, bool>> expected = {{"QFileDialog", true}, {"QMessageBox", true}, {"QFileDialog", true}};
    EXPECT_EQ(seen, expected);
}
