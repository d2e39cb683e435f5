#include "Monitors.h"

#include <QGuiApplication>
#include <QScreen>

std::vector<TRect> MonitorRects()
{
    std::vector<TRect> out;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        out.push_back({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    }
    return out;
}

bool OnSomeMonitor(const TRect& r)
{
    for (const TRect& m : MonitorRects()) {
        TRect common;
        if (IntersectRect(common, r, m))
            return true;
    }
    return false;
}
