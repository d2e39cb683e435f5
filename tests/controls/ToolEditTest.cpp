#include "ToolEdit.h"

#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class FilenameEdit : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    TempDir dir;
    TFilenameEdit edit {nullptr};
    int changes = 0;
    void SetUp() override
    {
        edit.SetBounds(0, 0, 200, 21);
        edit.OnChange = [this](TObject*) { ++changes; };
    }
};

}  // namespace

TEST_F(FilenameEdit, ChosenNameWithABlankIsShownQuotedAndReadBackBare)
{
    const String chosen = dir.File("my cover.bmp");
    dialogs.FileAnswers.push_back({chosen});
    edit.Button->Click();
    EXPECT_EQ(edit.Text(), "\"" + chosen + "\"");
    EXPECT_EQ(edit.FileName(), chosen);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.InitialDir(), dir.Path());

    dialogs.FileAnswers.push_back({dir.File("plain.bmp")});
    edit.Button->Click();
    EXPECT_EQ(edit.Text(), dir.File("plain.bmp"));
}

TEST_F(FilenameEdit, CancelKeepsTheTextAndStillReportsAfterTheDialog)
{
    edit.SetText("keep.bmp");
    changes = 0;
    bool afterAction = true;
    int afterCalls = 0;
    edit.OnAfterDialog = [&](TObject*, String&, bool& action) {
        afterAction = action;
        ++afterCalls;
    };
    edit.Button->Click();  // no answer scripted: cancelled
    EXPECT_EQ(edit.Text(), "keep.bmp");
    EXPECT_EQ(afterCalls, 1);
    EXPECT_FALSE(afterAction);
    EXPECT_EQ(changes, 0);
}

TEST_F(FilenameEdit, BeforeDialogCanStopItAndAfterDialogCanChangeTheName)
{
    dialogs.FileAnswers.push_back({dir.File("a.bmp")});
    edit.OnBeforeDialog = [](TObject*, String&, bool& action) { action = false; };
    edit.Button->Click();
    EXPECT_EQ(dialogs.FileAnswers.size(), 1u);  // never asked
    edit.OnBeforeDialog = nullptr;
    edit.OnAfterDialog = [this](TObject*, String& name, bool&) { name = dir.File("b.bmp"); };
    edit.Button->Click();
    EXPECT_EQ(edit.Text(), dir.File("b.bmp"));
}

TEST_F(FilenameEdit, FileNameSetterValidatesAndTheGetterReadsTheText)
{
    edit.SetFileName("");
    EXPECT_EQ(edit.Text(), "");
    edit.SetText("start");
    try {
        edit.SetFileName("a|b.bmp");
        FAIL();
    } catch (const EComboEditError& e) {
        EXPECT_STREQ(e.what(), "Invalid file name - a|b.bmp");
    }
    EXPECT_EQ(edit.Text(), "start");
    EXPECT_THROW(edit.SetFileName("<x>"), EComboEditError);

    const String spaced = dir.File("two words.bmp");
    std::ofstream(spaced) << "x";
    edit.SetText(spaced);  // names a file, unquoted
    EXPECT_EQ(edit.FileName(), spaced);
    edit.SetText("two words");  // names none: the first word
    EXPECT_EQ(edit.FileName(), "two");
    edit.SetFileName(spaced);
    EXPECT_EQ(edit.Text(), "\"" + spaced + "\"");
    EXPECT_EQ(edit.LongNamePart(), "two words.bmp");
}

TEST_F(FilenameEdit, AltDownBrowsesUnlessReadOnly)
{
    dialogs.FileAnswers.push_back({dir.File("k.bmp")});
    int key = VK_DOWN;
    edit.KeyDown(key, ssAlt);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(edit.Text(), dir.File("k.bmp"));

    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.TEdit::ReadOnly());
    dialogs.FileAnswers.push_back({dir.File("z.bmp")});
    key = VK_DOWN;
    edit.KeyDown(key, ssAlt);
    edit.Button->Click();
    EXPECT_EQ(edit.Text(), dir.File("k.bmp"));
    EXPECT_EQ(dialogs.FileAnswers.size(), 1u);
    edit.SetReadOnly(false);
    EXPECT_FALSE(edit.TEdit::ReadOnly());
    edit.SetDirectInput(false);
    EXPECT_TRUE(edit.TEdit::ReadOnly());
}

TEST_F(FilenameEdit, DefaultsButtonWidthAndDialogKind)
{
    EXPECT_EQ(edit.ButtonWidth(), 21);  // the 14-pixel glyph plus 6 is below 21
    EXPECT_EQ(edit.Glyph().Width(), 14);
    EXPECT_EQ(edit.GlyphKind(), gkDefault);
    EXPECT_EQ(edit.DialogTitle(), "Browse");
    EXPECT_EQ(edit.Filter(), "All files (*.*)|*.*");
    EXPECT_EQ(edit.DialogOptions(), unsigned(ofHideReadOnly));
    edit.SetButtonWidth(1);
    EXPECT_FALSE(edit.ButtonHolder->Visible());
    edit.SetButtonWidth(30);
    EXPECT_TRUE(edit.ButtonHolder->Visible());
    EXPECT_EQ(edit.ButtonWidth(), 30);

    edit.SetFilter("Bitmaps (*.bmp)|*.bmp");
    edit.SetDialogKind(dkSavePicture);
    EXPECT_NE(dynamic_cast<TSavePictureDialog*>(&edit.Dialog()), nullptr);
    EXPECT_EQ(edit.Filter(), "Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(edit.DialogTitle(), "Browse");
}

TEST_F(FilenameEdit, DroppedNamesGoToTheDialogOnlyWithMultiSelect)
{
    edit.TakeDroppedName("a.bmp");
    edit.TakeDroppedName("b.bmp");
    EXPECT_EQ(edit.Text(), "b.bmp");
    EXPECT_EQ(edit.Dialog().Files.Count(), 0);
    edit.SetDialogOptions(ofHideReadOnly | ofAllowMultiSelect);
    EXPECT_TRUE(edit.MultipleNames());
    for (const char* n : {"c.bmp", "d.bmp", "e.bmp"})
        edit.TakeDroppedName(n);
    EXPECT_EQ(edit.Text(), "c.bmp");
    EXPECT_EQ(edit.Dialog().Files.Count(), 3);
    edit.SetDialogOptions(ofHideReadOnly);
    EXPECT_EQ(edit.Dialog().Files.Count(), 0);
}

TEST_F(FilenameEdit, TheDialogTakesTheEditsHelpContext)
{
    edit.HelpContext = 42;
    edit.Button->Click();
    EXPECT_EQ(edit.Dialog().HelpContext, 42);
}
