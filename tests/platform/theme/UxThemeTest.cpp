// The visual-styles calls answer from the widget style: what each answers.
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "UxTheme.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QTabWidget>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QStyle* Style() { return QApplication::style(); }
int Metric(QStyle::PixelMetric m) { return Style()->pixelMetric(m); }
TColor Role(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active)
{
    const QColor c = Style()->standardPalette().color(group, role);
    return RGB(c.red(), c.green(), c.blue());
}

// A theme class opened for no window, closed at the end.
struct Theme {
    explicit Theme(const char* classList) : handle(OpenThemeData(nullptr, classList)) {}
    ~Theme() { CloseThemeData(handle); }
    HTHEME handle;
};

// An 80 x 60 bitmap of one colour, and how many of its pixels changed inside and outside r.
struct Ground : TBitmap {
    explicit Ground(TColor c) : TBitmap(80, 60, pf24bit), colour(c)
    {
        Canvas().Brush.Color = c;
        Canvas().FillRect({0, 0, 80, 60});
    }
    std::pair<int, int> Changed(const TRect& r)
    {
        Canvas().Release();
        std::pair<int, int> n{0, 0};
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                if (Canvas().Pixel(x, y) != colour)
                    ++(PtInRect(r, {x, y}) ? n.first : n.second);
        return n;
    }
    TColor colour;
};

TEST(UxTheme, HandlesAndWindows)
{
    for (const auto& [list, opens] : std::vector<std::pair<const char*, bool>>{
             {"window", true}, {"BUTTON", true}, {"x;Edit", true}, {"ComboBox", true}, {"progress", true},
             {"toolbar", true}, {"spin", true}, {"scrollbar", true}, {"nothing", false}, {"", false}}) {
        HTHEME theme = OpenThemeData(nullptr, list);
        EXPECT_EQ(theme != nullptr, opens) << list;
        if (theme) {
            EXPECT_EQ(CloseThemeData(theme), S_OK);
            EXPECT_EQ(CloseThemeData(theme), E_HANDLE) << "closed once only";
            TColor c;
            EXPECT_EQ(GetThemeColor(theme, 1, 1, TMT_FILLCOLOR, c), E_HANDLE) << "a closed handle answers nothing";
        }
    }
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    HTHEME theme = OpenThemeData(panel, "button");
    EXPECT_EQ(GetWindowTheme(panel), theme);
    CloseThemeData(theme);
    EXPECT_EQ(GetWindowTheme(panel), nullptr);
    EXPECT_EQ(SetWindowTheme(panel, " ", " "), S_OK);  // no theme for this window
    EXPECT_EQ(OpenThemeData(panel, "button"), nullptr);
    EXPECT_EQ(SetWindowTheme(panel, "Windows", ""), S_OK);  // a style of its own
    theme = OpenThemeData(panel, "button");
    String name;
    EXPECT_EQ(GetThemeString(theme, BP_PUSHBUTTON, 1, TMT_DISPLAYNAME, name), S_OK);
    EXPECT_EQ(name, "windows");
    // A square bevel lets nothing through; the program's round mark does.
    EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, 1));
    CloseThemeData(theme);
    EXPECT_EQ(SetWindowTheme(panel, "no such style", ""), E_INVALIDARG);
    EXPECT_EQ(SetWindowTheme(panel, "", ""), S_OK);
    EXPECT_EQ(panel->Widget()->style(), Style());
    EnableTheming(false);
    EXPECT_FALSE(IsThemeActive() || IsAppThemed() || OpenThemeData(nullptr, "button"));
    EnableTheming(true);
    EXPECT_TRUE(IsThemeActive() && IsAppThemed());
}

