#pragma once
// The desktop shell: opening links.
#include "SysUtils.h"

// Opens a link with the desktop's handler ("open" verb). Only http://, https://, ftp:// and
// mailto: targets reach the desktop, so a link from a server never starts a program.
// Returns false when the target was refused or could not be opened.
bool ShellOpen(const String& target);

// What ShellOpen would hand to the desktop, for tests; empty when it refuses the target.
String ShellOpenTarget(const String& target);

// Tests set this to see what would be opened instead of opening it.
void SetShellOpenHook(bool (*hook)(const String& url));

// Opens a link from a web page or a server's reply: only http://, https:// and mailto:
// targets (letter case aside) reach ShellOpen; false for anything else.
bool ShellOpenWebLink(const String& target);
