// Saves that leave nothing behind and whose new name survives a power cut: the folder is synced
// once the file has its name. Which file every sync reaches is watched by standing in for the
// system's fsync in this test program.
#include "IniFiles.h"
#include "Registry.h"
#include "TempDir.h"
#include "UserConfig.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>

namespace {
struct TSync {
    std::string path;     // what was synced
    std::string watched;  // the watched file's content at that moment
};

std::mutex syncMutex;
std::string watchedFile;  // empty: nothing is recorded
std::vector<TSync> syncs;

std::string Slurp(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct WatchSyncs {
    explicit WatchSyncs(const std::string& file)
    {
        std::lock_guard lock(syncMutex);
        watchedFile = file;
        syncs.clear();
    }
    ~WatchSyncs()
    {
        std::lock_guard lock(syncMutex);
        watchedFile.clear();
    }
    std::vector<TSync> Syncs() const
    {
        std::lock_guard lock(syncMutex);
        return syncs;
    }
};
}  // namespace

extern "C" int fsync(int fd)
{
    static const auto system = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    {
        std::lock_guard lock(syncMutex);
        if (!watchedFile.empty()) {
            char path[4096];
            const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
            syncs.push_back({std::string(path, n > 0 ? static_cast<size_t>(n) : 0), Slurp(watchedFile)});
        }
    }
    return system(fd);
}

namespace {
namespace fs = std::filesystem;

struct SaveCase {
    const char* what;
    std::string file;  // in the config folder
    std::function<void()> save;
};

TEST(SafeSave, ASaveRemovesItsFilesLeftoversAndSyncsTheFolderAfterTheRename)
{
    TempDir config;
    SetUserConfigFolder(config.Path());
    const std::string folder = fs::path(config.Path()).lexically_normal().parent_path().string();
    const std::vector<SaveCase> cases = {
        {"ini file", "CD.ini", [] { TIniFile("CD.ini").WriteString("Disc", "Artist", "Someone"); }},
        {"registry store", "Registry.ini",
         [] {
             TRegistry registry;
             registry.OpenKey("Software\\Ombrelle", true);
             registry.WriteString("Server", "example.org");
         }},
        {"string list", "List.txt",
         [&] {
             TStringList list;
             list.Add("Someone");
             list.SaveToFile(config.File("List.txt"));
         }},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = config.File(c.file);
        const std::string stale = file + ".tmp-Ab12Cd", other = config.File("Other.ini.tmp-Ab12Cd");
        std::ofstream(stale) << "partial";
        std::ofstream(other) << "partial";
        std::vector<TSync> seen;
        {
            WatchSyncs watch(file);
            c.save();
            seen = watch.Syncs();
        }
        EXPECT_FALSE(fs::exists(stale));
        EXPECT_TRUE(fs::exists(other));  // another file's, left to that file's own saves
        fs::remove(other);
        // Each write: the temporary, then the folder once the file has its new name.
        ASSERT_FALSE(seen.empty());
        ASSERT_EQ(seen.size() % 2, 0u);
        for (size_t i = 0; i < seen.size(); i += 2) {
            EXPECT_EQ(seen[i].path.rfind(file + ".tmp-", 0), 0u) << seen[i].path;
            EXPECT_EQ(seen[i + 1].path, folder);
            EXPECT_FALSE(seen[i + 1].watched.empty());
        }
        EXPECT_EQ(seen.back().watched, Slurp(file));
        for (const auto& entry : fs::directory_iterator(config.Path()))
            EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
    }
    SetUserConfigFolder("");
}

}  // namespace
