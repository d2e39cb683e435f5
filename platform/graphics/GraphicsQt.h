#pragma once
// Our colours, rectangles and strings as Qt's, for the files that draw through Qt.
#include "Graphics.h"

#include <QColor>
#include <QRect>
#include <QString>

namespace graphics_qt {
inline QColor ToQColor(TColor c)
{
    TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline QString Q(const String& s) { return QString::fromStdString(s); }
}  // namespace graphics_qt
