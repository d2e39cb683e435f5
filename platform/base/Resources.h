#pragma once
// Raw-data resources compiled into the program (resource type 10). They are Qt resources
// under ":/rcdata/"; names are compared without regard to case, as resource names are.
#include "SysUtils.h"

#include <vector>

// False when the program holds no such resource.
bool LoadResourceData(const String& name, std::vector<uint8_t>& data);
