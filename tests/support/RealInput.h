#pragma once
// Real mouse and key events for controls on a shown, active form (offscreen).
#include "Controls.h"
#include "Forms.h"

#include <QPoint>
#include <QWidget>
#include <QtTest/QTest>

// Shows the form and waits until it is the active window; false when it never becomes active.
inline bool ShowActive(TForm& form)
{
    form.Show();
    form.Widget()->activateWindow();
    return QTest::qWaitForWindowActive(form.Widget());
}

inline QPoint CentreOf(const TControl& control) { return {control.Width() / 2, control.Height() / 2}; }

// Moves the pointer over the control's centre (which also sends the enter event).
inline void PointAt(TControl& control) { QTest::mouseMove(control.Widget(), CentreOf(control)); }

inline void ClickOn(TControl& control, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(control.Widget(), button, {}, CentreOf(control));
}

// A press, release, second press as a double click and its release, as the window system sends them.
inline void DoubleClickOn(TControl& control)
{
    QWidget* w = control.Widget();
    const QPoint p = CentreOf(control);
    QTest::mousePress(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}
