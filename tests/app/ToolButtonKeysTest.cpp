// Tool buttons show the keyboard focus as push buttons do, so both keys that press a push button
// press a focused tool button too, in every window that has them.
#include "AppFixture.h"
#include "ComCtrls.h"
#include "RealInput.h"
#include "ripunit.h"

#include <QApplication>
#include <QTest>

namespace {

class ToolButtonKeys : public AppFixture {
protected:
    void SetUp() override { Start({MakeLayout("DVD", 0.5f, 0.5f, 4, 3)}); }

    // Presses the key on the focused button and counts the button's command runs; the
    // command itself is set aside, so that no window it would open waits for an answer.
    static int Runs(TToolButton& button, Qt::Key key)
    {
        int runs = 0;
        const TNotifyEvent command = button.OnClick;
        button.OnClick = [&runs](TObject*) { ++runs; };
        button.Widget()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key);
        Application()->ProcessMessages();
        button.OnClick = command;
        return runs;
    }
};

TEST_F(ToolButtonKeys, ReturnAndSpaceRunTheFocusedToolButtonsCommand)
{
    TCDRipform finder(DVDForm);
    const std::vector<std::pair<TForm*, std::vector<TToolButton*>>> windows = {
        {DVDForm, {DVDForm->ToolButton3, DVDForm->ToolButton9, DVDForm->ToolButton6, DVDForm->Previmage}},
        {PreviewForm, {PreviewForm->ToolButton2, PreviewForm->ToolButton4}},
        {&finder, {finder.ScanCD, finder.ClearTracks, finder.CloseList}},
    };
    for (const auto& [form, buttons] : windows) {
        SCOPED_TRACE(form->Caption());
        ASSERT_TRUE(ShowActive(*form));
        for (TToolButton* button : buttons) {
            SCOPED_TRACE(button->Caption());
            EXPECT_EQ(Runs(*button, Qt::Key_Return), 1);
            EXPECT_EQ(Runs(*button, Qt::Key_Enter), 1);
            EXPECT_EQ(Runs(*button, Qt::Key_Space), 1);
            EXPECT_TRUE(button->Widget()->hasFocus());
        }
        form->Hide();
    }
}

}  // namespace
