#pragma once
// Inside the visual-styles calls: open handles, the theme classes and their parts and states,
// and what of the widget style a handle answers from.
#include "UxTheme.h"

#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QFont;
class QStyle;
class QStyleOption;

enum class TThemeClass { Window, Button, Edit, ComboBox, Progress, ToolBar, Spin, ScrollBar };

struct TThemeData {
    TThemeClass Class;
    QPointer<QWidget> Window;  // the window it was opened for, if any
};

// The data of an open handle; nullptr for anything else.
TThemeData* ThemeDataOf(HTHEME theme);

// A part and state taken apart.
struct TPartState {
    bool Enabled = true;
    bool Hot = false;
    bool Pressed = false;
    bool Checked = false;
    bool Mixed = false;
    bool Defaulted = false;
    bool Focused = false;
    int Arrow = 0;  // scroll-bar arrows: 0 up, 1 down, 2 left, 3 right
};

// How many states the part has; 0 for a part the class does not have.
int ThemeStateCount(TThemeClass themeClass, int partId);
// Valid part and state: the decoded state; false otherwise.
bool DecodePartState(TThemeClass themeClass, int partId, int stateId, TPartState& state);
// Parts drawn at one size whatever the rectangle (marks, caption buttons, scroll arrows).
bool IsFixedSizePart(TThemeClass themeClass, int partId);

// Gives answer the handle's data and the decoded part and state (state 0 standing for the
// first), or answers E_HANDLE for a handle that is not open and E_INVALIDARG for a part or
// state the class does not have.
template <typename Answer>
long ForPart(HTHEME theme, int partId, int stateId, Answer answer)
{
    TThemeData* data = ThemeDataOf(theme);
    if (!data)
        return E_HANDLE;
    TPartState state;
    if (!DecodePartState(data->Class, partId, stateId == 0 ? 1 : stateId, state))
        return E_INVALIDARG;
    return answer(*data, state);
}

// The style the handle answers from: its window's, else the program's.
QStyle* ThemeStyle(const TThemeData& data);
// The style's palette, its disabled colours for a disabled state.
QPalette ThemePalette(const TThemeData& data, const TPartState& state);
// The font the style gives the class's controls.
QFont ThemeFont(const TThemeData& data);
// The option's rectangle, palette and state flags.
void InitThemeOption(QStyleOption& option, const TThemeData& data, const TPartState& state, const QRect& rect);
// The part's natural size, from the style's metrics.
QSize ThemePartTrueSize(const TThemeData& data, int partId);
// Border round the part's content (left, top, right, bottom), from the style's metrics.
TThemeMargins ThemeContentMargins(const TThemeData& data, int partId);
// Draws the part; false for a part the class does not have.
bool PaintThemePart(QPainter& painter, const TThemeData& data, int partId, int stateId, const QRect& rect);
// The part drawn in the given state on a transparent ground, to learn its shape.
QImage ThemePartProbe(const TThemeData& data, int partId, int stateId);

inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect ToTRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }
TColor ToColor(const QColor& color);
// The class library's description of a Qt font.
void AssignQtFont(TFont& font, const QFont& from);
