// The composer's cover boxes as the user works them: one click on a browse button, one dialog.
#include "AppFixture.h"
#include "DoubFeatUnit.h"
#include "RealInput.h"

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
