#include "FileUtil.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

bool FolderExists(const String& Name)
{
    std::error_code error;
    return !Name.empty() && fs::is_directory(fs::path(Name), error);
}

bool HasAnyChar(const String& S, const String& Chars) { return S.find_first_of(Chars) != String::npos; }

bool IsValidFileName(const String& Name) { return !Name.empty() && !HasAnyChar(Name, "<>\"[]|"); }

String LongFileNamePart(const String& Name)
{
    if (Name.empty())
        return "";
    std::error_code error;
    const String pattern = ExtractFileName(Name);
    if (pattern.find_first_of("*?") == String::npos)
        return fs::exists(fs::path(Name), error) ? pattern : String();
    String folder = ExtractFilePath(Name);
    if (folder.empty())
        folder.assign(1, '.');
    std::vector<String> matches;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const String leaf = it->path().filename().string();
        if (fnmatch(pattern.c_str(), leaf.c_str(), FNM_PERIOD) == 0)
            matches.push_back(leaf);
    }
    if (matches.empty())
        return "";
    // Directory order is arbitrary; the first in name order keeps the answer repeatable.
    return *std::min_element(matches.begin(), matches.end());
}

String ShortFileNamePart(const String& Name) { return LongFileNamePart(Name); }
