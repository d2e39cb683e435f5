// The main window worked from the keyboard: Escape, Return in each field, and the effects menu
// run by the arrow keys and Return or by an underlined letter.
#include "AppFixture.h"
#include "LoopbackHttpServer.h"
#include "UserConfig.h"
#include "WaitFor.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidgetAction>

#include <cstdlib>
#include <fstream>

namespace {

class MainWindowKeys : public AppFixture {
protected:
    TLoopbackHttpServer server;
    TempDir config;

    void SetUp() override
    {
        SetUserConfigFolder(config.Path());
        std::ofstream(config.File("Catalogue.ini")) << "[Catalogue]\nDomain=Test Catalogue\n";
        setenv("OMBRELLE_CATALOGUE_HOST", ("127.0.0.1:" + std::to_string(server.Port())).c_str(), 1);
        THttpReply reply;
        reply.Headers = {{"Content-Type", "text/xml"}};
        reply.Body = "<rsp stat=\"ok\"/>";
        server.SetReply(reply);
        Start({MakeLayout("DVD", 0.5f, 0.5f, 4, 3), MakeLayout("CD", 0.5f, 0.5f, 4.7f, 4.7f, 0)});
        DVDForm->Show();
        DVDForm->Dialog()->activateWindow();
        Application()->ProcessMessages();
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        unsetenv("OMBRELLE_CATALOGUE_HOST");
        SetUserConfigFolder("");
    }

    // Gives the control the focus and presses the key there, as the user would.
    static void Press(TWinControl* control, Qt::Key key)
    {
        control->SetFocus();
        QTest::keyClick(control->Widget(), key);
        Application()->ProcessMessages();
    }

    // Opens the effects menu with a click on its button; keys then go to the open menu, which
    // runs its own loop until it closes.
    void WithEffectsMenu(const std::function<void(QMenu*)>& inMenu)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 5000);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu)
                inMenu(menu);
            ran = true;
            if (QApplication::activePopupWidget())
                QApplication::activePopupWidget()->close();
        });
        QTest::mouseClick(DVDForm->ToolButton13->Widget(), Qt::LeftButton);
        WaitUntil([&] { return ran; }, 5000);
        Application()->ProcessMessages();
        ASSERT_TRUE(ran);
    }

    static String ActiveCaption(QMenu* menu)
    {
        return menu->activeAction() ? menu->activeAction()->text().toStdString() : String();
    }
};

TEST_F(MainWindowKeys, EscapeLeavesTheMainWindowOpen)
{
    Press(DVDForm->SearchBox, Qt::Key_Escape);
    Press(DVDForm->PrintStyle, Qt::Key_Escape);
    QTest::keyClick(DVDForm->Dialog(), Qt::Key_Escape);
    Application()->ProcessMessages();
    EXPECT_TRUE(DVDForm->Dialog()->isVisible());
    EXPECT_EQ(DVDForm->ModalResult(), mrNone);
}

TEST_F(MainWindowKeys, EscapeClosesTheModalHelpWindowWhoseTextKeepsAMargin)
{
    dialogs.OnShowModal = [](TForm& form) {
        QTimer::singleShot(0, [&form] { QTest::keyClick(form.Dialog(), Qt::Key_Escape); });
        return form.RunModalLoop();
    };
    DVDForm->ToolButton6->Click();
    ASSERT_EQ(dialogs.ModalForms, std::vector<TForm*>{helpform});
    EXPECT_EQ(helpform->ModalResult(), mrCancel);
    EXPECT_FALSE(helpform->Dialog()->isVisible());
    EXPECT_TRUE(DVDForm->Dialog()->isVisible());

    // The page starts clear of the window's left and top edges (inside the panel's own frame).
    TBitmap page;
    helpform->HTMLPanel1->PaintTo(page);
    page.Canvas().Release();
    const int frame = 3;
    int left = page.Width(), top = page.Height();
    for (int y = frame; y < page.Height() - frame; ++y)
        for (int x = frame; x < page.Width() - frame; ++x) {
            const uint8_t* p = page.ScanLine(y) + 4 * x;
            if (RGB(p[2], p[1], p[0]) != clWhite) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
        }
    EXPECT_GE(left, 8);
    EXPECT_GE(top, 8);
    EXPECT_LT(left, 40);
}

