// The tab-page texture of dialog windows: a window given it has its background drawn as the
// widget style draws the body of a tab page, under everything the window itself paints.
#include "UxTheme.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QWidget>

namespace {

// The flags EnableThemeDialogTexture was last given for the window; none when never called.
const char* const kTextureFlags = "ombrelleDialogTexture";

unsigned TextureFlags(const QWidget* window) { return window ? window->property(kTextureFlags).toUInt() : 0; }

bool DrawsTabTexture(const QWidget* window)
{
    const unsigned flags = TextureFlags(window);
    return (flags & ETDT_ENABLETAB) == ETDT_ENABLETAB && IsThemeActive();
}

// Paints the texture when a textured window is about to paint itself: after the plain
// background, before the window's own painting.
class TabTexture : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && window && DrawsTabTexture(window)) {
            QStyleOptionTabWidgetFrame option;
            option.initFrom(window);
            option.shape = QTabBar::RoundedNorth;
            // The page's frame lies outside the window: only the body of the page shows.
            const int frame = 2 * window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, window) + 2;
            option.rect = window->rect().adjusted(-frame, -frame, frame, frame);
            option.lineWidth = window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, window);
            QPainter painter(window);
            window->style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, window);
        }
        return false;
    }
};

TabTexture& Texture()
{
    static TabTexture texture;
    return texture;
}

}  // namespace

long EnableThemeDialogTexture(TWinControl* control, unsigned flags)
{
    QWidget* window = control ? control->Widget() : nullptr;
    if (!window)
        return E_INVALIDARG;
    // ETDT_DISABLE wins over anything given with it.
    const unsigned kept = (flags & ETDT_DISABLE) ? ETDT_DISABLE : flags;
    window->setProperty(kTextureFlags, kept);
    window->removeEventFilter(&Texture());
    if (kept & ETDT_ENABLE)
        window->installEventFilter(&Texture());
    window->update();
    return S_OK;
}

bool IsThemeDialogTextureEnabled(TWinControl* control)
{
    return control && (TextureFlags(control->Widget()) & ETDT_ENABLE) && IsThemeActive();
}
