// The "Image Effects" drop-down button looks hot only while the pointer is over it: its menu
// closing with the pointer elsewhere leaves it plain, however the menu closed.
#include "AppFixture.h"
#include "RealInput.h"
#include "WaitFor.h"
#include "XPColors.h"
#include "XPLook.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidgetAction>
#include <QWindow>

namespace {

// An open popup menu holds the pointer, so an X server tells the window under it nothing as
// the menu opens; the offscreen platform instead says the pointer left that window. Kept from
// the window while the menu runs, as on X, that leaves Qt believing the pointer still rests on
// the button that opened the menu.
class PointerHeldByMenu : public QObject {
public:
    explicit PointerHeldByMenu(TForm& form) : window_(form.Widget()->windowHandle()) { window_->installEventFilter(this); }
    ~PointerHeldByMenu() override { window_->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Leave; }

private:
    QWindow* window_;
};

struct Closing {
    const char* name;
    // Closes the open menu; the pointer already rests on the picture area.
    std::function<void(QMenu*)> close;
};

class EffectsButton : public AppFixture {
protected:
    void SetUp() override
    {
        Start({MakeLayout("DVD", 0.5f, 0.5f, 4, 3)});
        ASSERT_TRUE(ShowActive(*DVDForm));
    }

    static TColor FaceColour()
    {
        const QColor c = DVDForm->ToolButton13->Widget()->grab().toImage().pixelColor(3, 20);
        return RGB(c.red(), c.green(), c.blue());
    }

    // A point of the picture area clear of the open menu, on the screen.
    static QPoint Away() { return DVDForm->CDImage->Widget()->mapToGlobal(QPoint(650, 420)); }

    // Presses the button, which opens the menu; the button is let go over the open menu, the
    // pointer wanders off to the picture, and the menu is closed.
    void OpenAndLeave(const Closing& closing)
    {
        QWidget* button = DVDForm->ToolButton13->Widget();
        PointAt(*DVDForm->ToolButton13);
        ASSERT_EQ(FaceColour(), ColorToRGB(DVDForm->XPLook1->FFSelectColor)) << "hot under the pointer";
        bool closed = false;
        QTimer::singleShot(0, [&] {
            if (WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 5000)) {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QTest::mouseRelease(menu, Qt::LeftButton, {}, menu->mapFromGlobal(button->mapToGlobal(QPoint(40, 20))));
                // Over the menu, back over the button on the way, and off to the picture.
                for (const QPoint& at : {menu->mapToGlobal(menu->rect().center()), button->mapToGlobal(QPoint(40, 20)),
                                         Away()}) {
                    QCursor::setPos(at);
                    QCoreApplication::processEvents();
                }
                closing.close(menu);
            }
            closed = WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }, 5000);
        });
        {
            PointerHeldByMenu held(*DVDForm);
            QTest::mousePress(button, Qt::LeftButton, {}, QPoint(40, 20));
            ASSERT_TRUE(WaitUntil([&] { return closed; }, 10000)) << closing.name;
        }
        Application()->ProcessMessages();
    }
};

TEST_F(EffectsButton, IsPlainOnceItsMenuClosedWithThePointerElsewhere)
{
    const std::vector<Closing> closings{
        {"Escape", [](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); }},
        {"a click outside",
         [](QMenu* menu) {
             QTest::mouseClick(menu, Qt::LeftButton, {}, menu->mapFromGlobal(Away()));
         }},
        {"an item chosen", [](QMenu* menu) {
             for (QAction* a : menu->actions())
                 if (a->text() == "&Sharpen Image")
                     if (auto* w = qobject_cast<QWidgetAction*>(a)->defaultWidget())
                         QTest::mouseClick(w, Qt::LeftButton);
         }}};
    const TColor plain = FaceColour();  // the pointer is elsewhere as the window opens
    for (const Closing& closing : closings) {
        OpenAndLeave(closing);
        ASSERT_TRUE(DVDForm->ToolButton13->Widget()->underMouse()) << "Qt still thinks the pointer is there";
        EXPECT_EQ(FaceColour(), plain) << closing.name;
        // Back over it, it is hot again.
        PointAt(*DVDForm->ToolButton13);
        EXPECT_EQ(FaceColour(), ColorToRGB(DVDForm->XPLook1->FFSelectColor)) << closing.name;
        QCursor::setPos(Away());
    }
    EXPECT_EQ(dialogs.Messages, std::vector<String>{kNeedImageMessage});  // the chosen item ran
}

}  // namespace
