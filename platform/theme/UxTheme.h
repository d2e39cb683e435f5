#pragma once
// The visual-styles calls, answered from the application's current widget style: colours from
// its palette, sizes and margins from its metrics, fonts and text from its fonts, backgrounds,
// edges, icons and text drawn by it. A theme handle stands for one theme class opened for a
// window; the classes known are "WINDOW", "BUTTON", "EDIT", "COMBOBOX", "PROGRESS", "TOOLBAR",
// "SPIN" and "SCROLLBAR". Where Linux has nothing like what a call asks for, it answers as the
// library does with themes switched off.
#include "Controls.h"

#include <vector>

class TWinControl;
class TImageList;
using HTHEME = void*;

enum : long {
    S_OK = 0,
    S_FALSE = 1,
    E_FAIL = static_cast<long>(0x80004005),
    E_HANDLE = static_cast<long>(0x80070006),
    E_INVALIDARG = static_cast<long>(0x80070057),
    E_PROP_ID_UNSUPPORTED = static_cast<long>(0x80070490),  // the part has no such property
};

// Parts and states, as the classes number them.
enum : int {
    WP_CAPTION = 1, WP_MINBUTTON = 15, WP_MAXBUTTON = 17, WP_CLOSEBUTTON = 18, WP_RESTOREBUTTON = 21,
    BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4,
    EP_EDITTEXT = 1,
    CP_DROPDOWNBUTTON = 1,
    PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4,
    TP_BUTTON = 1, TP_DROPDOWNBUTTON = 2, TP_SEPARATOR = 5,
    SPNP_UP = 1, SPNP_DOWN = 2,
    SBP_ARROWBTN = 1, SBP_THUMBBTNHORZ = 2, SBP_THUMBBTNVERT = 3,
};
// States 1 to 4 of most parts are normal, hot, pressed and disabled; the radio and check box
// repeat them for checked (5 to 8) and mixed (9 to 12); scroll-bar arrows for up, down, left and
// right (1, 5, 9, 13 onward).
enum : int { TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4, PBS_DEFAULTED = 5 };

// Property ids.
enum : int {
    TMT_FONT = 210,
    TMT_DISPLAYNAME = 601,
    TMT_FLATMENUS = 1001,
    TMT_SIZINGBORDERWIDTH = 1201, TMT_SCROLLBARWIDTH = 1202, TMT_SCROLLBARHEIGHT = 1203, TMT_CAPTIONBARWIDTH = 1204,
    TMT_CAPTIONBARHEIGHT = 1205, TMT_SMCAPTIONBARWIDTH = 1206, TMT_SMCAPTIONBARHEIGHT = 1207,
    TMT_MENUBARWIDTH = 1208, TMT_MENUBARHEIGHT = 1209,
    TMT_MINCOLORDEPTH = 1301,
    TMT_CSSNAME = 1401, TMT_XMLNAME = 1402,
    TMT_TRANSPARENT = 2201, TMT_BORDERONLY = 2203,
    TMT_IMAGECOUNT = 2401, TMT_BORDERSIZE = 2403, TMT_PROGRESSCHUNKSIZE = 2411, TMT_PROGRESSSPACESIZE = 2412,
    TMT_WIDTH = 2416, TMT_HEIGHT = 2417,
    TMT_GLYPHFONT = 2601,
    TMT_IMAGEFILE = 3001,
    TMT_TEXT = 3201,
    TMT_OFFSET = 3401, TMT_TEXTSHADOWOFFSET = 3402,
    TMT_SIZINGMARGINS = 3601, TMT_CONTENTMARGINS = 3602, TMT_CAPTIONMARGINS = 3603,
    TMT_BORDERCOLOR = 3801, TMT_FILLCOLOR = 3802, TMT_TEXTCOLOR = 3803, TMT_EDGELIGHTCOLOR = 3804,
    TMT_EDGEHIGHLIGHTCOLOR = 3805, TMT_EDGESHADOWCOLOR = 3806, TMT_EDGEDKSHADOWCOLOR = 3807,
    TMT_EDGEFILLCOLOR = 3808,
    TMT_BGTYPE = 4001, TMT_BORDERTYPE = 4002, TMT_FILLTYPE = 4003,
    TMT_DEFAULTPANESIZE = 5002,
    TMT_TRANSITIONDURATIONS = 6000,
};
enum : int { BT_IMAGEFILE = 0, BT_BORDERFILL = 1, BT_NONE = 2 };           // TMT_BGTYPE
enum : int { BT_RECT = 0, BT_ROUNDRECT = 1, BT_ELLIPSE = 2 };              // TMT_BORDERTYPE
enum : int { FT_SOLID = 0, FT_VERTGRADIENT = 1, FT_HORZGRADIENT = 2 };     // TMT_FILLTYPE

