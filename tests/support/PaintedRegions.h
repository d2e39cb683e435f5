#pragma once
// The regions a widget is asked to paint, from the moment this is made.
#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

struct PaintedRegions : QObject {
    explicit PaintedRegions(QWidget* w) : widget(w) { w->installEventFilter(this); }
    ~PaintedRegions() override { widget->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    QWidget* widget;
    QRegion painted;
};
