// Reading a full disc's CDDB entry and its CD information section.
#include "CDDBReply.h"
#include "CDPlayer.h"
#include "UserConfig.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

std::string FullEntry()
{
    std::string reply = "210 rock 0c01ac63 CD database entry follows\r\n# xmcd\r\nDISCID=0c01ac63\r\n"
                        "DTITLE=Some Artist / Some Title\r\n";
    for (int i = 0; i < 99; ++i)
        reply += Format("TTITLE%d=Track number %d with a name of ordinary length\r\n", i, i);
    return reply + "EXTD=\r\n.\r\n";
}

void BM_ParseReadReply(benchmark::State& state)
{
    std::string reply = FullEntry();
    for (auto _ : state) {
        TCDDBReadReply e;
        benchmark::DoNotOptimize(ParseReadReply(reply, e));
    }
}
BENCHMARK(BM_ParseReadReply);

void BM_SaveAndLoadCDInfo(benchmark::State& state)
{
    String folder = std::filesystem::temp_directory_path().string() + "/bench_cdinfo";
    SetUserConfigFolder(folder);
    TCDPlayer player;
    TStringList names;
    for (int i = 0; i < state.range(0); ++i)
        names.Add(Format("Track number %d", i));
    for (auto _ : state) {
        player.SaveCDInfo(0x1234, "Artist", "Title", "2003", "", names);
        String a, t, d, c;
        TStringList loaded;
        benchmark::DoNotOptimize(player.LoadCDInfo(0x1234, a, t, d, c, loaded));
    }
    std::filesystem::remove_all(folder);
    SetUserConfigFolder("");
}
BENCHMARK(BM_SaveAndLoadCDInfo)->Arg(12)->Arg(99);

}  // namespace

BENCHMARK_MAIN();