// System colour and size ids of the Sys calls.
enum : int {
    COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_BTNHIGHLIGHT = 20, COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
};
enum : int {
    SM_CXBORDER = 5, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CXSIZE = 30, SM_CYSIZE = 31, SM_CXSMSIZE = 52,
    SM_CYSMSIZE = 53, SM_CXMENUSIZE = 54, SM_CYMENUSIZE = 55,
};
// The fonts of GetThemeSysFont.
enum : int {
    TMT_CAPTIONFONT = 801, TMT_SMALLCAPTIONFONT = 802, TMT_MENUFONT = 803, TMT_STATUSFONT = 804,
    TMT_MSGBOXFONT = 805, TMT_ICONTITLEFONT = 806,
};

// DrawThemeEdge: edges (BDR_) and sides and options (BF_).
enum : unsigned {
    BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4, BDR_SUNKENINNER = 8,
    EDGE_RAISED = 5, EDGE_SUNKEN = 10, EDGE_ETCHED = 6, EDGE_BUMP = 9,
    BF_LEFT = 1, BF_TOP = 2, BF_RIGHT = 4, BF_BOTTOM = 8, BF_RECT = 15, BF_MIDDLE = 0x800, BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000, BF_MONO = 0x8000,
};
// GetThemePartSize.
enum TThemeSize { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };
// HitTestThemeBackground: options (the answers are the window hit-test codes of Controls.h).
enum : unsigned { HTTB_BACKGROUND = 0, HTTB_FIXEDBORDER = 2, HTTB_RESIZINGBORDER = 0xF0 };
// SetThemeAppProperties.
enum : unsigned { STAP_ALLOW_NONCLIENT = 1, STAP_ALLOW_CONTROLS = 2, STAP_ALLOW_WEBCONTENT = 4 };
// EnableThemeDialogTexture.
enum : unsigned { ETDT_DISABLE = 1, ETDT_ENABLE = 2, ETDT_USETABTEXTURE = 4, ETDT_ENABLETAB = 6 };

struct TThemeMargins {
    int LeftWidth = 0, RightWidth = 0, TopHeight = 0, BottomHeight = 0;
    bool operator==(const TThemeMargins&) const = default;
};

struct TThemeTextMetric {
    int Height = 0, Ascent = 0, Descent = 0, InternalLeading = 0, ExternalLeading = 0, AveCharWidth = 0,
        MaxCharWidth = 0, Weight = 400;
};

// True when an application with a widget style runs: the engine the calls need.
bool ThemeEngineAvailable();

// ---- the engine, its handles and windows ----------------------------------------------------
bool IsThemeActive();
bool IsAppThemed();
// Switches theming off (or on again) for the whole program: off, no handle opens.
long EnableTheming(bool enable);
// The first class of the ';'-separated list that is known (letter case aside); nullptr when none
// is, without an active style, or for a window given no theme (SetWindowTheme).
HTHEME OpenThemeData(TWinControl* control, const String& classList);
long CloseThemeData(HTHEME theme);
// The handle last opened for the window, nullptr for none.
HTHEME GetWindowTheme(TWinControl* control);
// subAppName names a widget style the window then draws with; a blank gives the window no
// theme at all; empty gives it the program's style back. subIdList is not used.
long SetWindowTheme(TWinControl* control, const String& subAppName, const String& subIdList);
// The style's name as the theme file; no colour scheme or size names.
long GetCurrentThemeName(String& fileName, String& colorName, String& sizeName);
// "DisplayName" (the style's name) and "Version" (the toolkit's) of the current style.
long GetThemeDocumentationProperty(const String& themeName, const String& propertyName, String& value);
// STAP_ flags: without STAP_ALLOW_NONCLIENT no "WINDOW" class opens, without
// STAP_ALLOW_CONTROLS no other class; with neither the application is not themed.
unsigned GetThemeAppProperties();
void SetThemeAppProperties(unsigned flags);
// Kept per window: with ETDT_ENABLETAB the window's background is drawn as the style draws a
// tab page; ETDT_DISABLE takes it away again.
long EnableThemeDialogTexture(TWinControl* control, unsigned flags);
bool IsThemeDialogTextureEnabled(TWinControl* control);

