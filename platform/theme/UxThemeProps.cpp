// A theme's properties and the system values, read from the widget style.
#include "UxThemeParts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>

namespace {

// Where a class's controls take their fill and text from.
QPalette::ColorRole FillRole(const TThemeData& data, int partId)
{
    switch (data.Class) {
    case TThemeClass::Window: return partId == WP_CAPTION ? QPalette::Highlight : QPalette::Button;
    case TThemeClass::Edit: return QPalette::Base;
    case TThemeClass::Progress: return partId == PP_CHUNK || partId == PP_CHUNKVERT ? QPalette::Highlight : QPalette::Base;
    case TThemeClass::Button: return partId == BP_GROUPBOX ? QPalette::Window : QPalette::Button;
    default: return QPalette::Button;
    }
}

QPalette::ColorRole TextRole(const TThemeData& data, int partId)
{
    switch (data.Class) {
    case TThemeClass::Window: return partId == WP_CAPTION ? QPalette::HighlightedText : QPalette::ButtonText;
    case TThemeClass::Edit: return QPalette::Text;
    case TThemeClass::Button: return partId == BP_GROUPBOX ? QPalette::WindowText : QPalette::ButtonText;
    default: return QPalette::ButtonText;
    }
}

// The number a metric or integer property has, when the part has it.
bool MetricOf(const TThemeData& data, int partId, int propId, int& value)
{
    QStyle* style = ThemeStyle(data);
    const QSize natural = ThemePartTrueSize(data, partId);
    switch (propId) {
    case TMT_BORDERSIZE: value = style->pixelMetric(QStyle::PM_DefaultFrameWidth); return true;
    case TMT_WIDTH: value = natural.width(); return true;
    case TMT_HEIGHT: value = natural.height(); return true;
    case TMT_PROGRESSCHUNKSIZE:
    case TMT_PROGRESSSPACESIZE:
        if (data.Class != TThemeClass::Progress)
            return false;
        // A continuous bar: its chunks have no space between them.
        value = propId == TMT_PROGRESSCHUNKSIZE ? style->pixelMetric(QStyle::PM_ProgressBarChunkWidth) : 0;
        return true;
    default: return false;
    }
}

QFont SysFont(int fontId, bool& known)
{
    known = true;
    switch (fontId) {
    case TMT_CAPTIONFONT: return QFontDatabase::systemFont(QFontDatabase::TitleFont);
    case TMT_SMALLCAPTIONFONT: return QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont);
    case TMT_MENUFONT: return QApplication::font("QMenu");
    case TMT_STATUSFONT: return QApplication::font("QStatusBar");
    case TMT_MSGBOXFONT: return QApplication::font("QMessageBox");
    case TMT_ICONTITLEFONT: return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    default: known = false; return {};
    }
}

}  // namespace

long GetThemeColor(HTHEME theme, int partId, int stateId, int propId, TColor& color)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState& state) -> long {
        const QPalette palette = ThemePalette(data, state);
        QPalette::ColorRole role;
        switch (propId) {
        case TMT_FILLCOLOR: role = FillRole(data, partId); break;
        case TMT_TEXTCOLOR: role = TextRole(data, partId); break;
        case TMT_BORDERCOLOR: role = QPalette::Dark; break;
        case TMT_EDGELIGHTCOLOR: role = QPalette::Midlight; break;
        case TMT_EDGEHIGHLIGHTCOLOR: role = QPalette::Light; break;
        case TMT_EDGESHADOWCOLOR: role = QPalette::Mid; break;
        case TMT_EDGEDKSHADOWCOLOR: role = QPalette::Shadow; break;
        case TMT_EDGEFILLCOLOR: role = QPalette::Button; break;
        default: return E_PROP_ID_UNSUPPORTED;
        }
        color = ToColor(palette.color(role));
        return S_OK;
    });
}

long GetThemeMetric(HTHEME theme, TCanvas*, int partId, int stateId, int propId, int& value)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        return MetricOf(data, partId, propId, value) ? S_OK : E_PROP_ID_UNSUPPORTED;
    });
}

long GetThemeInt(HTHEME theme, int partId, int stateId, int propId, int& value)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState& state) -> long {
        if (propId == TMT_IMAGECOUNT) {
            value = ThemeStateCount(data.Class, partId);  // one picture a state
            return S_OK;
        }
        return MetricOf(data, partId, propId, value) ? S_OK : E_PROP_ID_UNSUPPORTED;
    });
}

long GetThemeBool(HTHEME theme, int partId, int stateId, int propId, bool& value)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        if (propId == TMT_TRANSPARENT)
            value = IsThemeBackgroundPartiallyTransparent(theme, partId, stateId);
        else if (propId == TMT_BORDERONLY)
            value = data.Class == TThemeClass::Button && partId == BP_GROUPBOX;
        else
            return E_PROP_ID_UNSUPPORTED;
        return S_OK;
    });
}