TEST(UxTheme, DrawingStaysInTheRectangle)
{
    struct Part {
        const char* cls;
        int part, state;
    };
    const TRect r{10, 10, 50, 40};
    for (const Part& p : {Part{"window", WP_CAPTION, 1}, Part{"window", WP_CLOSEBUTTON, 1}, Part{"button", BP_PUSHBUTTON, 2},
                          Part{"button", BP_RADIOBUTTON, 5}, Part{"button", BP_CHECKBOX, 5}, Part{"button", BP_GROUPBOX, 1},
                          Part{"edit", EP_EDITTEXT, 1}, Part{"combobox", CP_DROPDOWNBUTTON, 1}, Part{"progress", PP_CHUNK, 1},
                          Part{"toolbar", TP_BUTTON, 2}, Part{"spin", SPNP_UP, 1}, Part{"scrollbar", SBP_ARROWBTN, 9},
                          Part{"scrollbar", SBP_THUMBBTNVERT, 1}}) {
        Theme theme(p.cls);
        Ground b(RGB(1, 2, 3));
        EXPECT_EQ(DrawThemeBackground(theme.handle, b.Canvas(), p.part, p.state, r, nullptr), S_OK);
        const auto [inside, outside] = b.Changed(r);
        EXPECT_GT(inside, 0) << p.cls << " part " << p.part;
        EXPECT_EQ(outside, 0) << p.cls << " part " << p.part;
    }
    Theme button("button");
    Ground b(clWhite);
    EXPECT_EQ(DrawThemeBackground(button.handle, b.Canvas(), 99, 1, r, nullptr), E_INVALIDARG);
    EXPECT_EQ(DrawThemeBackground(button.handle, b.Canvas(), BP_PUSHBUTTON, 9, r, nullptr), E_INVALIDARG);
    const TRect clip{10, 10, 20, 40};
    EXPECT_EQ(DrawThemeBackground(button.handle, b.Canvas(), BP_PUSHBUTTON, 1, r, &clip), S_OK);
    EXPECT_EQ(b.Changed(clip).second, 0);

    Ground edge(clWhite);
    TRect content;
    DrawThemeEdge(button.handle, edge.Canvas(), BP_PUSHBUTTON, 1, {0, 0, 20, 20}, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE,
                  &content);
    EXPECT_EQ(content, (TRect{2, 2, 18, 18}));
    edge.Canvas().Release();
    EXPECT_EQ(edge.Canvas().Pixel(0, 5), Role(QPalette::Midlight));
    EXPECT_EQ(edge.Canvas().Pixel(19, 5), Role(QPalette::Shadow));
    EXPECT_EQ(edge.Canvas().Pixel(10, 10), Role(QPalette::Button));
    Ground text(clWhite);
    DrawThemeText(button.handle, text.Canvas(), BP_PUSHBUTTON, 1, "Wide", DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0,
                  {0, 0, 80, 60});
    EXPECT_GT(text.Changed({20, 15, 60, 45}).first, 0);
    TImageList images(nullptr, 8, 8);
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images.AddImage(red);
    Ground icon(clWhite);
    EXPECT_EQ(DrawThemeIcon(button.handle, icon.Canvas(), BP_PUSHBUTTON, 1, {0, 0, 80, 60}, images, 0), S_OK);
    EXPECT_EQ(icon.Changed({36, 26, 44, 34}), std::make_pair(64, 0));  // centred
    TForm form(nullptr);
    form.SetColor(RGB(0, 128, 0));
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    Ground under(clWhite);
    EXPECT_EQ(DrawThemeParentBackground(panel, under.Canvas(), nullptr), S_OK);
    under.Canvas().Release();
    EXPECT_EQ(under.Canvas().Pixel(5, 5), RGB(0, 128, 0));
}

