#include "UserConfig.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
String& OverrideFolder()
{
    static String folder;
    return folder;
}
}

String UserConfigFolder()
{
    if (!OverrideFolder().empty())
        return IncludeTrailingPathDelimiter(OverrideFolder());
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg)
        return IncludeTrailingPathDelimiter(xdg) + "ombrelle/";
    const char* home = std::getenv("HOME");
    return IncludeTrailingPathDelimiter(home && *home ? home : ".") + ".config/ombrelle/";
}

void SetUserConfigFolder(const String& folder) { OverrideFolder() = folder; }

void ForceUserConfigFolder()
{
    std::error_code error;
    std::filesystem::create_directories(UserConfigFolder(), error);
    if (error)
        throw EFCreateError(Format("Cannot create file \"%s\". %s", UserConfigFolder().c_str(),
                                   error.message().c_str()));
}
