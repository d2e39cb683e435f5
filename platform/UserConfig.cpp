#include "UserConfig.h"

#include <cstdlib>

String UserConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return String(xdg) + "/ombrelle/";
    const char* home = std::getenv("HOME");
    return String(home ? home : "") + "/.config/ombrelle/";
}
