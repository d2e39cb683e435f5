// The float spin edit refuses, by every road the text can take, what it refuses as typed keys.
#include "SpinEdits.h"

#include "Beep.h"
#include "RealInput.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

class SpinEditInput : public ::testing::Test {
protected:
    TForm form {nullptr};
    TFloatSpinEdit* edit = new TFloatSpinEdit(&form);
    int beeps = 0;

    void SetUp() override
    {
        form.SetBounds(100, 100, 200, 100);
        edit->SetParent(&form);
        edit->SetBounds(10, 10, 121, 22);
        SetBeepHandler([this](unsigned) { ++beeps; });
        ASSERT_TRUE(ShowActive(form));
        edit->SetFocus();
        edit->SetText("");
    }
    void TearDown() override { SetBeepHandler(nullptr); }

    QWidget* Field() { return edit->Widget(); }
    // A key whose text is one character, as a keyboard layout of that script sends it.
    void Type(QChar c) { QTest::sendKeyEvent(QTest::Click, Field(), Qt::Key(c.unicode()), QString(c), {}); }
    void Commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(Field(), &event);
    }
    void Drop(const QString& text)
    {
        QMimeData data;
        data.setText(text);
        const QPointF at(5, 5);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(Field(), &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(Field(), &drop);
    }
    // Opens the field's context menu and chooses its paste entry; false without that entry.
    bool PasteFromMenu()
    {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), Field()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(Field(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return false;
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().startsWith("&Paste"))
                paste = action;
        if (paste)
            paste->trigger();
        menu->close();
        return paste && paste->isEnabled();
    }
};

}  // namespace

TEST_F(SpinEditInput, WideCharactersAndInputMethodTextMeetTheKeyFilter)
{
    QTest::keyClicks(Field(), "1.5");
    EXPECT_EQ(edit->Text(), "1.5");
    EXPECT_EQ(beeps, 0);
    Type(QChar(0x4E2D));
    Type(QChar(0x0661));  // an Arabic-Indic one
    EXPECT_EQ(edit->Text(), "1.5");
    EXPECT_EQ(beeps, 2);
    Commit(QString::fromUtf8("2\uFF13"));  // a full-width three among the digits
    EXPECT_EQ(edit->Text(), "1.5");
    EXPECT_EQ(beeps, 3);
    Commit("25");
    EXPECT_EQ(edit->Text(), "1.525");
    EXPECT_DOUBLE_EQ(edit->Value(), 1.525);
}

TEST_F(SpinEditInput, PasteAndDropMeetTheKeyFilterWhileTypingIsOn)
{
    QGuiApplication::clipboard()->setText("abc");
    QTest::keyClick(Field(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(beeps, 1);
    QGuiApplication::clipboard()->setText("42");
    QTest::keyClick(Field(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "42");
    Drop("x");
    EXPECT_EQ(edit->Text(), "42");
    EXPECT_EQ(beeps, 2);
}

TEST_F(SpinEditInput, WithTypingOffNoRoadChangesTheText)
{
    edit->SetText("3.00");
    edit->EditorEnabled = false;
    QGuiApplication::clipboard()->setText("7");
    QTest::keyClick(Field(), Qt::Key_End);
    QTest::keyClick(Field(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "3.00");
    EXPECT_EQ(beeps, 1);
    ASSERT_TRUE(PasteFromMenu());
    EXPECT_EQ(edit->Text(), "3.00");
    EXPECT_EQ(beeps, 2);
    Drop("7");
    EXPECT_EQ(edit->Text(), "3.00");
    Commit("7");
    QTest::keyClick(Field(), Qt::Key_Home);
    QTest::keyClick(Field(), Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "3.00");
    EXPECT_EQ(beeps, 5);
    // The buttons and arrow keys still step it.
    QTest::keyClick(Field(), Qt::Key_Up);
    EXPECT_EQ(edit->Text(), "4.00");
}

TEST_F(SpinEditInput, PastedNumbersLoseTheBlanksAndLineBreaksAroundThem)
{
    struct Case {
        const char* clipboard;
        String text;
        double value;
    };
    const std::vector<Case> cases{
        {"2.5\n", "2.5", 2.5},
        {" 2.5", "2.5", 2.5},
        {"\t3.25 \r\n", "3.25", 3.25},
        {"\n", "", 0.0},       // nothing left: the text stays empty
        {"2 5", "", 0.0},      // a blank inside is still refused
    };
    for (const Case& c : cases) {
        edit->SetText("");
        beeps = 0;
        QGuiApplication::clipboard()->setText(c.clipboard);
        QTest::keyClick(Field(), Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(edit->Text(), c.text) << c.clipboard;
        EXPECT_DOUBLE_EQ(edit->Value(), c.value) << c.clipboard;
        EXPECT_EQ(beeps, c.text.empty() && String(c.clipboard) != "\n" ? 1 : 0) << c.clipboard;
    }
    // Pasted after what is there already, the cursor ends behind the number.
    edit->SetText("1");
    QTest::keyClick(Field(), Qt::Key_End);
    QGuiApplication::clipboard()->setText(" 5 \n");
    QTest::keyClick(Field(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(Field(), Qt::Key_0);
    EXPECT_EQ(edit->Text(), "150");
}
