// Entering the file-name edit by the keyboard: its text is selected only while typing into it
// is allowed, and its text cursor is one pixel wide, two with a bold font.
#include "ToolEdit.h"

#include "RealInput.h"
#include "TestWait.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

TEST(FilenameEditEntry, TabSelectsTheTextOnlyWithDirectInput)
{
    struct Row {
        bool directInput, autoSelect, bold;
        String selected;
        int caret;
    };
    for (const Row& row : {Row{true, true, false, "cover.jpg", 1}, Row{false, true, true, "", 2},
                           Row{true, false, false, "", 1}}) {
        TForm form(nullptr);
        form.SetBounds(100, 100, 300, 100);
        auto* before = new TEdit(&form);
        before->SetParent(&form);
        before->SetBounds(8, 8, 100, 21);
        auto* edit = new TFilenameEdit(&form);
        edit->SetParent(&form);
        edit->SetBounds(8, 40, 241, 21);
        edit->SetText("cover.jpg");
        edit->SetDirectInput(row.directInput);
        edit->AutoSelect = row.autoSelect;
        if (row.bold)
            edit->Font.SetStyle(fsBold);
        ASSERT_TRUE(ShowActive(form));
        before->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return before->Focused(); }));
        QTest::keyClick(before->Widget(), Qt::Key_Tab);
        ASSERT_TRUE(WaitUntil([&] { return edit->Focused(); }));
        EXPECT_EQ(edit->SelText(), row.selected) << row.directInput << row.autoSelect;
        EXPECT_EQ(edit->CaretWidth(), row.caret) << row.bold;
    }
}

}  // namespace
