#pragma once
// Runs the event loop until a condition holds or the time is up; false when it never held.
#include <QCoreApplication>
#include <QDeadlineTimer>

template <typename Condition>
bool WaitUntil(Condition condition, int milliseconds = 10000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
