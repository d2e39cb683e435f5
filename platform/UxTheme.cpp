#include "UxTheme.h"

#include "Controls.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace {

// The one theme class there is; a handle points at it.
struct WindowTheme {
    int openCount = 0;
} windowTheme;

QStyle* CurrentStyle()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr;
}

QStyle::StandardPixmap ButtonPixmap(int partId)
{
    switch (partId) {
    case 15: return QStyle::SP_TitleBarMinButton;
    case 17: return QStyle::SP_TitleBarNormalButton;
    default: return QStyle::SP_TitleBarCloseButton;
    }
}

}  // namespace

bool ThemeEngineAvailable() { return CurrentStyle() != nullptr; }

bool IsThemeActive() { return CurrentStyle() != nullptr; }

HTHEME OpenThemeData(TWinControl*, const String& classList)
{
    if (!IsThemeActive() || QString::fromStdString(classList).compare("window", Qt::CaseInsensitive) != 0)
        return nullptr;
    ++windowTheme.openCount;
    return &windowTheme;
}

long DrawThemeBackground(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect,
                         const TRect* clip)
{
    (void)stateId;
    QStyle* style = CurrentStyle();
    QPainter* painter = canvas.Painter();
    if (theme != &windowTheme || windowTheme.openCount <= 0 || !style)
        return E_HANDLE;
    if (!painter)
        return S_OK;
    painter->save();
    if (clip)
        painter->setClipRect(QRect(clip->Left, clip->Top, clip->Width(), clip->Height()), Qt::IntersectClip);
    QRect r(rect.Left, rect.Top, rect.Width(), rect.Height());
    if (partId == 1) {
        QStyleOptionTitleBar option;
        option.rect = r;
        option.palette = style->standardPalette();
        option.state = QStyle::State_Active | QStyle::State_Enabled;
        option.titleBarState = Qt::WindowActive;
        option.subControls = QStyle::SC_TitleBarLabel;
        style->drawComplexControl(QStyle::CC_TitleBar, &option, painter);
    } else {
        style->standardIcon(ButtonPixmap(partId)).paint(painter, r);
    }
    painter->restore();
    return S_OK;
}

long CloseThemeData(HTHEME theme)
{
    if (theme != &windowTheme || windowTheme.openCount <= 0)
        return E_HANDLE;
    --windowTheme.openCount;
    return S_OK;
}
