#include "Shell.h"

#include <QDesktopServices>
#include <QUrl>

#include <cstring>

namespace {
bool (*g_hook)(const String&) = nullptr;

bool StartsWithNoCase(const String& s, const char* prefix)
{
    return LowerCase(s.substr(0, std::strlen(prefix))) == prefix;
}
}  // namespace

String ShellOpenTarget(const String& target)
{
    String t = Trim(target);
    for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"})
        if (StartsWithNoCase(t, scheme))
            return t;
    return String();
}

bool ShellOpen(const String& target)
{
    String t = ShellOpenTarget(target);
    if (t.empty())
        return false;
    if (g_hook)
        return g_hook(t);
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(t), QUrl::TolerantMode));
}

void SetShellOpenHook(bool (*hook)(const String&)) { g_hook = hook; }

bool ShellOpenWebLink(const String& target)
{
    const String t = Trim(target);
    for (const char* scheme : {"http://", "https://", "mailto:"})
        if (StartsWithNoCase(t, scheme))
            return ShellOpen(t);
    return false;
}
