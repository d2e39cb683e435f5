#include "UxThemeParts.h"

#include "Controls.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionProgressBar>
#include <QStyleOptionTitleBar>
#include <QStyleOptionToolButton>

#include <cmath>

TColor ToColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

void AssignQtFont(TFont& font, const QFont& from)
{
    font.SetName(from.family().toStdString());
    const int pixels = from.pixelSize() > 0 ? from.pixelSize()
                                            : static_cast<int>(std::lround(from.pointSizeF() * font.PixelsPerInch / 72.0));
    font.SetHeight(-std::max(1, pixels));
    TFontStyles styles = 0;
    if (from.bold())
        styles |= fsBold;
    if (from.italic())
        styles |= fsItalic;
    if (from.underline())
        styles |= fsUnderline;
    if (from.strikeOut())
        styles |= fsStrikeOut;
    font.SetStyle(styles);
}

int ThemeStateCount(TThemeClass themeClass, int partId)
{
    switch (themeClass) {
    case TThemeClass::Window:
        return partId == WP_CAPTION ? 3
               : (partId == WP_MINBUTTON || partId == WP_MAXBUTTON || partId == WP_CLOSEBUTTON || partId == WP_RESTOREBUTTON) ? 4
                                                                                                                       : 0;
    case TThemeClass::Button:
        return partId == BP_PUSHBUTTON ? 5 : partId == BP_RADIOBUTTON ? 8 : partId == BP_CHECKBOX ? 12 : partId == BP_GROUPBOX ? 2 : 0;
    case TThemeClass::Edit: return partId == EP_EDITTEXT ? 6 : 0;
    case TThemeClass::ComboBox: return partId == CP_DROPDOWNBUTTON ? 4 : 0;
    case TThemeClass::Progress: return partId >= PP_BAR && partId <= PP_CHUNKVERT ? 1 : 0;
    case TThemeClass::ToolBar:
        return partId == TP_BUTTON || partId == TP_DROPDOWNBUTTON ? 6 : partId == TP_SEPARATOR ? 1 : 0;
    case TThemeClass::Spin: return partId == SPNP_UP || partId == SPNP_DOWN ? 4 : 0;
    case TThemeClass::ScrollBar:
        return partId == SBP_ARROWBTN ? 16 : partId == SBP_THUMBBTNHORZ || partId == SBP_THUMBBTNVERT ? 4 : 0;
    }
    return 0;
}

bool DecodePartState(TThemeClass themeClass, int partId, int stateId, TPartState& state)
{
    const int count = ThemeStateCount(themeClass, partId);
    if (count == 0 || stateId < 1 || stateId > count)
        return false;
    state = {};
    // Most parts: normal, hot, pressed, disabled, in groups of four.
    const int inGroup = (stateId - 1) % 4 + 1;
    const int group = (stateId - 1) / 4;
    if (themeClass == TThemeClass::Window && partId == WP_CAPTION) {
        state.Enabled = stateId != 3;  // active, inactive, disabled
        state.Focused = stateId == 1;
        return true;
    }
    if (themeClass == TThemeClass::Button && partId == BP_GROUPBOX) {
        state.Enabled = stateId == 1;
        return true;
    }
    if (themeClass == TThemeClass::Edit) {  // normal, hot, selected, disabled, focused, read-only
        state.Enabled = stateId != 4;
        state.Hot = stateId == 2;
        state.Focused = stateId == 3 || stateId == 5;
        return true;
    }
    if (themeClass == TThemeClass::Progress || (themeClass == TThemeClass::ToolBar && partId == TP_SEPARATOR))
        return true;
    if (themeClass == TThemeClass::ToolBar && stateId > 4) {  // checked, hot and checked
        state.Checked = true;
        state.Hot = stateId == 6;
        return true;
    }
    if (themeClass == TThemeClass::Button && partId == BP_PUSHBUTTON && stateId == PBS_DEFAULTED) {
        state.Defaulted = true;
        return true;
    }
    state.Hot = inGroup == TS_HOT;
    state.Pressed = inGroup == TS_PRESSED;
    state.Enabled = inGroup != TS_DISABLED;
    if (themeClass == TThemeClass::Button) {
        state.Checked = group == 1;
        state.Mixed = group == 2;
    }
    if (themeClass == TThemeClass::ScrollBar && partId == SBP_ARROWBTN)
        state.Arrow = group;
    return true;
}