TEST_F(MainWindowKeys, ReturnInTheSearchBoxSearchesOnceAndElsewhereNotAtAll)
{
    DVDForm->SearchBox->SetText("alien");
    Press(DVDForm->SearchBox, Qt::Key_Return);
    EXPECT_EQ(server.Requests().size(), 1u);
    Press(DVDForm->SearchBox, Qt::Key_Enter);
    EXPECT_EQ(server.Requests().size(), 2u);

    const int layouts = DVDForm->PrintStyle->Items().Count();
    const int categories = DVDForm->StyleCombo->Items().Count();
    for (TWinControl* field : std::initializer_list<TWinControl*>{DVDForm->PrintStyle, DVDForm->StyleCombo,
                                                                   DVDForm->MarkupListBox})
        Press(field, Qt::Key_Return);
    EXPECT_EQ(server.Requests().size(), 2u);
    // The fields keep their lists: Return is not "add what was typed".
    EXPECT_EQ(DVDForm->PrintStyle->Items().Count(), layouts);
    EXPECT_EQ(DVDForm->StyleCombo->Items().Count(), categories);

    // The focused button takes Return itself.
    Press(DVDForm->Button1, Qt::Key_Return);
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(MainWindowKeys, EffectsMenuRunsFromTheArrowKeysAndReturn)
{
    std::vector<String> visited;
    bool highlighted = false;
    WithEffectsMenu([&](QMenu* menu) {
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(menu, Qt::Key_Down);
            visited.push_back(ActiveCaption(menu));
        }
        // The keyboard's item is drawn selected: its gradient replaces the item background.
        auto* action = qobject_cast<QWidgetAction*>(menu->activeAction());
        if (action && action->defaultWidget()) {
            QWidget* item = action->defaultWidget();
            QImage shot = item->grab().toImage();
            const QColor back = shot.pixelColor(item->width() - 20, item->height() / 2);
            highlighted = RGB(back.red(), back.green(), back.blue()) != DVDForm->VeskPopupMenu1->ItemBackColor;
        }
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    // Section titles are passed over.
    EXPECT_EQ(visited, (std::vector<String>{"&Overlay CDDB TrackList ( For CD Case Back Inserts)",
                                            "&Create A Double Feature DVD Cover", "Flip Image &Vertical",
                                            "Flip Image &Horizontal", "&Rotate Image"}));
    EXPECT_TRUE(highlighted);
    // Rotate ran: with no picture open it says so.
    EXPECT_EQ(dialogs.Messages, std::vector<String>{kNeedImageMessage});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(MainWindowKeys, EffectsMenuRunsFromTheUnderlinedLetter)
{
    const String picture = Picture("cover.bmp", clRed, 40, 30);
    OpenBatch({picture});
    ASSERT_EQ(DVDForm->CDImage->Picture().Width(), 40);
    dialogs.InputAnswers.push_back(String("90"));
    WithEffectsMenu([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_R); });
    EXPECT_EQ(dialogs.InputPrompts.size(), 1u);
    EXPECT_EQ(DVDForm->CDImage->Picture().Width(), 30);  // "&Rotate Image" turned it
    WithEffectsMenu([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_V); });  // "Flip Image &Vertical"
    EXPECT_EQ(DVDForm->CDImage->Picture().Width(), 30);
    EXPECT_EQ(DVDForm->StatusBar->SimpleText(), "OK");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(MainWindowKeys, EffectsMenuItemRunsOncePerClick)
{
    WithEffectsMenu([](QMenu* menu) {
        for (QAction* a : menu->actions())
            if (a->text() == "&Sharpen Image")
                if (auto* w = qobject_cast<QWidgetAction*>(a)->defaultWidget()) {
                    QTest::mouseMove(w);
                    QTest::mouseClick(w, Qt::LeftButton);
                }
    });
    EXPECT_EQ(dialogs.Messages, std::vector<String>{kNeedImageMessage});
}

}  // namespace
