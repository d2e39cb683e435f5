#pragma once
// What the screen shows of a control: its window's pixels as the window system holds them (the
// backing store offscreen), not a fresh rendering. Only what was repainted shows a change.
#include "Controls.h"

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

inline QImage ScreenShot(QWidget* widget)
{
    QWidget* window = widget->window();
    const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QPoint at = widget->mapTo(window, QPoint(0, 0)) * ratio;
    return shot.copy(QRect(at, widget->size() * ratio));
}

inline QImage ScreenShot(const TControl& control) { return ScreenShot(control.Widget()); }

// How many pixels of the image match.
template <typename Predicate>
int CountPixels(const QImage& image, Predicate matches)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += matches(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}