long GetThemeEnumValue(HTHEME theme, int partId, int stateId, int propId, int& value)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        if (propId == TMT_BGTYPE) {
            value = BT_BORDERFILL;  // styles draw a border and fill it, from code
            return S_OK;
        }
        if (propId != TMT_BORDERTYPE && propId != TMT_FILLTYPE)
            return E_PROP_ID_UNSUPPORTED;
        // Told by the part as the style draws it.
        const QImage probe = ThemePartProbe(data, partId, stateId == 0 ? 1 : stateId);
        if (propId == TMT_BORDERTYPE) {
            const bool roundMark = data.Class == TThemeClass::Button && partId == BP_RADIOBUTTON;
            value = roundMark ? BT_ELLIPSE : qAlpha(probe.pixel(0, 0)) < 255 ? BT_ROUNDRECT : BT_RECT;
        } else {
            const int x = probe.width() / 2;
            const QRgb top = probe.pixel(x, probe.height() / 4), bottom = probe.pixel(x, probe.height() * 3 / 4);
            value = top == bottom ? FT_SOLID : FT_VERTGRADIENT;
        }
        return S_OK;
    });
}

long GetThemePosition(HTHEME theme, int partId, int stateId, int propId, TPoint& point)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState& state) -> long {
        if (propId != TMT_OFFSET)
            return E_PROP_ID_UNSUPPORTED;
        // How far a pressed button's content moves.
        QStyle* style = ThemeStyle(data);
        point = state.Pressed ? TPoint{style->pixelMetric(QStyle::PM_ButtonShiftHorizontal),
                                       style->pixelMetric(QStyle::PM_ButtonShiftVertical)}
                              : TPoint{0, 0};
        return S_OK;
    });
}

long GetThemeRect(HTHEME theme, int partId, int stateId, int propId, TRect& rect)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        if (propId != TMT_DEFAULTPANESIZE)
            return E_PROP_ID_UNSUPPORTED;
        const QSize natural = ThemePartTrueSize(data, partId);
        rect = {0, 0, natural.width(), natural.height()};
        return S_OK;
    });
}

long GetThemeMargins(HTHEME theme, TCanvas*, int partId, int stateId, int propId, const TRect*, TThemeMargins& margins)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        QStyle* style = ThemeStyle(data);
        switch (propId) {
        case TMT_CONTENTMARGINS: margins = ThemeContentMargins(data, partId); return S_OK;
        case TMT_SIZINGMARGINS: {
            // The border keeps its size when the part stretches.
            const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
            margins = {frame, frame, frame, frame};
            return S_OK;
        }
        case TMT_CAPTIONMARGINS:
            if (data.Class != TThemeClass::Window || partId != WP_CAPTION)
                return E_PROP_ID_UNSUPPORTED;
            // Room for the window's icon on the left and its three buttons on the right.
            margins = {style->pixelMetric(QStyle::PM_TitleBarHeight), 3 * style->pixelMetric(QStyle::PM_TitleBarButtonSize), 0, 0};
            return S_OK;
        default: return E_PROP_ID_UNSUPPORTED;
        }
    });
}

long GetThemeIntList(HTHEME theme, int partId, int stateId, int propId, std::vector<int>& values)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState& state) -> long {
        if (propId != TMT_TRANSITIONDURATIONS)
            return E_PROP_ID_UNSUPPORTED;
        // From every state to every state, the style's one animation time.
        const int states = ThemeStateCount(data.Class, partId);
        values.assign(states * states, ThemeStyle(data)->styleHint(QStyle::SH_Widget_Animation_Duration));
        return S_OK;
    });
}

long GetThemeString(HTHEME theme, int partId, int stateId, int propId, String& text)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        if (propId != TMT_DISPLAYNAME)
            return E_PROP_ID_UNSUPPORTED;
        text = ThemeStyle(data)->name().toStdString();
        return S_OK;
    });
}

long GetThemeFilename(HTHEME theme, int partId, int stateId, int, String&)
{
    return ForPart(theme, partId, stateId, [&](TThemeData&, const TPartState&) -> long {
        return E_PROP_ID_UNSUPPORTED;
    });
}

long GetThemeFont(HTHEME theme, TCanvas*, int partId, int stateId, int propId, TFont& font)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        if (propId != TMT_FONT && propId != TMT_GLYPHFONT)
            return E_PROP_ID_UNSUPPORTED;
        AssignQtFont(font, ThemeFont(data));
        return S_OK;
    });
}

long GetThemeTextMetrics(HTHEME theme, TCanvas&, int partId, int stateId, TThemeTextMetric& metric)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        const QFont font = ThemeFont(data);
        const QFontMetrics m(font);
        metric.Height = m.height();
        metric.Ascent = m.ascent();
        metric.Descent = m.descent();
        metric.InternalLeading = std::max(0, m.height() - (font.pixelSize() > 0 ? font.pixelSize() : m.ascent()));
        metric.ExternalLeading = std::max(0, m.leading());
        metric.AveCharWidth = m.averageCharWidth();
        metric.MaxCharWidth = m.maxWidth();
        metric.Weight = font.bold() ? 700 : 400;
        return S_OK;
    });
}

