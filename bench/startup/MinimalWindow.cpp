// The baseline of the start-up benchmark: the least a Qt Widgets program shows, one plain window
// of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1081, 672);
    window.show();
    return app.exec();
}
