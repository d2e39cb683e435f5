// The visual-styles calls answer from the widget style: what each answers, part by part.
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "UxTheme.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QStyle* Style() { return QApplication::style(); }
TColor Role(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active)
{
    const QColor c = Style()->standardPalette().color(group, role);
    return RGB(c.red(), c.green(), c.blue());
}
int Metric(QStyle::PixelMetric m) { return Style()->pixelMetric(m); }

// A theme class opened for no window, closed again at the end.
struct Theme {
    explicit Theme(const char* classList) : handle(OpenThemeData(nullptr, classList)) {}
    ~Theme() { CloseThemeData(handle); }
    HTHEME handle;
};

// Pixels of a bitmap filled with one colour that are no longer that colour, inside and outside r.
struct Ink {
    int inside = 0, outside = 0;
};
Ink InkAround(TBitmap& b, const TRect& r, TColor ground)
{
    b.Canvas().Release();
    Ink ink;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixel(x, y) != ground)
                ++(PtInRect(r, {x, y}) ? ink.inside : ink.outside);
    return ink;
}
// An 80 x 60 bitmap of one colour.
struct Ground : TBitmap {
    explicit Ground(TColor colour) : TBitmap(80, 60, pf24bit)
    {
        Canvas().Brush.Color = colour;
        Canvas().FillRect({0, 0, 80, 60});
    }
};

TEST(UxTheme, HandlesOpenForKnownClassesOnly)
{
    const std::vector<std::pair<const char*, bool>> lists{
        {"window", true}, {"BUTTON", true}, {"nothing;Edit", true}, {"ComboBox", true}, {"progress", true},
        {"toolbar", true}, {"spin", true}, {"scrollbar", true}, {"nothing", false}, {"", false}};
    for (const auto& [list, opens] : lists) {
        HTHEME theme = OpenThemeData(nullptr, list);
        EXPECT_EQ(theme != nullptr, opens) << list;
        if (theme) {
            EXPECT_EQ(CloseThemeData(theme), S_OK);
            EXPECT_EQ(CloseThemeData(theme), E_HANDLE) << "closed once only";
        }
    }
    // A closed handle answers nothing.
    HTHEME closed = OpenThemeData(nullptr, "button");
    CloseThemeData(closed);
    Ground b(clWhite);
    TColor colour;
    int n;
    EXPECT_EQ(DrawThemeBackground(closed, b.Canvas(), BP_PUSHBUTTON, 1, {0, 0, 10, 10}, nullptr), E_HANDLE);
    EXPECT_EQ(GetThemeColor(closed, BP_PUSHBUTTON, 1, TMT_FILLCOLOR, colour), E_HANDLE);
    EXPECT_EQ(GetThemeInt(closed, BP_PUSHBUTTON, 1, TMT_IMAGECOUNT, n), E_HANDLE);
    EXPECT_FALSE(IsThemePartDefined(closed, BP_PUSHBUTTON, 1));
}

TEST(UxTheme, WindowsKeepTheirThemeAndCanBeGivenAnother)
{
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    EXPECT_EQ(GetWindowTheme(panel), nullptr);
    HTHEME theme = OpenThemeData(panel, "button");
    EXPECT_EQ(GetWindowTheme(panel), theme);
    CloseThemeData(theme);
    EXPECT_EQ(GetWindowTheme(panel), nullptr);

    EXPECT_EQ(SetWindowTheme(panel, " ", " "), S_OK);  // no theme for this window
    EXPECT_EQ(OpenThemeData(panel, "button"), nullptr);
    EXPECT_EQ(SetWindowTheme(panel, "Windows", ""), S_OK);
    Theme other("button");
    HTHEME own = OpenThemeData(panel, "button");
    ASSERT_NE(own, nullptr);
    String name;
    EXPECT_EQ(GetThemeString(own, BP_PUSHBUTTON, 1, TMT_DISPLAYNAME, name), S_OK);
    EXPECT_EQ(name, "windows");
    CloseThemeData(own);
    EXPECT_EQ(SetWindowTheme(panel, "no such style", ""), E_INVALIDARG);
    EXPECT_EQ(SetWindowTheme(panel, "", ""), S_OK);  // the program's style again
    EXPECT_EQ(panel->Widget()->style(), Style());

    EXPECT_TRUE(IsThemeActive());
    EXPECT_TRUE(IsAppThemed());
    EnableTheming(false);
    EXPECT_FALSE(IsThemeActive());
    EXPECT_EQ(OpenThemeData(nullptr, "button"), nullptr);
    EnableTheming(true);
    EXPECT_TRUE(IsThemeActive());
}

