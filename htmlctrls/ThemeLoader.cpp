#include "ThemeLoader.h"

bool ThemeLibraryLoaded = false;
TThemeProcs ThemeProcs;

void LoadThemeLibrary(bool (*engineAvailable)())
{
    if (ThemeLibraryLoaded)
        return;
    ThemeLibraryLoaded = engineAvailable();
    if (!ThemeLibraryLoaded)
        return;
    TThemeProcs& p = ThemeProcs;
    p.OpenThemeData = &::OpenThemeData;
    p.CloseThemeData = &::CloseThemeData;
    p.DrawThemeBackground = &::DrawThemeBackground;
    p.DrawThemeText = &::DrawThemeText;
    p.GetThemeBackgroundContentRect = &::GetThemeBackgroundContentRect;
    p.GetThemeBackgroundExtent = &::GetThemeBackgroundExtent;
    p.GetThemeTextExtent = &::GetThemeTextExtent;
    p.GetThemeTextMetrics = &::GetThemeTextMetrics;
    p.GetThemeBackgroundRegion = &::GetThemeBackgroundRegion;
    p.HitTestThemeBackground = &::HitTestThemeBackground;
    p.DrawThemeEdge = &::DrawThemeEdge;
    p.DrawThemeIcon = &::DrawThemeIcon;
    p.IsThemePartDefined = &::IsThemePartDefined;
    p.IsThemeBackgroundPartiallyTransparent = &::IsThemeBackgroundPartiallyTransparent;
    p.GetThemeColor = &::GetThemeColor;
    p.GetThemeMetric = &::GetThemeMetric;
    p.GetThemeString = &::GetThemeString;
    p.GetThemeBool = &::GetThemeBool;
    p.GetThemeInt = &::GetThemeInt;
    p.GetThemeEnumValue = &::GetThemeEnumValue;
    p.GetThemePosition = &::GetThemePosition;
    p.GetThemeFont = &::GetThemeFont;
    p.GetThemeRect = &::GetThemeRect;
    p.GetThemeMargins = &::GetThemeMargins;
    p.GetThemeIntList = &::GetThemeIntList;
    p.SetWindowTheme = &::SetWindowTheme;
    p.GetThemeFilename = &::GetThemeFilename;
    p.GetThemeSysColor = &::GetThemeSysColor;
    p.GetThemeSysColorBrush = &::GetThemeSysColorBrush;
    p.GetThemeSysBool = &::GetThemeSysBool;
    p.GetThemeSysSize = &::GetThemeSysSize;
    p.GetThemeSysFont = &::GetThemeSysFont;
    p.GetThemeSysString = &::GetThemeSysString;
    p.GetThemeSysInt = &::GetThemeSysInt;
    p.IsThemeActive = &::IsThemeActive;
    p.IsAppThemed = &::IsAppThemed;
    p.GetWindowTheme = &::GetWindowTheme;
    p.EnableThemeDialogTexture = &::EnableThemeDialogTexture;
    p.IsThemeDialogTextureEnabled = &::IsThemeDialogTextureEnabled;
    p.GetThemeAppProperties = &::GetThemeAppProperties;
    p.SetThemeAppProperties = &::SetThemeAppProperties;
    p.GetCurrentThemeName = &::GetCurrentThemeName;
    p.GetThemeDocumentationProperty = &::GetThemeDocumentationProperty;
    p.GetThemePartSize = &::GetThemePartSize;
    p.DrawThemeParentBackground = &::DrawThemeParentBackground;
    p.EnableTheming = &::EnableTheming;
}

void FreeThemeLibrary()
{
    ThemeLibraryLoaded = false;
}
