// The CD information file as it may be found on disk, and writing over it.
#include "CDPlayer.h"
#include "IniFiles.h"
#include "UserConfig.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const String folder = Format("/tmp/fuzz_cdini.%d", static_cast<int>(getpid()));
    static const struct Cleanup {
        ~Cleanup() { std::filesystem::remove_all(folder); }
    } cleanup;
    SetUserConfigFolder(folder);
    ForceUserConfigFolder();
    std::ofstream(folder + "/" + CDInfoFileName, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    static TCDPlayer player;
    String artist, title, date, category;
    TStringList names;
    for (int id : {1, 255, 0x0C01AC02})
        if (player.LoadCDInfo(id, artist, title, date, category, names) && names.Count() > 99)
            std::abort();

    // Whatever the file held, what is written reads back the same.
    TStringList written{"first", "second"};
    player.SaveCDInfo(255, "Artist", "Title", "2003", "", written);
    if (!player.LoadCDInfo(255, artist, title, date, category, names) || artist != "Artist" ||
        title != "Title" || names.Text() != written.Text())
        std::abort();
    return 0;
}