// ---- drawing ----------------------------------------------------------------------------------
// E_HANDLE for a handle that is not open; E_INVALIDARG for a part the class does not have.
long DrawThemeBackground(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect,
                         const TRect* clip);
long DrawThemeEdge(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect, unsigned edge,
                   unsigned flags, TRect* contentRect);
// The image centred in the rectangle, greyed in the disabled state.
long DrawThemeIcon(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect, TImageList& images,
                   int imageIndex);
// DT_ flags; flags2 is not used.
long DrawThemeText(HTHEME theme, TCanvas& canvas, int partId, int stateId, const String& text, unsigned flags,
                   unsigned flags2, const TRect& rect);
// What lies under the control (its parent's face) into rect of the canvas, or all of it.
long DrawThemeParentBackground(TWinControl* control, TCanvas& canvas, const TRect* rect);

// ---- geometry ---------------------------------------------------------------------------------
long GetThemeBackgroundContentRect(HTHEME theme, TCanvas* canvas, int partId, int stateId, const TRect& bounding,
                                   TRect& content);
long GetThemeBackgroundExtent(HTHEME theme, TCanvas* canvas, int partId, int stateId, const TRect& content,
                              TRect& extent);
// The background's area as rectangles whose union it is.
long GetThemeBackgroundRegion(HTHEME theme, TCanvas* canvas, int partId, int stateId, const TRect& rect,
                              std::vector<TRect>& region);
long HitTestThemeBackground(HTHEME theme, TCanvas* canvas, int partId, int stateId, unsigned options,
                            const TRect& rect, const TPoint& point, int& hitTestCode);
long GetThemePartSize(HTHEME theme, TCanvas* canvas, int partId, int stateId, const TRect* rect,
                      TThemeSize sizeType, TPoint& size);
bool IsThemePartDefined(HTHEME theme, int partId, int stateId);
bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, int partId, int stateId);

// ---- properties -------------------------------------------------------------------------------
// Each answers E_PROP_ID_UNSUPPORTED for a property the part does not have.
long GetThemeColor(HTHEME theme, int partId, int stateId, int propId, TColor& color);
long GetThemeMetric(HTHEME theme, TCanvas* canvas, int partId, int stateId, int propId, int& value);
long GetThemeInt(HTHEME theme, int partId, int stateId, int propId, int& value);
long GetThemeBool(HTHEME theme, int partId, int stateId, int propId, bool& value);
long GetThemeEnumValue(HTHEME theme, int partId, int stateId, int propId, int& value);
long GetThemePosition(HTHEME theme, int partId, int stateId, int propId, TPoint& point);
long GetThemeRect(HTHEME theme, int partId, int stateId, int propId, TRect& rect);
long GetThemeMargins(HTHEME theme, TCanvas* canvas, int partId, int stateId, int propId, const TRect* rect,
                     TThemeMargins& margins);
long GetThemeIntList(HTHEME theme, int partId, int stateId, int propId, std::vector<int>& values);
long GetThemeString(HTHEME theme, int partId, int stateId, int propId, String& text);
// Styles draw from code, not from image files: no part has a file (themes-off answer).
long GetThemeFilename(HTHEME theme, int partId, int stateId, int propId, String& fileName);
long GetThemeFont(HTHEME theme, TCanvas* canvas, int partId, int stateId, int propId, TFont& font);
long GetThemeTextMetrics(HTHEME theme, TCanvas& canvas, int partId, int stateId, TThemeTextMetric& metric);
long GetThemeTextExtent(HTHEME theme, TCanvas& canvas, int partId, int stateId, const String& text, unsigned flags,
                        const TRect* bounding, TRect& extent);

// ---- system values ----------------------------------------------------------------------------
TColor GetThemeSysColor(HTHEME theme, int colorId);
TBrush GetThemeSysColorBrush(HTHEME theme, int colorId);
bool GetThemeSysBool(HTHEME theme, int boolId);
int GetThemeSysSize(HTHEME theme, int sizeId);
long GetThemeSysFont(HTHEME theme, int fontId, TFont& font);
// The theme file's own names: none (themes-off answer).
long GetThemeSysString(HTHEME theme, int stringId, String& text);
long GetThemeSysInt(HTHEME theme, int intId, int& value);
