#pragma once
// The per-user config folder: home of the registry store and of ini files named without a
// folder (the place the Windows directory held for them).
#include "SysUtils.h"

// $XDG_CONFIG_HOME/ombrelle, else ~/.config/ombrelle; with a trailing separator.
String UserConfigFolder();
// Points the folder elsewhere (tests); an empty text returns to the default.
void SetUserConfigFolder(const String& folder);
// Creates the folder when it is missing; raises EFCreateError when it cannot.
void ForceUserConfigFolder();
