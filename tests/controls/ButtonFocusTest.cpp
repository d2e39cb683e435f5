// Where the focus goes when a button inside an edit is pressed: to the spin button's focus
// control or to the file-name edit, only when that is a tab stop; and a focus control freed
// before the press is not reached for.
#include "SpeedBtns.h"
#include "StdCtrls.h"
#include "ToolEdit.h"

#include "RealInput.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class ButtonFocus : public ::testing::Test {
protected:
    TForm form {nullptr};
    TButton* elsewhere = new TButton(&form);

    void SetUp() override
    {
        form.SetBounds(80, 80, 300, 120);
        elsewhere->SetParent(&form);
        elsewhere->SetBounds(200, 80, 75, 25);
    }
};

}  // namespace

TEST_F(ButtonFocus, APressFocusesTheEditOnlyWhenItIsATabStop)
{
    auto* spinEdit = new TEdit(&form);
    spinEdit->SetParent(&form);
    spinEdit->SetBounds(8, 8, 100, 21);
    auto* spin = new TSpinButton(&form);
    spin->SetParent(&form);
    spin->SetBounds(110, 8, 20, 21);
    spin->SetFocusControl(spinEdit);
    auto* fileEdit = new TFilenameEdit(&form);
    fileEdit->SetParent(&form);
    fileEdit->SetBounds(8, 40, 180, 21);
    ASSERT_TRUE(ShowActive(form));

    struct Case {
        const char* name;
        TWinControl* target;
        std::function<void()> press;
        bool tabStop;
    } cases[] = {
        {"spin button, focus control a tab stop", spinEdit, [&] { spin->UpButton()->MouseDown(mbLeft, ssLeft, 3, 3); }, true},
        {"spin button, focus control no tab stop", spinEdit, [&] { spin->UpButton()->MouseDown(mbLeft, ssLeft, 3, 3); }, false},
        {"file-name edit, a tab stop", fileEdit, [&] { fileEdit->Button->MouseDown(mbLeft, ssLeft, 3, 3); }, true},
        {"file-name edit, no tab stop", fileEdit, [&] { fileEdit->Button->MouseDown(mbLeft, ssLeft, 3, 3); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        elsewhere->SetFocus();
        ASSERT_TRUE(elsewhere->Focused());
        c.target->SetTabStop(c.tabStop);
        c.press();
        EXPECT_EQ(c.target->Focused(), c.tabStop);
        spin->UpButton()->MouseUp(mbLeft, 0, 50, 50);
        fileEdit->Button->MouseUp(mbLeft, 0, 50, 50);
    }
}

TEST_F(ButtonFocus, AFreedFocusControlIsLetGoOf)
{
    auto* spin = new TSpinButton(&form);
    spin->SetParent(&form);
    spin->SetBounds(110, 8, 20, 21);
    int ups = 0;
    spin->OnUpClick = [&](TObject*) { ++ups; };
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    spin->SetFocusControl(edit);
    delete edit;
    EXPECT_EQ(spin->FocusControl(), nullptr);
    // Under the sanitizers a press that still reached for the edit stops the run here.
    spin->UpButton()->MouseDown(mbLeft, ssLeft, 3, 3);
    spin->UpButton()->MouseUp(mbLeft, 0, 3, 3);
    EXPECT_EQ(ups, 1);

    // A focus control replaced before it is freed leaves nothing behind either.
    auto* first = new TEdit(&form);
    auto* second = new TEdit(&form);
    spin->SetFocusControl(first);
    spin->SetFocusControl(second);
    delete first;
    EXPECT_EQ(spin->FocusControl(), second);
    delete spin;
    delete second;
}
