// The double-feature composer as the user meets it: kept on top, its default button painted
// with the default cue and its radio buttons decorated by the main window's XP look, Return
// pressing "&Create" once and Escape ending the dialog.
#include "AppFixture.h"
#include "DoubFeatUnit.h"
#include "ListBoxes.h"

#include "../controls/PaintProbe.h"
#include "TestWait.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

namespace {

class ComposerLook : public AppFixture {
protected:
    std::unique_ptr<TDoubFeatForm> composer;

    void SetUp() override
    {
        Start({MakeLayout("DVD", 0.5f, 0.5f, 4, 3)});
        composer = std::make_unique<TDoubFeatForm>(DVDForm);
        // The main window's look hears of the new window and decorates it from the next message on.
        ASSERT_TRUE(WaitUntil([this] { return HookOf(*DVDForm->XPLook1, composer->Button2) != nullptr; }));
    }
    void TearDown() override
    {
        composer.reset();
        AppFixture::TearDown();
    }

    // The pixels of the control unlike the colour at (x, y): its ink.
    static int InkAgainst(TControl& control, int x, int y)
    {
        TBitmap shot;
        control.PaintTo(shot);
        const TColor ground = At(shot, x, y);
        int ink = 0;
        for (int yy = 4; yy < shot.Height() - 4; ++yy)
            for (int xx = 4; xx < shot.Width() - 4; ++xx)
                ink += At(shot, xx, yy) != ground;
        return ink;
    }
};

TEST_F(ComposerLook, StaysOnTopWithTheDefaultCueAndDecoratedRadioButtons)
{
    EXPECT_TRUE(composer->Dialog()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(composer->FormStyle(), fsStayOnTop);

    // "&Create" is the default button: its caption carries the darker copies of the cue.
    ASSERT_TRUE(composer->Button2->Default());
    const int withCue = InkAgainst(*composer->Button2, 6, 6);
    composer->Button2->SetDefault(false);
    const int plain = InkAgainst(*composer->Button2, 6, 6);
    EXPECT_GT(withCue, plain + 10);

    // Every button of "Printing Style" is hooked, and the chosen one shows the look's dot.
    ASSERT_EQ(composer->Prin->ItemCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(HookOf(*DVDForm->XPLook1, composer->Prin->Buttons(i))) << i;
    TRadioButton& chosen = *composer->Prin->Buttons(0);
    ASSERT_TRUE(chosen.Checked());
    const int size = TCustomListBox::ScrollBarWidth();
    const int top = 4 + (chosen.Height() - 8 - size) / 2;
    EXPECT_EQ(Shot(chosen, size / 2, top + size / 2), ColorToRGB(clHighlight));

    // The group still reports the user's choice.
    int clicks = 0;
    composer->Prin->OnClick = [&](TObject*) { ++clicks; };
    composer->Show();
    QTest::mouseClick(composer->Prin->Buttons(2)->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
    EXPECT_EQ(composer->Prin->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ComposerLook, ReturnCreatesOnceAndEscapeCancels)
{
    // Return in a field presses the default button once: without covers, Create says so once.
    dialogs.OnShowModal = [](TForm& form) {
        QTimer::singleShot(0, [&form] {
            QWidget* field = static_cast<TDoubFeatForm*>(&form)->Prin->Buttons(1)->Widget();
            QTest::keyClick(field, Qt::Key_Return);
            QTest::keyClick(field, Qt::Key_Escape);
        });
        return form.RunModalLoop();
    };
    EXPECT_EQ(composer->ShowModal(), mrCancel);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("The top cover is missing"), String::npos) << dialogs.Messages[0];
    EXPECT_FALSE(composer->Dialog()->isVisible());

    // A button whose Cancel is set takes Escape instead.
    int cancelled = 0;
    composer->Button3->Cancel = true;
    composer->Button3->OnClick = [&](TObject*) { ++cancelled; };
    composer->Button3->ModalResult = mrAbort;
    dialogs.OnShowModal = [](TForm& form) {
        QTimer::singleShot(0, [&form] { QTest::keyClick(form.Dialog(), Qt::Key_Escape); });
        return form.RunModalLoop();
    };
    EXPECT_EQ(composer->ShowModal(), mrAbort);
    EXPECT_EQ(cancelled, 1);
}

}  // namespace
