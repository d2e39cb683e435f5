// Where the focus goes when a button inside an edit is pressed, and a spin button's focus
// control freed before the press (run under the sanitizers too).
#include "SpeedBtns.h"
#include "StdCtrls.h"
#include "ToolEdit.h"

#include "RealInput.h"

#include <gtest/gtest.h>

TEST(ButtonFocus, APressFocusesTheEditOnlyWhenItIsATabStop)
{
    TForm form {nullptr};
    form.SetBounds(80, 80, 300, 120);
    auto* elsewhere = new TButton(&form);
    auto* spinEdit = new TEdit(&form);
    auto* spin = new TSpinButton(&form);
    auto* fileEdit = new TFilenameEdit(&form);
    for (TControl* c : std::initializer_list<TControl*> {elsewhere, spinEdit, spin, fileEdit})
        c->SetParent(&form);
    fileEdit->SetTop(40);
    spin->SetLeft(200);
    spin->SetFocusControl(spinEdit);
    ASSERT_TRUE(ShowActive(form));
    TControl* spinUp = spin->UpButton();
    struct Case {
        TWinControl* edit;
        TControl* button;
        bool tabStop;
    } cases[] = {{spinEdit, spinUp, true}, {spinEdit, spinUp, false}, {fileEdit, fileEdit->Button, true},
                 {fileEdit, fileEdit->Button, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.edit == spinEdit ? "spin" : "file-name") << " " << c.tabStop);
        elsewhere->SetFocus();
        c.edit->SetTabStop(c.tabStop);
        c.button->MouseDown(mbLeft, ssLeft, 3, 3);
        EXPECT_EQ(c.edit->Focused(), c.tabStop);
        c.button->MouseUp(mbLeft, 0, 50, 50);
    }
}

TEST(ButtonFocus, AFreedFocusControlIsLetGoOf)
{
    TForm form {nullptr};
    auto* spin = new TSpinButton(&form);
    spin->SetParent(&form);
    auto* edit = new TEdit(&form);
    spin->SetFocusControl(edit);
    delete edit;
    EXPECT_EQ(spin->FocusControl(), nullptr);
    spin->UpButton()->MouseDown(mbLeft, ssLeft, 3, 3);  // read the freed edit before
    spin->UpButton()->MouseUp(mbLeft, 0, 3, 3);
}