long GetThemeTextExtent(HTHEME theme, TCanvas&, int partId, int stateId, const String& text, unsigned flags,
                        const TRect* bounding, TRect& extent)
{
    return ForPart(theme, partId, stateId, [&](TThemeData& data, const TPartState&) -> long {
        const QFontMetrics m(ThemeFont(data));
        const QString s = QString::fromStdString(text);
        const int width = bounding && (flags & DT_WORDBREAK) ? bounding->Width() : 0;
        const QRect used = width > 0 ? m.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, s)
                                     : m.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), (flags & DT_SINGLELINE) ? 0 : Qt::TextExpandTabs, s);
        const int left = bounding ? bounding->Left : 0, top = bounding ? bounding->Top : 0;
        extent = {left, top, left + used.width(), top + used.height()};
        return S_OK;
    });
}

TColor GetThemeSysColor(HTHEME theme, int colorId)
{
    const TThemeData* data = ThemeDataOf(theme);
    const QPalette palette = data ? ThemeStyle(*data)->standardPalette() : QApplication::style()->standardPalette();
    switch (colorId) {
    case COLOR_WINDOW: return ToColor(palette.color(QPalette::Base));
    case COLOR_WINDOWTEXT: return ToColor(palette.color(QPalette::WindowText));
    case COLOR_HIGHLIGHT: return ToColor(palette.color(QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT: return ToColor(palette.color(QPalette::HighlightedText));
    case COLOR_BTNFACE: return ToColor(palette.color(QPalette::Button));
    case COLOR_BTNSHADOW: return ToColor(palette.color(QPalette::Mid));
    case COLOR_GRAYTEXT: return ToColor(palette.color(QPalette::Disabled, QPalette::Text));
    case COLOR_BTNTEXT: return ToColor(palette.color(QPalette::ButtonText));
    case COLOR_BTNHIGHLIGHT: return ToColor(palette.color(QPalette::Light));
    case COLOR_3DDKSHADOW: return ToColor(palette.color(QPalette::Shadow));
    case COLOR_3DLIGHT: return ToColor(palette.color(QPalette::Midlight));
    case COLOR_INFOTEXT: return ToColor(palette.color(QPalette::ToolTipText));
    case COLOR_INFOBK: return ToColor(palette.color(QPalette::ToolTipBase));
    default: return ColorToRGB(SystemColor(colorId));  // colours a style has no word for
    }
}

TBrush GetThemeSysColorBrush(HTHEME theme, int colorId)
{
    TBrush brush;
    brush.Color = GetThemeSysColor(theme, colorId);
    return brush;
}

bool GetThemeSysBool(HTHEME theme, int boolId)
{
    const TThemeData* data = ThemeDataOf(theme);
    QStyle* style = data ? ThemeStyle(*data) : QApplication::style();
    // Menus drawn without a raised frame are flat.
    return boolId == TMT_FLATMENUS && style->pixelMetric(QStyle::PM_MenuPanelWidth) <= 1;
}

int GetThemeSysSize(HTHEME theme, int sizeId)
{
    const TThemeData* data = ThemeDataOf(theme);
    QStyle* style = data ? ThemeStyle(*data) : QApplication::style();
    switch (sizeId) {
    case SM_CXBORDER: return 1;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return style->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CXSIZE:
    case SM_CYSIZE: return style->pixelMetric(QStyle::PM_TitleBarButtonSize);
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return style->pixelMetric(QStyle::PM_TitleBarButtonIconSize);
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return style->pixelMetric(QStyle::PM_SmallIconSize) + 2 * style->pixelMetric(QStyle::PM_MenuHMargin);
    default: return 0;
    }
}

long GetThemeSysFont(HTHEME, int fontId, TFont& font)
{
    bool known = false;
    const QFont chosen = SysFont(fontId, known);
    if (!known)
        return E_INVALIDARG;
    AssignQtFont(font, chosen);
    return S_OK;
}

long GetThemeSysString(HTHEME theme, int stringId, String&)
{
    if (theme && !ThemeDataOf(theme))
        return E_HANDLE;
    return stringId == TMT_CSSNAME || stringId == TMT_XMLNAME ? E_PROP_ID_UNSUPPORTED : E_INVALIDARG;
}

long GetThemeSysInt(HTHEME theme, int intId, int& value)
{
    if (theme && !ThemeDataOf(theme))
        return E_HANDLE;
    if (intId != TMT_MINCOLORDEPTH)
        return E_PROP_ID_UNSUPPORTED;
    QScreen* screen = QGuiApplication::primaryScreen();
    value = screen ? screen->depth() : 24;
    return S_OK;
}
