#pragma once
// File-name tests and name lookup for the file-name edit.
#include "SysUtils.h"

bool FolderExists(const String& Name);
// Some character of Chars occurs in S.
bool HasAnyChar(const String& S, const String& Chars);
// Not empty and free of < > " [ ] |.
bool IsValidFileName(const String& Name);
// The name part (never the folder) of the first file matching Name, which may hold the
// wildcards * and ? in its name part; empty when nothing matches.
String LongFileNamePart(const String& Name);
// The file system keeps no separate short names, so the short form is the long one.
String ShortFileNamePart(const String& Name);
