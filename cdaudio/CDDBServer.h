#pragma once
// The CDDB server the track finder asks: the public one that answers "/~cddb/cddb.cgi" over
// HTTP on port 80, unless the per-user settings name another (HKEY_CURRENT_USER
// "Software\Ombrelle\CDDB", value "Server").
#include "SysUtils.h"

extern const char* const DefaultCDDBServer;

String CDDBServer();