TEST(UxTheme, BackgroundsAreDrawnInsideTheirRectangle)
{
    struct Case {
        const char* cls;
        int part, state;
    };
    const std::vector<Case> cases{
        {"window", WP_CAPTION, 1},       {"window", WP_CLOSEBUTTON, 1},   {"button", BP_PUSHBUTTON, TS_HOT},
        {"button", BP_RADIOBUTTON, 5},   {"button", BP_CHECKBOX, 5},      {"button", BP_GROUPBOX, 1},
        {"edit", EP_EDITTEXT, 1},        {"combobox", CP_DROPDOWNBUTTON, 1}, {"progress", PP_CHUNK, 1},
        {"toolbar", TP_BUTTON, TS_HOT},  {"spin", SPNP_UP, 1},            {"scrollbar", SBP_ARROWBTN, 9},
        {"scrollbar", SBP_THUMBBTNVERT, 1}};
    const TRect r{10, 10, 50, 40};
    for (const Case& c : cases) {
        Theme theme(c.cls);
        Ground b(RGB(1, 2, 3));
        EXPECT_EQ(DrawThemeBackground(theme.handle, b.Canvas(), c.part, c.state, r, nullptr), S_OK) << c.cls << c.part;
        const Ink ink = InkAround(b, r, RGB(1, 2, 3));
        EXPECT_GT(ink.inside, 0) << c.cls << " part " << c.part;
        EXPECT_EQ(ink.outside, 0) << c.cls << " part " << c.part;
    }
    Theme button("button");
    Ground b(clWhite);
    EXPECT_EQ(DrawThemeBackground(button.handle, b.Canvas(), 99, 1, r, nullptr), E_INVALIDARG);
    EXPECT_EQ(DrawThemeBackground(button.handle, b.Canvas(), BP_PUSHBUTTON, 9, r, nullptr), E_INVALIDARG);
    const TRect clip{10, 10, 20, 40};  // only the clip's part is drawn
    EXPECT_EQ(DrawThemeBackground(button.handle, b.Canvas(), BP_PUSHBUTTON, 1, r, &clip), S_OK);
    EXPECT_EQ(InkAround(b, clip, clWhite).outside, 0);
}