TEST(UxTheme, GeometryAndPropertiesComeFromTheStyle)
{
    Theme button("button"), edit("edit"), progress("progress"), window("window");
    HTHEME b = button.handle;
    const int frame = Metric(QStyle::PM_DefaultFrameWidth), push = frame + Metric(QStyle::PM_ButtonMargin) / 2;
    TRect rect;
    EXPECT_EQ(GetThemeBackgroundContentRect(b, nullptr, BP_PUSHBUTTON, 1, {0, 0, 60, 30}, rect), S_OK);
    EXPECT_EQ(rect, (TRect{push, push, 60 - push, 30 - push}));
    EXPECT_EQ(GetThemeBackgroundExtent(b, nullptr, BP_PUSHBUTTON, 1, rect, rect), S_OK);
    EXPECT_EQ(rect, (TRect{0, 0, 60, 30}));
    std::vector<TRect> region;
    GetThemeBackgroundRegion(b, nullptr, BP_RADIOBUTTON, 1, {0, 0, 20, 20}, region);
    ASSERT_EQ(region.size(), 20u);  // a span a row of the round mark
    EXPECT_LT(region.front().Width(), region[10].Width());
    for (const auto& [options, at, code] : std::vector<std::tuple<unsigned, TPoint, int>>{
             {HTTB_BACKGROUND, {30, 15}, HTCLIENT}, {HTTB_BACKGROUND, {70, 15}, HTNOWHERE},
             {HTTB_FIXEDBORDER, {0, 0}, HTTOPLEFT}, {HTTB_FIXEDBORDER, {59, 15}, HTRIGHT},
             {HTTB_FIXEDBORDER, {30, 15}, HTCLIENT}}) {
        int hit = -1;
        HitTestThemeBackground(b, nullptr, BP_PUSHBUTTON, 1, options, {0, 0, 60, 30}, at, hit);
        EXPECT_EQ(hit, code) << at.X << "," << at.Y;
    }
    TPoint size;
    const TRect big{0, 0, 90, 40};
    GetThemePartSize(b, nullptr, BP_RADIOBUTTON, 1, &big, TS_DRAW, size);  // marks keep their size
    EXPECT_EQ(size, (TPoint{Metric(QStyle::PM_ExclusiveIndicatorWidth), Metric(QStyle::PM_ExclusiveIndicatorHeight)}));
    GetThemePartSize(b, nullptr, BP_PUSHBUTTON, 1, &big, TS_DRAW, size);  // faces stretch
    EXPECT_EQ(size, (TPoint{90, 40}));
    EXPECT_TRUE(IsThemePartDefined(b, BP_CHECKBOX, 12));
    EXPECT_FALSE(IsThemePartDefined(b, BP_CHECKBOX, 13));
    EXPECT_TRUE(IsThemeBackgroundPartiallyTransparent(b, BP_RADIOBUTTON, 1));

    TColor colour = clNone;
    for (const auto& [theme, part, state, prop, expected] : std::vector<std::tuple<HTHEME, int, int, int, TColor>>{
             {b, BP_PUSHBUTTON, 1, TMT_FILLCOLOR, Role(QPalette::Button)},
             {b, BP_PUSHBUTTON, TS_DISABLED, TMT_TEXTCOLOR, Role(QPalette::ButtonText, QPalette::Disabled)},
             {edit.handle, EP_EDITTEXT, 1, TMT_TEXTCOLOR, Role(QPalette::Text)},
             {progress.handle, PP_CHUNK, 1, TMT_FILLCOLOR, Role(QPalette::Highlight)}}) {
        EXPECT_EQ(GetThemeColor(theme, part, state, prop, colour), S_OK);
        EXPECT_EQ(colour, expected) << prop;
    }
    EXPECT_EQ(GetThemeColor(b, BP_PUSHBUTTON, 1, 9999, colour), E_PROP_ID_UNSUPPORTED);
    int n = 0;
    EXPECT_EQ(GetThemeMetric(b, nullptr, BP_PUSHBUTTON, 1, TMT_BORDERSIZE, n), S_OK);
    EXPECT_EQ(n, frame);
    EXPECT_EQ(GetThemeInt(progress.handle, PP_CHUNK, 1, TMT_PROGRESSCHUNKSIZE, n), S_OK);
    EXPECT_EQ(n, Metric(QStyle::PM_ProgressBarChunkWidth));
    EXPECT_EQ(GetThemeInt(b, BP_RADIOBUTTON, 1, TMT_IMAGECOUNT, n), S_OK);
    EXPECT_EQ(n, 8);
    EXPECT_EQ(GetThemeEnumValue(b, BP_RADIOBUTTON, 1, TMT_BORDERTYPE, n), S_OK);
    EXPECT_EQ(n, BT_ELLIPSE);
    bool flag = false;
    EXPECT_EQ(GetThemeBool(b, BP_GROUPBOX, 1, TMT_BORDERONLY, flag), S_OK);
    EXPECT_TRUE(flag);
    EXPECT_EQ(GetThemePosition(b, BP_PUSHBUTTON, TS_PRESSED, TMT_OFFSET, size), S_OK);
    EXPECT_EQ(size, (TPoint{Metric(QStyle::PM_ButtonShiftHorizontal), Metric(QStyle::PM_ButtonShiftVertical)}));
    EXPECT_EQ(GetThemeRect(b, BP_CHECKBOX, 1, TMT_DEFAULTPANESIZE, rect), S_OK);
    EXPECT_EQ(rect, (TRect{0, 0, Metric(QStyle::PM_IndicatorWidth), Metric(QStyle::PM_IndicatorHeight)}));
    TThemeMargins margins;
    EXPECT_EQ(GetThemeMargins(edit.handle, nullptr, EP_EDITTEXT, 1, TMT_CONTENTMARGINS, nullptr, margins), S_OK);
    EXPECT_EQ(margins, (TThemeMargins{frame, frame, frame, frame}));
    EXPECT_EQ(GetThemeMargins(edit.handle, nullptr, EP_EDITTEXT, 1, TMT_CAPTIONMARGINS, nullptr, margins),
              E_PROP_ID_UNSUPPORTED);
    std::vector<int> durations;
    EXPECT_EQ(GetThemeIntList(b, BP_PUSHBUTTON, 1, TMT_TRANSITIONDURATIONS, durations), S_OK);
    EXPECT_EQ(durations, std::vector<int>(25, Style()->styleHint(QStyle::SH_Widget_Animation_Duration)));
    TFont font;
    EXPECT_EQ(GetThemeFont(b, nullptr, BP_PUSHBUTTON, 1, TMT_FONT, font), S_OK);
    EXPECT_EQ(font.Name(), QApplication::font("QPushButton").family().toStdString());
    TBitmap scratch(4, 4, pf24bit);
    TThemeTextMetric metric;
    const QFontMetrics qm(QApplication::font("QPushButton"));
    EXPECT_EQ(GetThemeTextMetrics(b, scratch.Canvas(), BP_PUSHBUTTON, 1, metric), S_OK);
    EXPECT_EQ(metric.Height, qm.height());
    EXPECT_EQ(GetThemeTextExtent(b, scratch.Canvas(), BP_PUSHBUTTON, 1, "Print", DT_SINGLELINE, nullptr, rect), S_OK);
    EXPECT_EQ(rect.Width(), qm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), 0, "Print").width());

    // The system's values.
    EXPECT_EQ(GetThemeSysColor(window.handle, COLOR_BTNFACE), Role(QPalette::Button));
    EXPECT_EQ(GetThemeSysColorBrush(window.handle, COLOR_HIGHLIGHT).Color, Role(QPalette::Highlight));
    EXPECT_EQ(GetThemeSysBool(window.handle, TMT_FLATMENUS), Metric(QStyle::PM_MenuPanelWidth) <= 1);
    EXPECT_EQ(GetThemeSysSize(window.handle, SM_CXVSCROLL), Metric(QStyle::PM_ScrollBarExtent));
    EXPECT_EQ(GetThemeSysFont(window.handle, TMT_MENUFONT, font), S_OK);
    EXPECT_EQ(font.Name(), QApplication::font("QMenu").family().toStdString());
    EXPECT_EQ(GetThemeSysInt(window.handle, TMT_MINCOLORDEPTH, n), S_OK);
    EXPECT_GE(n, 16);
    String file, colourName, sizeName, value;
    EXPECT_EQ(GetCurrentThemeName(file, colourName, sizeName), S_OK);
    EXPECT_EQ(file, Style()->name().toStdString());
    EXPECT_EQ(GetThemeDocumentationProperty(file, "Version", value), S_OK);
    EXPECT_EQ(value, qVersion());
}

