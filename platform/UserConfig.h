#pragma once
// The per-user config folder: $XDG_CONFIG_HOME/ombrelle, else ~/.config/ombrelle, with a
// trailing separator. It is not created here.
#include "SysUtils.h"

String UserConfigFolder();