TEST(UxTheme, EdgesTextIconsAndTheParentAreDrawn)
{
    Theme button("button");
    Ground b(clWhite);
    TRect content;
    EXPECT_EQ(DrawThemeEdge(button.handle, b.Canvas(), BP_PUSHBUTTON, 1, {0, 0, 20, 20}, EDGE_RAISED,
                            BF_RECT | BF_ADJUST | BF_MIDDLE, &content),
              S_OK);
    EXPECT_EQ(content, (TRect{2, 2, 18, 18}));
    b.Canvas().Release();
    EXPECT_EQ(b.Canvas().Pixel(0, 5), Role(QPalette::Midlight));
    EXPECT_EQ(b.Canvas().Pixel(19, 5), Role(QPalette::Shadow));
    EXPECT_EQ(b.Canvas().Pixel(1, 5), Role(QPalette::Light));
    EXPECT_EQ(b.Canvas().Pixel(10, 10), Role(QPalette::Button));

    Ground text(clWhite);
    EXPECT_EQ(DrawThemeText(button.handle, text.Canvas(), BP_PUSHBUTTON, 1, "Wide", DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                            0, {0, 0, 80, 60}),
              S_OK);
    EXPECT_GT(InkAround(text, {20, 15, 60, 45}, clWhite).inside, 0);

    TImageList images(nullptr, 8, 8);
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images.AddImage(red);
    Ground icon(clWhite);
    EXPECT_EQ(DrawThemeIcon(button.handle, icon.Canvas(), BP_PUSHBUTTON, 1, {0, 0, 80, 60}, images, 0), S_OK);
    icon.Canvas().Release();
    EXPECT_EQ(icon.Canvas().Pixel(40, 30), RGB(255, 0, 0));
    EXPECT_EQ(icon.Canvas().Pixel(30, 30), clWhite);
    EXPECT_EQ(DrawThemeIcon(button.handle, icon.Canvas(), BP_PUSHBUTTON, 1, {0, 0, 80, 60}, images, 1), E_INVALIDARG);

    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    form.SetColor(RGB(0, 128, 0));
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 40, 40);
    Ground under(clWhite);
    EXPECT_EQ(DrawThemeParentBackground(panel, under.Canvas(), nullptr), S_OK);
    under.Canvas().Release();
    EXPECT_EQ(under.Canvas().Pixel(5, 5), RGB(0, 128, 0));
}

TEST(UxTheme, GeometryComesFromTheStylesMetrics)
{
    Theme button("button");
    const int frame = Metric(QStyle::PM_DefaultFrameWidth);
    const int pushMargin = frame + Metric(QStyle::PM_ButtonMargin) / 2;
    TRect content, extent;
    EXPECT_EQ(GetThemeBackgroundContentRect(button.handle, nullptr, BP_PUSHBUTTON, 1, {0, 0, 60, 30}, content), S_OK);
    EXPECT_EQ(content, (TRect{pushMargin, pushMargin, 60 - pushMargin, 30 - pushMargin}));
    EXPECT_EQ(GetThemeBackgroundExtent(button.handle, nullptr, BP_PUSHBUTTON, 1, content, extent), S_OK);
    EXPECT_EQ(extent, (TRect{0, 0, 60, 30}));

    std::vector<TRect> region;
    EXPECT_EQ(GetThemeBackgroundRegion(button.handle, nullptr, BP_PUSHBUTTON, 1, {0, 0, 20, 20}, region), S_OK);
    EXPECT_EQ(region, std::vector<TRect>{(TRect{0, 0, 20, 20})});
    EXPECT_EQ(GetThemeBackgroundRegion(button.handle, nullptr, BP_RADIOBUTTON, 1, {0, 0, 20, 20}, region), S_OK);
    EXPECT_EQ(region.size(), 20u);  // a span a row of the round mark
    EXPECT_LT(region.front().Width(), region[10].Width());

    struct Hit {
        unsigned options;
        TPoint at;
        int code;
    };
    for (const Hit& h : {Hit{HTTB_BACKGROUND, {30, 15}, HTCLIENT}, Hit{HTTB_BACKGROUND, {70, 15}, HTNOWHERE},
                         Hit{HTTB_BACKGROUND, {0, 0}, HTCLIENT}, Hit{HTTB_FIXEDBORDER, {0, 0}, HTTOPLEFT},
                         Hit{HTTB_FIXEDBORDER, {59, 15}, HTRIGHT}, Hit{HTTB_FIXEDBORDER, {30, 29}, HTBOTTOM},
                         Hit{HTTB_FIXEDBORDER, {30, 15}, HTCLIENT}}) {
        int code = -1;
        EXPECT_EQ(HitTestThemeBackground(button.handle, nullptr, BP_PUSHBUTTON, 1, h.options, {0, 0, 60, 30}, h.at, code),
                  S_OK);
        EXPECT_EQ(code, h.code) << h.at.X << "," << h.at.Y << " options " << h.options;
    }

    TPoint size;
    EXPECT_EQ(GetThemePartSize(button.handle, nullptr, BP_RADIOBUTTON, 1, nullptr, TS_TRUE, size), S_OK);
    EXPECT_EQ(size, (TPoint{Metric(QStyle::PM_ExclusiveIndicatorWidth), Metric(QStyle::PM_ExclusiveIndicatorHeight)}));
    const TRect big{0, 0, 90, 40};
    EXPECT_EQ(GetThemePartSize(button.handle, nullptr, BP_RADIOBUTTON, 1, &big, TS_DRAW, size), S_OK);
    EXPECT_EQ(size.X, Metric(QStyle::PM_ExclusiveIndicatorWidth));  // marks keep their size
    EXPECT_EQ(GetThemePartSize(button.handle, nullptr, BP_PUSHBUTTON, 1, &big, TS_DRAW, size), S_OK);
    EXPECT_EQ(size, (TPoint{90, 40}));  // faces stretch

    EXPECT_TRUE(IsThemePartDefined(button.handle, BP_CHECKBOX, 12));
    EXPECT_FALSE(IsThemePartDefined(button.handle, BP_CHECKBOX, 13));
    EXPECT_FALSE(IsThemePartDefined(button.handle, 9, 1));
    // The style tells: a round mark lets the ground through, a square bevel of the plain
    // "Windows" style does not.
    EXPECT_TRUE(IsThemeBackgroundPartiallyTransparent(button.handle, BP_RADIOBUTTON, 1));
    TForm form(nullptr);
    ASSERT_EQ(SetWindowTheme(&form, "Windows", ""), S_OK);
    HTHEME square = OpenThemeData(&form, "button");
    EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(square, BP_PUSHBUTTON, 1));
    CloseThemeData(square);
}

