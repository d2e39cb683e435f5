#include "Beep.h"

#include <QApplication>

static std::function<void(unsigned)>& Handler()
{
    static std::function<void(unsigned)> handler;
    return handler;
}

void MessageBeep(unsigned type)
{
    if (Handler())
        Handler()(type);
    else
        QApplication::beep();
}

void SetBeepHandler(std::function<void(unsigned)> handler) { Handler() = std::move(handler); }