bool IsFixedSizePart(TThemeClass themeClass, int partId)
{
    return (themeClass == TThemeClass::Button && (partId == BP_RADIOBUTTON || partId == BP_CHECKBOX)) ||
           (themeClass == TThemeClass::Window && partId != WP_CAPTION) ||
           (themeClass == TThemeClass::ScrollBar && partId == SBP_ARROWBTN);
}

QStyle* ThemeStyle(const TThemeData& data)
{
    // A window given a style of its own (SetWindowTheme) answers from it.
    return data.Window ? data.Window->style() : QApplication::style();
}

QPalette ThemePalette(const TThemeData& data, const TPartState& state)
{
    QPalette palette = ThemeStyle(data)->standardPalette();
    palette.setCurrentColorGroup(state.Enabled ? QPalette::Active : QPalette::Disabled);
    return palette;
}

QFont ThemeFont(const TThemeData& data)
{
    switch (data.Class) {
    case TThemeClass::Window: return QFontDatabase::systemFont(QFontDatabase::TitleFont);
    case TThemeClass::Button: return QApplication::font("QPushButton");
    case TThemeClass::Edit: return QApplication::font("QLineEdit");
    case TThemeClass::ComboBox: return QApplication::font("QComboBox");
    case TThemeClass::Progress: return QApplication::font("QProgressBar");
    case TThemeClass::ToolBar: return QApplication::font("QToolButton");
    case TThemeClass::Spin: return QApplication::font("QAbstractSpinBox");
    case TThemeClass::ScrollBar: return QApplication::font("QScrollBar");
    }
    return QApplication::font();
}

void InitThemeOption(QStyleOption& option, const TThemeData& data, const TPartState& state, const QRect& rect)
{
    option.rect = rect;
    option.palette = ThemePalette(data, state);
    option.state = QStyle::State_None;
    if (state.Enabled)
        option.state |= QStyle::State_Enabled;
    if (state.Hot)
        option.state |= QStyle::State_MouseOver;
    if (state.Pressed)
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    if (state.Checked)
        option.state |= QStyle::State_On;
    else if (state.Mixed)
        option.state |= QStyle::State_NoChange;
    else
        option.state |= QStyle::State_Off;
    if (state.Focused)
        option.state |= QStyle::State_HasFocus | QStyle::State_Active;
}

QSize ThemePartTrueSize(const TThemeData& data, int partId)
{
    QStyle* style = ThemeStyle(data);
    const int extent = style->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    switch (data.Class) {
    case TThemeClass::Window: {
        const int h = style->pixelMetric(QStyle::PM_TitleBarHeight);
        const int button = style->pixelMetric(QStyle::PM_TitleBarButtonSize);
        return partId == WP_CAPTION ? QSize(3 * button, h) : QSize(button, button);
    }
    case TThemeClass::Button:
        if (partId == BP_RADIOBUTTON)
            return {style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth), style->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight)};
        if (partId == BP_CHECKBOX)
            return {style->pixelMetric(QStyle::PM_IndicatorWidth), style->pixelMetric(QStyle::PM_IndicatorHeight)};
        if (partId == BP_PUSHBUTTON) {
            QStyleOptionButton option;
            InitThemeOption(option, data, {}, QRect());
            return style->sizeFromContents(QStyle::CT_PushButton, &option, QSize(0, 0));
        }
        return {2 * frame, 2 * frame};
    case TThemeClass::Edit: return {2 * frame, 2 * frame};
    case TThemeClass::ComboBox: return {extent, extent};
    case TThemeClass::Progress:
        return partId == PP_CHUNK ? QSize(style->pixelMetric(QStyle::PM_ProgressBarChunkWidth), extent)
               : partId == PP_CHUNKVERT ? QSize(extent, style->pixelMetric(QStyle::PM_ProgressBarChunkWidth))
                                        : QSize(2 * frame, 2 * frame);
    case TThemeClass::ToolBar: {
        if (partId == TP_SEPARATOR)
            return {style->pixelMetric(QStyle::PM_ToolBarSeparatorExtent), extent};
        const int icon = style->pixelMetric(QStyle::PM_ToolBarIconSize);
        const int margin = style->pixelMetric(QStyle::PM_ToolBarItemMargin) + style->pixelMetric(QStyle::PM_ButtonMargin);
        return {icon + 2 * margin + (partId == TP_DROPDOWNBUTTON ? style->pixelMetric(QStyle::PM_MenuButtonIndicator) : 0),
                icon + 2 * margin};
    }
    case TThemeClass::Spin: return {extent, extent / 2};
    case TThemeClass::ScrollBar:
        return partId == SBP_ARROWBTN ? QSize(extent, extent)
               : partId == SBP_THUMBBTNHORZ ? QSize(style->pixelMetric(QStyle::PM_ScrollBarSliderMin), extent)
                                            : QSize(extent, style->pixelMetric(QStyle::PM_ScrollBarSliderMin));
    }
    return {};
}

