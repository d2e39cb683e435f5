// Start-up with a large "Settings.ini": the main window's creation (the file read, the layouts
// listed in the chooser) and its destruction (the file written back), for 20,000 layouts
// (1.7 MB); a CD information section; the registry store read by the track finder. The files
// the program keeps must cost time in proportion to their size.
#include "CDDBServer.h"
#include "CoverTypes.h"
#include "Forms.h"
#include "IniFiles.h"
#include "Jpeg.h"
#include "Program.h"
#include "Registry.h"
#include "UserConfig.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>

namespace {
QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

void WriteLayouts(const String& file, int count)
{
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < count; ++i) {
        TCoverRec rec;
        std::memset(&rec, 0, sizeof rec);
        rec.Left = rec.Top = 0.5f;
        rec.Width = 4.75f;
        rec.Height = 7.5f;
        rec.SetName("Layout " + IntToStr(i));
        rec.IconIndex = i % 5;
        out.write(reinterpret_cast<const char*>(&rec), sizeof rec);
    }
}

void BM_StartAndExitWith20000Layouts(benchmark::State& state)
{
    const String exe = Folder().path().toStdString() + "/ombrelle";
    Application()->SetExeName(exe);
    for (auto _ : state) {
        state.PauseTiming();
        WriteLayouts(Folder().path().toStdString() + "/Settings.ini", 20000);
        state.ResumeTiming();
        CreateStartupForms();
        FreeStartupForms();
    }
    state.counters["layouts"] = 20000;
}

// A CD information section of 99 track names, saved as the track finder saves it.
void BM_SaveCdSectionOf99Names(benchmark::State& state)
{
    SetUserConfigFolder(Folder().path().toStdString() + "/config");
    TIniFile ini("RizarOdaza.ini");
    for (auto _ : state) {
        ini.BeginUpdate();
        for (int i = 0; i < 99; ++i)
            ini.WriteString("00ABCDEF", IntToStr(i), "Track name " + IntToStr(i));
        ini.EndUpdate();
    }
}

// What the track finder reads from a "Registry.ini" of 16,000 keys (149 KB) when it opens: the
// CDDB server and the 26 drive letters' disc images.
void BM_FinderReadsFromRegistryOf16000Keys(benchmark::State& state)
{
    SetUserConfigFolder(Folder().path().toStdString() + "/config");
    ForceUserConfigFolder();
    {
        std::ofstream out(TRegistry::StoreFileName(), std::ios::binary);
        out << "[HKEY_CURRENT_USER\\Software\\Ombrelle\\CD Images]\r\n";
        for (int i = 0; i < 16000; ++i)
            out << "Image" << i << "=/discs/" << i << ".cue\r\n";
    }
    for (auto _ : state) {
        TRegistry reg;
        reg.OpenKey("\\Software\\Ombrelle\\CD Images", false);
        for (char c = 'A'; c <= 'Z'; ++c)
            benchmark::DoNotOptimize(reg.ReadString(String(1, c)));
        benchmark::DoNotOptimize(CDDBServer());
    }
}
}  // namespace

BENCHMARK(BM_StartAndExitWith20000Layouts)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveCdSectionOf99Names)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinderReadsFromRegistryOf16000Keys)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterPictureFormats();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