TEST(UxTheme, WhatLinuxLacksAnswersAsWithThemesOff)
{
    Theme button("button");
    String text;
    EXPECT_EQ(GetThemeFilename(button.handle, BP_PUSHBUTTON, 1, TMT_IMAGEFILE, text), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(GetThemeSysString(button.handle, TMT_CSSNAME, text), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(GetThemeDocumentationProperty(Style()->name().toStdString(), "Author", text), E_PROP_ID_UNSUPPORTED);
}

TEST(UxTheme, ApplicationPropertiesDecideWhatIsThemed)
{
    struct Case {
        unsigned flags;
        bool appThemed, windowOpens, buttonOpens;
    } cases[] = {
        {STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS, true, true, true},
        {STAP_ALLOW_NONCLIENT, true, true, false},
        {STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT, true, false, true},
        {STAP_ALLOW_WEBCONTENT, false, false, false},
        {0, false, false, false},
    };
    EXPECT_EQ(GetThemeAppProperties(), STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
    for (const Case& c : cases) {
        SetThemeAppProperties(c.flags);
        EXPECT_EQ(GetThemeAppProperties(), c.flags);
        EXPECT_EQ(IsAppThemed(), c.appThemed) << c.flags;
        EXPECT_TRUE(IsThemeActive()) << c.flags;  // the engine itself stays on
        Theme window("window"), button("button");
        EXPECT_EQ(window.handle != nullptr, c.windowOpens) << c.flags;
        EXPECT_EQ(button.handle != nullptr, c.buttonOpens) << c.flags;
    }
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
}

TEST(UxTheme, DialogTextureIsKeptPerWindow)
{
    TForm one(nullptr), other(nullptr);
    struct Step {
        unsigned flags;
        bool enabled;
    } steps[] = {
        {ETDT_ENABLETAB, true}, {ETDT_DISABLE, false}, {ETDT_ENABLE, true}, {ETDT_ENABLETAB | ETDT_DISABLE, false},
    };
    EXPECT_FALSE(IsThemeDialogTextureEnabled(&one));
    for (const Step& s : steps) {
        EXPECT_EQ(EnableThemeDialogTexture(&one, s.flags), S_OK);
        EXPECT_EQ(IsThemeDialogTextureEnabled(&one), s.enabled) << s.flags;
        EXPECT_FALSE(IsThemeDialogTextureEnabled(&other)) << s.flags;
    }
    EXPECT_EQ(EnableThemeDialogTexture(nullptr, ETDT_ENABLETAB), E_INVALIDARG);
}

// A window with the tab texture shows the face of a tab page where a plain window shows its own.
TEST(UxTheme, TabTextureDrawsTheWindowAsATabPage)
{
    QTabWidget tabs;
    tabs.resize(200, 150);
    tabs.addTab(new QWidget, "page");
    tabs.show();  // laid out: the page's frame is placed when the tabs get their size
    const QImage page = tabs.grab().toImage();
    const QColor pageFace = page.pixelColor(100, 90);
    TForm plain(nullptr), textured(nullptr);
    for (TForm* form : {&plain, &textured})
        form->SetBounds(0, 0, 200, 150);
    EnableThemeDialogTexture(&textured, ETDT_ENABLETAB);
    const QImage plainShot = plain.Widget()->grab().toImage();
    const QImage texturedShot = textured.Widget()->grab().toImage();
    ASSERT_NE(plainShot.pixelColor(100, 75), pageFace) << "the style draws tab pages as plain windows";
    for (QPoint at : {QPoint(2, 2), QPoint(100, 75), QPoint(197, 147)})
        EXPECT_EQ(texturedShot.pixelColor(at), pageFace) << at.x() << ", " << at.y();
    EnableThemeDialogTexture(&textured, ETDT_DISABLE);
    EXPECT_EQ(textured.Widget()->grab().toImage().pixelColor(100, 75), plainShot.pixelColor(100, 75));
}

}  // namespace