TEST(UxTheme, PropertiesComeFromThePaletteMetricsAndFonts)
{
    Theme button("button"), edit("edit"), progress("progress");
    struct ColourCase {
        HTHEME theme;
        int part, state, prop;
        TColor expected;
    };
    for (const ColourCase& c : {ColourCase{button.handle, BP_PUSHBUTTON, 1, TMT_FILLCOLOR, Role(QPalette::Button)},
                                ColourCase{button.handle, BP_PUSHBUTTON, 1, TMT_TEXTCOLOR, Role(QPalette::ButtonText)},
                                ColourCase{button.handle, BP_PUSHBUTTON, TS_DISABLED, TMT_TEXTCOLOR,
                                           Role(QPalette::ButtonText, QPalette::Disabled)},
                                ColourCase{edit.handle, EP_EDITTEXT, 1, TMT_FILLCOLOR, Role(QPalette::Base)},
                                ColourCase{edit.handle, EP_EDITTEXT, 1, TMT_TEXTCOLOR, Role(QPalette::Text)},
                                ColourCase{progress.handle, PP_CHUNK, 1, TMT_FILLCOLOR, Role(QPalette::Highlight)},
                                ColourCase{button.handle, BP_PUSHBUTTON, 1, TMT_EDGEDKSHADOWCOLOR, Role(QPalette::Shadow)}}) {
        TColor colour = clNone;
        EXPECT_EQ(GetThemeColor(c.theme, c.part, c.state, c.prop, colour), S_OK) << c.prop;
        EXPECT_EQ(colour, c.expected) << c.prop;
    }
    TColor colour;
    EXPECT_EQ(GetThemeColor(button.handle, BP_PUSHBUTTON, 1, 9999, colour), E_PROP_ID_UNSUPPORTED);

    int n = 0;
    EXPECT_EQ(GetThemeMetric(button.handle, nullptr, BP_PUSHBUTTON, 1, TMT_BORDERSIZE, n), S_OK);
    EXPECT_EQ(n, Metric(QStyle::PM_DefaultFrameWidth));
    EXPECT_EQ(GetThemeMetric(button.handle, nullptr, BP_CHECKBOX, 1, TMT_WIDTH, n), S_OK);
    EXPECT_EQ(n, Metric(QStyle::PM_IndicatorWidth));
    EXPECT_EQ(GetThemeMetric(button.handle, nullptr, BP_CHECKBOX, 1, TMT_PROGRESSCHUNKSIZE, n), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(GetThemeInt(progress.handle, PP_CHUNK, 1, TMT_PROGRESSCHUNKSIZE, n), S_OK);
    EXPECT_EQ(n, Metric(QStyle::PM_ProgressBarChunkWidth));
    EXPECT_EQ(GetThemeInt(button.handle, BP_RADIOBUTTON, 1, TMT_IMAGECOUNT, n), S_OK);
    EXPECT_EQ(n, 8);

    bool flag = false;
    EXPECT_EQ(GetThemeBool(button.handle, BP_GROUPBOX, 1, TMT_BORDERONLY, flag), S_OK);
    EXPECT_TRUE(flag);
    EXPECT_EQ(GetThemeBool(button.handle, BP_RADIOBUTTON, 1, TMT_TRANSPARENT, flag), S_OK);
    EXPECT_TRUE(flag);
    EXPECT_EQ(GetThemeEnumValue(button.handle, BP_RADIOBUTTON, 1, TMT_BORDERTYPE, n), S_OK);
    EXPECT_EQ(n, BT_ELLIPSE);
    EXPECT_EQ(GetThemeEnumValue(button.handle, BP_PUSHBUTTON, 1, TMT_BGTYPE, n), S_OK);
    EXPECT_EQ(n, BT_BORDERFILL);

    TPoint offset;
    EXPECT_EQ(GetThemePosition(button.handle, BP_PUSHBUTTON, TS_PRESSED, TMT_OFFSET, offset), S_OK);
    EXPECT_EQ(offset, (TPoint{Metric(QStyle::PM_ButtonShiftHorizontal), Metric(QStyle::PM_ButtonShiftVertical)}));
    EXPECT_EQ(GetThemePosition(button.handle, BP_PUSHBUTTON, 1, TMT_OFFSET, offset), S_OK);
    EXPECT_EQ(offset, (TPoint{0, 0}));
    TRect pane;
    EXPECT_EQ(GetThemeRect(button.handle, BP_CHECKBOX, 1, TMT_DEFAULTPANESIZE, pane), S_OK);
    EXPECT_EQ(pane, (TRect{0, 0, Metric(QStyle::PM_IndicatorWidth), Metric(QStyle::PM_IndicatorHeight)}));
    TThemeMargins margins;
    const int frame = Metric(QStyle::PM_DefaultFrameWidth);
    EXPECT_EQ(GetThemeMargins(edit.handle, nullptr, EP_EDITTEXT, 1, TMT_CONTENTMARGINS, nullptr, margins), S_OK);
    EXPECT_EQ(margins, (TThemeMargins{frame, frame, frame, frame}));
    EXPECT_EQ(GetThemeMargins(edit.handle, nullptr, EP_EDITTEXT, 1, TMT_CAPTIONMARGINS, nullptr, margins),
              E_PROP_ID_UNSUPPORTED);
    std::vector<int> durations;
    EXPECT_EQ(GetThemeIntList(button.handle, BP_PUSHBUTTON, 1, TMT_TRANSITIONDURATIONS, durations), S_OK);
    EXPECT_EQ(durations, std::vector<int>(25, Style()->styleHint(QStyle::SH_Widget_Animation_Duration)));
    String text;
    EXPECT_EQ(GetThemeFilename(button.handle, BP_PUSHBUTTON, 1, TMT_IMAGEFILE, text), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(GetThemeString(button.handle, BP_PUSHBUTTON, 1, TMT_TEXT, text), E_PROP_ID_UNSUPPORTED);

    TFont font;
    EXPECT_EQ(GetThemeFont(button.handle, nullptr, BP_PUSHBUTTON, 1, TMT_FONT, font), S_OK);
    const QFont expected = QApplication::font("QPushButton");
    EXPECT_EQ(font.Name(), expected.family().toStdString());
    TBitmap b(10, 10, pf24bit);
    TThemeTextMetric metric;
    EXPECT_EQ(GetThemeTextMetrics(button.handle, b.Canvas(), BP_PUSHBUTTON, 1, metric), S_OK);
    const QFontMetrics qm(expected);
    EXPECT_EQ(metric.Height, qm.height());
    EXPECT_EQ(metric.Ascent, qm.ascent());
    TRect ext;
    EXPECT_EQ(GetThemeTextExtent(button.handle, b.Canvas(), BP_PUSHBUTTON, 1, "Print", DT_SINGLELINE, nullptr, ext), S_OK);
    EXPECT_EQ(ext.Width(), qm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), 0, "Print").width());
    EXPECT_EQ(ext.Height(), qm.height());
}

