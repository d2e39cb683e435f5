#include "PointerPosition.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>

namespace {

class PaintRunPointer : public QObject {
public:
    explicit PaintRunPointer(QObject* app) : QObject(app) { app->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            known_ = false;
        return false;
    }
    QPoint Position()
    {
        if (!known_) {
            position_ = QCursor::pos();
            known_ = true;
        }
        return position_;
    }

private:
    QPoint position_;
    bool known_ = false;
};

}  // namespace

QPoint PointerPosition()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QCursor::pos();
    static QPointer<PaintRunPointer> run;
    if (!run)
        run = new PaintRunPointer(QCoreApplication::instance());
    return run->Position();
}
