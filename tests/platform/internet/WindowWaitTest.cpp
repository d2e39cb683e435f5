#include "LoopbackHttpServer.h"
#include "ShortInternetLimits.h"
#include "WaitingWindow.h"
#include "WinInet.h"
#include "WindowWait.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>

namespace {

// A button that counts its clicks and its paintings.
struct CountingButton : QPushButton {
    int paints = 0;
    int clicks = 0;
    CountingButton()
    {
        connect(this, &QPushButton::clicked, [this] { ++clicks; });
        resize(80, 30);
    }
    void paintEvent(QPaintEvent* e) override
    {
        ++paints;
        QPushButton::paintEvent(e);
    }
};

TEST(WindowWait, TheWindowsRepaintAndTakeNoInputWhileAnExchangeWaitsAndEscapeCancels)
{
    ShortInternetLimits limits(20000);
    TLoopbackHttpServer server;
    server.SetSilent();
    CountingButton button;
    ASSERT_TRUE(ShowExposed(&button));
    button.paints = 0;

    bool hourglass = false;
    int paintsSeen = 0;
    QTimer::singleShot(50, [&] {
        hourglass = HourglassShown();
        button.update();  // painted only if the wait serves the window
        // A click and a key go nowhere, now or later.
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::keyClick(&button, Qt::Key_Space);
        QTimer::singleShot(100, [&] {
            paintsSeen = button.paints;
            QTest::keyClick(&button, Qt::Key_Escape);
        });
    });
    const auto start = std::chrono::steady_clock::now();
    HINTERNET session = InternetOpen("A", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0);
    HINTERNET request = InternetOpenUrl(session, server.Url("/"), "", 0, 0);
    const DWORD error = InternetGetLastError();
    const String text = InternetGetLastErrorText();
    InternetCloseHandle(session);

    EXPECT_EQ(request, nullptr);
    EXPECT_EQ(error, ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_EQ(text, "cancelled (127.0.0.1:" + std::to_string(server.Port()) + ")");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(hourglass);
    EXPECT_GE(paintsSeen, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(button.clicks, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Once the wait is over the button works again.
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(button.clicks, 1);
}

TEST(WindowWait, ABoxOpenedMeanwhileTakesItsOwnKeysAndTheWaitGoesOn)
{
    auto wait = TWindowWait::Begin();
    ASSERT_TRUE(wait);
    int answer = -1;
    QTimer::singleShot(0, [&] {
        QMessageBox box(QMessageBox::Warning, "Ombrelle", "Something failed meanwhile", QMessageBox::Ok);
        QTimer::singleShot(50, &box, [&box] { QTest::keyClick(&box, Qt::Key_Escape); });
        // Were its keys swallowed, nothing could close it, not even the test: the wait goes first.
        QTimer::singleShot(5000, &box, [&] {
            wait.reset();
            box.done(-2);
        });
        answer = box.exec();
    });
    const auto start = std::chrono::steady_clock::now();
    while (wait && answer == -1 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
        wait->ProcessEvents();
    ASSERT_TRUE(wait) << "the box could not be answered";
    EXPECT_EQ(answer, QMessageBox::Ok);
    EXPECT_FALSE(wait->Cancelled());
}

}  // namespace