TEST(UxTheme, SystemValuesAndTheThemesOffAnswers)
{
    Theme window("window");
    struct SysColour {
        int id;
        QPalette::ColorRole role;
    };
    for (const SysColour& c : {SysColour{COLOR_BTNFACE, QPalette::Button}, SysColour{COLOR_WINDOW, QPalette::Base},
                               SysColour{COLOR_HIGHLIGHT, QPalette::Highlight}, SysColour{COLOR_3DDKSHADOW, QPalette::Shadow},
                               SysColour{COLOR_INFOBK, QPalette::ToolTipBase}})
        EXPECT_EQ(GetThemeSysColor(window.handle, c.id), Role(c.role)) << c.id;
    EXPECT_EQ(GetThemeSysColorBrush(window.handle, COLOR_HIGHLIGHT).Color, Role(QPalette::Highlight));
    EXPECT_EQ(GetThemeSysBool(window.handle, TMT_FLATMENUS), Metric(QStyle::PM_MenuPanelWidth) <= 1);
    EXPECT_EQ(GetThemeSysSize(window.handle, SM_CXVSCROLL), Metric(QStyle::PM_ScrollBarExtent));
    EXPECT_EQ(GetThemeSysSize(window.handle, SM_CYSIZE), Metric(QStyle::PM_TitleBarButtonSize));
    TFont font;
    EXPECT_EQ(GetThemeSysFont(window.handle, TMT_MENUFONT, font), S_OK);
    EXPECT_EQ(font.Name(), QApplication::font("QMenu").family().toStdString());
    EXPECT_EQ(GetThemeSysFont(window.handle, 1, font), E_INVALIDARG);
    int depth = 0;
    EXPECT_EQ(GetThemeSysInt(window.handle, TMT_MINCOLORDEPTH, depth), S_OK);
    EXPECT_GE(depth, 16);

    String file, colourName, sizeName, value;
    EXPECT_EQ(GetCurrentThemeName(file, colourName, sizeName), S_OK);
    EXPECT_EQ(file, Style()->name().toStdString());
    EXPECT_EQ(GetThemeDocumentationProperty(file, "DisplayName", value), S_OK);
    EXPECT_EQ(value, file);
    EXPECT_EQ(GetThemeDocumentationProperty(file, "Version", value), S_OK);
    EXPECT_EQ(value, qVersion());
    EXPECT_EQ(GetThemeDocumentationProperty(file, "Author", value), E_PROP_ID_UNSUPPORTED);

    // What Linux has no counterpart for answers as with themes off.
    EXPECT_EQ(GetThemeSysString(window.handle, TMT_CSSNAME, value), E_PROP_ID_UNSUPPORTED);
    TForm form(nullptr);
    EXPECT_EQ(EnableThemeDialogTexture(&form, ETDT_ENABLETAB), S_OK);
    EXPECT_FALSE(IsThemeDialogTextureEnabled(&form));
    EXPECT_EQ(GetThemeAppProperties(), STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
    EXPECT_EQ(GetThemeAppProperties(), STAP_ALLOW_NONCLIENT);
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
}

}  // namespace
