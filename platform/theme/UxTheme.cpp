#include "UxThemeParts.h"

#include "Controls.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <map>
#include <memory>

namespace {

struct Engine {
    bool enabled = true;
    unsigned appProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
    std::map<HTHEME, std::unique_ptr<TThemeData>> open;
    std::map<QString, std::unique_ptr<QStyle>> windowStyles;  // styles windows were given, by name
};

Engine& TheEngine()
{
    static Engine engine;
    return engine;
}

// What the window remembers of its theme.
const char* const kUnthemed = "ombrelleUnthemed";
const char* const kLastTheme = "ombrelleLastTheme";

QWidget* WidgetOf(TWinControl* control) { return control ? control->Widget() : nullptr; }

bool ClassNamed(const QString& name, TThemeClass& themeClass)
{
    static const std::pair<const char*, TThemeClass> classes[] = {
        {"WINDOW", TThemeClass::Window},     {"BUTTON", TThemeClass::Button},   {"EDIT", TThemeClass::Edit},
        {"COMBOBOX", TThemeClass::ComboBox}, {"PROGRESS", TThemeClass::Progress}, {"TOOLBAR", TThemeClass::ToolBar},
        {"SPIN", TThemeClass::Spin},         {"SCROLLBAR", TThemeClass::ScrollBar}};
    for (const auto& [known, value] : classes)
        if (name.trimmed().compare(known, Qt::CaseInsensitive) == 0) {
            themeClass = value;
            return true;
        }
    return false;
}

bool Allowed(TThemeClass themeClass)
{
    const unsigned needed = themeClass == TThemeClass::Window ? STAP_ALLOW_NONCLIENT : STAP_ALLOW_CONTROLS;
    return (TheEngine().appProperties & needed) != 0;
}

}  // namespace

TThemeData* ThemeDataOf(HTHEME theme)
{
    auto& open = TheEngine().open;
    auto it = open.find(theme);
    return it == open.end() ? nullptr : it->second.get();
}

bool ThemeEngineAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

bool IsThemeActive() { return ThemeEngineAvailable() && TheEngine().enabled; }

// The application's properties decide what it lets the styles draw: its windows' frames and
// captions (the "WINDOW" class) and its controls (every other class).
bool IsAppThemed()
{
    return IsThemeActive() && (TheEngine().appProperties & (STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS)) != 0;
}

long EnableTheming(bool enable)
{
    TheEngine().enabled = enable;
    return S_OK;
}

HTHEME OpenThemeData(TWinControl* control, const String& classList)
{
    QWidget* window = WidgetOf(control);
    if (!IsThemeActive() || (window && window->property(kUnthemed).toBool()))
        return nullptr;
    TThemeClass themeClass;
    for (const QString& name : QString::fromStdString(classList).split(';'))
        if (ClassNamed(name, themeClass) && Allowed(themeClass)) {
            auto data = std::make_unique<TThemeData>(TThemeData{themeClass, window});
            HTHEME handle = data.get();
            TheEngine().open.emplace(handle, std::move(data));
            if (window)
                window->setProperty(kLastTheme, QVariant::fromValue(reinterpret_cast<quintptr>(handle)));
            return handle;
        }
    return nullptr;
}

long CloseThemeData(HTHEME theme) { return TheEngine().open.erase(theme) ? S_OK : E_HANDLE; }

HTHEME GetWindowTheme(TWinControl* control)
{
    QWidget* window = WidgetOf(control);
    if (!window)
        return nullptr;
    auto handle = reinterpret_cast<HTHEME>(window->property(kLastTheme).value<quintptr>());
    return ThemeDataOf(handle) ? handle : nullptr;
}

long SetWindowTheme(TWinControl* control, const String& subAppName, const String&)
{
    QWidget* window = WidgetOf(control);
    if (!window)
        return E_INVALIDARG;
    const QString name = QString::fromStdString(subAppName);
    window->setProperty(kUnthemed, !name.isEmpty() && name.trimmed().isEmpty());
    if (name.trimmed().isEmpty()) {
        window->setStyle(nullptr);
        return S_OK;
    }
    auto& styles = TheEngine().windowStyles;
    auto it = styles.find(name.toLower());
    if (it == styles.end()) {
        std::unique_ptr<QStyle> style(QStyleFactory::create(name));
        if (!style)
            return E_INVALIDARG;
        it = styles.emplace(name.toLower(), std::move(style)).first;
    }
    window->setStyle(it->second.get());
    return S_OK;
}

long GetCurrentThemeName(String& fileName, String& colorName, String& sizeName)
{
    if (!IsThemeActive())
        return E_FAIL;
    fileName = QApplication::style()->name().toStdString();
    colorName.clear();
    sizeName.clear();
    return S_OK;
}

long GetThemeDocumentationProperty(const String& themeName, const String& propertyName, String& value)
{
    if (!IsThemeActive() || QString::fromStdString(themeName).compare(QApplication::style()->name(), Qt::CaseInsensitive) != 0)
        return E_INVALIDARG;
    const QString property = QString::fromStdString(propertyName);
    if (property.compare("DisplayName", Qt::CaseInsensitive) == 0)
        value = QApplication::style()->name().toStdString();
    else if (property.compare("Version", Qt::CaseInsensitive) == 0)
        value = qVersion();
    else
        return E_PROP_ID_UNSUPPORTED;
    return S_OK;
}

unsigned GetThemeAppProperties() { return TheEngine().appProperties; }

void SetThemeAppProperties(unsigned flags) { TheEngine().appProperties = flags; }

