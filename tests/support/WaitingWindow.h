#pragma once
// Looking at a window while a network exchange keeps the window thread waiting.
#include <QApplication>
#include <QTest>
#include <QWidget>

inline bool HourglassShown()
{
    return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

// Shows the window and waits until it is on screen, so that it gets paint events.
inline bool ShowExposed(QWidget* window)
{
    window->show();
    return QTest::qWaitForWindowExposed(window);
}