TThemeMargins ThemeContentMargins(const TThemeData& data, int partId)
{
    QStyle* style = ThemeStyle(data);
    int m = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    switch (data.Class) {
    case TThemeClass::Button:
        if (partId == BP_PUSHBUTTON)
            m += style->pixelMetric(QStyle::PM_ButtonMargin) / 2;
        else if (partId != BP_GROUPBOX)
            m = 0;
        break;
    case TThemeClass::ComboBox: m = style->pixelMetric(QStyle::PM_ComboBoxFrameWidth); break;
    case TThemeClass::Progress:
        if (partId == PP_CHUNK || partId == PP_CHUNKVERT)
            m = 0;
        break;
    case TThemeClass::ToolBar:
        m = partId == TP_SEPARATOR ? 0 : style->pixelMetric(QStyle::PM_ToolBarItemMargin) + style->pixelMetric(QStyle::PM_ButtonMargin) / 2;
        break;
    case TThemeClass::Window:
    case TThemeClass::Spin:
    case TThemeClass::ScrollBar: m = 1; break;
    case TThemeClass::Edit: break;
    }
    return {m, m, m, m};
}

namespace {

// A button's bevel with an arrow in it (drop-down, spin and scroll-bar arrow buttons).
void PaintArrowButton(QPainter& painter, QStyle* style, const QStyleOption& base, QStyle::PrimitiveElement arrow)
{
    QStyleOptionButton bevel;
    static_cast<QStyleOption&>(bevel) = base;
    style->drawPrimitive(QStyle::PE_PanelButtonBevel, &bevel, &painter);
    QStyleOption mark = base;
    const int inset = std::min(base.rect.width(), base.rect.height()) / 4;
    mark.rect = base.rect.adjusted(inset, inset, -inset, -inset);
    style->drawPrimitive(arrow, &mark, &painter);
}

QStyle::StandardPixmap CaptionButton(int partId)
{
    switch (partId) {
    case WP_MINBUTTON: return QStyle::SP_TitleBarMinButton;
    case WP_MAXBUTTON: return QStyle::SP_TitleBarMaxButton;
    case WP_RESTOREBUTTON: return QStyle::SP_TitleBarNormalButton;
    default: return QStyle::SP_TitleBarCloseButton;
    }
}

}  // namespace

