// Start-up with a large "Settings.ini": the main window's creation (the file read, the layouts
// listed in the chooser) and its destruction (the file written back), for 20,000 layouts
// (1.7 MB), against the same with the 7 layouts the program ships; a CD information section; the
// registry store read by the track finder. The files the program keeps must cost time in
// proportion to their size.
#include "CDDBServer.h"
#include "CoverTypes.h"
#include "Forms.h"
#include "IniFiles.h"
#include "Jpeg.h"
#include "PictureFormats.h"
#include "Program.h"
#include "Registry.h"
#include "SideBySide.h"
#include "UserConfig.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
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

// A program folder of its own; "Settings.ini" is written back unchanged at every exit.
String FolderWithLayouts(const char* name, int count)
{
    const String folder = Folder().path().toStdString() + "/" + name;
    std::filesystem::create_directories(folder);
    WriteLayouts(folder + "/Settings.ini", count);
    return folder;
}

String FolderWithShippedLayouts()
{
    const String folder = Folder().path().toStdString() + "/shipped";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(OMBRELLE_SHIPPED_SETTINGS, folder + "/Settings.ini", std::filesystem::copy_options::overwrite_existing);
    return folder;
}

void StartAndExitIn(const String& folder)
{
    Application()->SetExeName(folder + "/ombrelle");
    CreateStartupForms();
    FreeStartupForms();
}

void BM_StartAndExitWith20000Layouts(benchmark::State& state)
{
    static const String large = FolderWithLayouts("large", 20000), shipped = FolderWithShippedLayouts();
    bench::Contest(state, {{"large", [] { StartAndExitIn(large); }}, {"seven_layouts", [] { StartAndExitIn(shipped); }}});
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

BENCHMARK(BM_StartAndExitWith20000Layouts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);
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
