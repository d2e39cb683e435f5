// Preloaded into a program to time its start-up: the process ends as soon as its first paint is
// done, before anything of its shut-down runs. With OMBRELLE_FIRST_PAINT_REPORT naming a file,
// it first writes there how many shared objects the process has loaded.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void Report()
{
    const char* path = std::getenv("OMBRELLE_FIRST_PAINT_REPORT");
    if (!path)
        return;
    int objects = 0;
    dl_iterate_phdr([](dl_phdr_info* info, size_t, void* count) {
        if (info->dlpi_name && *info->dlpi_name)
            ++*static_cast<int*>(count);
        return 0;
    }, &objects);
    if (std::FILE* f = std::fopen(path, "w")) {
        std::fprintf(f, "%d\n", objects);
        std::fclose(f);
    }
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // The paint event runs to its end (and the window's contents reach the screen) before the
        // event loop takes the next event: the exit waits for that.
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                Report();
                _exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

void Install() { qApp->installEventFilter(new FirstPaint); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