bool PaintThemePart(QPainter& painter, const TThemeData& data, int partId, int stateId, const QRect& rect)
{
    TPartState state;
    if (!DecodePartState(data.Class, partId, stateId, state))
        return false;
    QStyle* style = ThemeStyle(data);
    switch (data.Class) {
    case TThemeClass::Window:
        if (partId == WP_CAPTION) {
            QStyleOptionTitleBar option;
            InitThemeOption(option, data, state, rect);
            option.titleBarState = state.Focused ? Qt::WindowActive : Qt::WindowNoState;
            if (state.Focused)
                option.state |= QStyle::State_Active;
            option.subControls = QStyle::SC_TitleBarLabel;
            style->drawComplexControl(QStyle::CC_TitleBar, &option, &painter);
        } else {
            style->standardIcon(CaptionButton(partId))
                .paint(&painter, rect, Qt::AlignCenter, state.Enabled ? QIcon::Normal : QIcon::Disabled,
                       state.Pressed ? QIcon::On : QIcon::Off);
        }
        return true;
    case TThemeClass::Button: {
        QStyleOptionButton option;
        InitThemeOption(option, data, state, rect);
        if (partId == BP_PUSHBUTTON) {
            if (state.Defaulted)
                option.features |= QStyleOptionButton::DefaultButton;
            style->drawControl(QStyle::CE_PushButtonBevel, &option, &painter);
        } else if (partId == BP_RADIOBUTTON) {
            style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &option, &painter);
        } else if (partId == BP_CHECKBOX) {
            style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
        } else {
            QStyleOptionFrame frame;
            InitThemeOption(frame, data, state, rect);
            frame.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
            style->drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &painter);
        }
        return true;
    }
    case TThemeClass::Edit: {
        QStyleOptionFrame option;
        InitThemeOption(option, data, state, rect);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        style->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter);
        return true;
    }
    case TThemeClass::ComboBox: {
        QStyleOption option;
        InitThemeOption(option, data, state, rect);
        PaintArrowButton(painter, style, option, QStyle::PE_IndicatorArrowDown);
        return true;
    }
    case TThemeClass::Progress: {
        QStyleOptionProgressBar option;
        InitThemeOption(option, data, state, rect);
        const bool vertical = partId == PP_BARVERT || partId == PP_CHUNKVERT;
        if (!vertical)
            option.state |= QStyle::State_Horizontal;
        option.minimum = 0;
        option.maximum = 100;
        option.progress = partId == PP_CHUNK || partId == PP_CHUNKVERT ? 100 : 0;
        style->drawControl(option.progress ? QStyle::CE_ProgressBarContents : QStyle::CE_ProgressBarGroove, &option,
                           &painter);
        return true;
    }
    case TThemeClass::ToolBar: {
        QStyleOptionToolButton option;
        InitThemeOption(option, data, state, rect);
        if (partId == TP_SEPARATOR) {
            option.state |= QStyle::State_Horizontal;
            style->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &option, &painter);
            return true;
        }
        style->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter);
        if (partId == TP_DROPDOWNBUTTON) {
            QStyleOption arrow = option;
            const int w = style->pixelMetric(QStyle::PM_MenuButtonIndicator);
            arrow.rect = QRect(rect.right() - w, rect.top(), w, rect.height());
            style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter);
        }
        return true;
    }
    case TThemeClass::Spin: {
        QStyleOption option;
        InitThemeOption(option, data, state, rect);
        PaintArrowButton(painter, style, option, partId == SPNP_UP ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown);
        return true;
    }
    case TThemeClass::ScrollBar: {
        if (partId == SBP_ARROWBTN) {
            QStyleOption option;
            InitThemeOption(option, data, state, rect);
            const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown,
                                                       QStyle::PE_IndicatorArrowLeft, QStyle::PE_IndicatorArrowRight};
            PaintArrowButton(painter, style, option, arrows[state.Arrow]);
            return true;
        }
        // The thumb is a raised button the length of the rectangle.
        QStyleOptionButton option;
        InitThemeOption(option, data, state, rect);
        if (partId == SBP_THUMBBTNHORZ)
            option.state |= QStyle::State_Horizontal;
        style->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter);
        return true;
    }
    }
    return false;
}

QImage ThemePartProbe(const TThemeData& data, int partId, int stateId)
{
    const QSize natural = ThemePartTrueSize(data, partId);
    QImage image(std::max(natural.width(), 24), std::max(natural.height(), 24), QImage::Format_ARGB32_Premultiplied);
    if (IsFixedSizePart(data.Class, partId))
        image = QImage(natural.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintThemePart(painter, data, partId, stateId, image.rect());
    return image;
}
