#include "AppFixture.h"

class Batch : public AppFixture {};

TEST_F(Batch, NextStopsAtTheLastFileAndPreviousAtTheFirst)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    String a = Picture("a.bmp", clRed), b = Picture("b.bmp", clLime), c = Picture("c.bmp", clBlue);
    OpenBatch({a, b, c});
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images 1 of 3");
    EXPECT_EQ(DVDForm->CurrentFile, a);
    EXPECT_NE(DVDForm->CurrentCover, nullptr);  // loading a picture makes the chooser's layout current

    const char* captions[] = {"  Batch Images 2 of 3", "  Batch Images 3 of 3", "  Batch Images 3 of 3"};
    String files[] = {b, c, c};
    for (int i = 0; i < 3; ++i) {
        DVDForm->NextImage->Click();
        EXPECT_EQ(DVDForm->Label2->Caption(), captions[i]);
        EXPECT_EQ(DVDForm->CurrentFile, files[i]);
    }
    DVDForm->Previmage->Click();
    DVDForm->Previmage->Click();
    DVDForm->Previmage->Click();
    EXPECT_EQ(DVDForm->CurrentFile, a);
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images 1 of 3");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(Batch, ArrowsWithoutABatchReportTheMissingFile)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    DVDForm->NextImage->Click();
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images 0 of 0");
    EXPECT_EQ(DVDForm->CurrentIndex, -1);
    DVDForm->Previmage->Click();
    EXPECT_EQ(DVDForm->CurrentIndex, 0);
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[0], "Error Getting File :No Image");
    EXPECT_EQ(dialogs.Messages[1], "Error Getting File :No Image");
}

TEST_F(Batch, CancelKeepsTheBatchAndRemoveKeepsItToo)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    String a = Picture("a.bmp", clRed), b = Picture("b.bmp", clLime);
    OpenBatch({a, b});
    dialogs.FileAnswers.push_back({});  // cancelled
    DVDForm->CDImage->DblClick();
    EXPECT_EQ(DVDForm->CurrentFile, a);
    EXPECT_EQ(DVDForm->Label2->Caption(), "  Batch Images 1 of 2");
    DVDForm->ToolButton4->Click();
    EXPECT_EQ(DVDForm->CurrentFile, "No Image");
    DVDForm->NextImage->Click();
    EXPECT_EQ(DVDForm->CurrentFile, b);
}

TEST_F(Batch, APictureThatFailsToOpenIsNamedBeforeTheReasonInTheApplicationHandler)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    const std::vector<std::pair<String, String>> cases = {  // file, the reason after its name
        {"notes.txt", "Unknown picture file extension (.txt)"},
        {"notes.jpg", "JPEG error #"},
        {"short.bmp", "Bitmap image is not valid"},
    };
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        const String file = dir.File(name);
        std::ofstream(file) << "not a picture";
        dialogs.Messages.clear();
        dialogs.FileAnswers.push_back({file});
        GuardedCall([] { DVDForm->ToolButton3->Click(); });
        EXPECT_EQ(DVDForm->CurrentFile, file);
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        const String named = "The picture \"" + file + "\" cannot be opened: ";
        EXPECT_EQ(dialogs.Messages[0].substr(0, named.size() + reason.size()), named + reason);
    }
}
