// A save's new name survives a power cut: the folder is synced once the file has its name. The
// system's fsync is stood in for in this test program, to see what each sync reaches.
#include "IniFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace {
std::atomic<bool> watching{false};
std::vector<std::pair<std::string, std::string>> syncs;  // what was synced, and the file's content then
std::string watched;

std::string Slurp(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
}  // namespace

extern "C" int fsync(int fd)
{
    static const auto system = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (watching) {
        char path[4096];
        const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
        syncs.emplace_back(std::string(path, n > 0 ? static_cast<size_t>(n) : 0), Slurp(watched));
    }
    return system(fd);
}

TEST(SafeSave, ASaveRemovesItsFilesLeftoversAndSyncsTheFolderAfterTheRename)
{
    TempDir dir;
    watched = dir.File("CD.ini");
    const std::string stale = watched + ".tmp-Ab12Cd", other = dir.File("Other.ini.tmp-Ab12Cd");
    std::ofstream(stale) << "partial";
    std::ofstream(other) << "partial";
    watching = true;
    TIniFile(watched).WriteString("Disc", "Artist", "Someone");
    watching = false;
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(other));  // another file's, left to that file's own saves
    ASSERT_EQ(syncs.size(), 2u);
    EXPECT_EQ(syncs[0].first.rfind(watched + ".tmp-", 0), 0u) << syncs[0].first;
    EXPECT_EQ(syncs[1].first + "/", dir.Path());
    EXPECT_EQ(syncs[1].second, "[Disc]\r\nArtist=Someone\r\n");
}
