// The metafiles built to break the player's limits, each opened in a program of its own so that
// its wall time and peak memory are its alone: what each costs to draw or to refuse.
//   bench_metafile_worst                  every case, as benchmarks (time, peak_rss_mb, outcome)
//   bench_metafile_worst --write FOLDER   the small cases as files, seeds for the fuzz corpora
//   bench_metafile_worst --worst FOLDER   every case as files, to open elsewhere (such as under the sanitizers)
//   bench_metafile_worst --open FILE      opens one file and prints the outcome
#include "Graphics.h"
#include "HostileMetafiles.h"
#include "PictureFormats.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {
std::string self;

std::string Write(const std::string& folder, const HostileMetafile& m)
{
    const std::string path = folder + "/" + m.Name + (m.Enhanced ? ".emf" : ".wmf");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(m.Bytes.data()), std::streamsize(m.Bytes.size()));
    return path;
}

void OpenInChild(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            std::abort();
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            execl(self.c_str(), self.c_str(), "--open", file.c_str(), nullptr);
            _exit(127);
        }
        close(pipeEnds[1]);
        std::string outcome;
        char buffer[512];
        for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            outcome.append(buffer, size_t(n));
        close(pipeEnds[0]);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["peak_rss_mb"] = double(usage.ru_maxrss) / 1024;
        state.counters["file_kb"] = double(std::filesystem::file_size(file)) / 1024;
        if (!WIFEXITED(status))
            outcome = "killed by signal " + std::to_string(WTERMSIG(status));
        state.SetLabel(outcome);
    }
}

int Open(const char* file)
{
    RegisterPictureFormats();
    TPicture picture;
    try {
        picture.LoadFromFile(file);
        std::printf("opened %dx%d", picture.Width(), picture.Height());
    } catch (const Exception& e) {
        const std::string message = e.Message;
        const size_t name = message.find(file);
        std::printf("refused: %s", name == std::string::npos ? message.c_str() : message.substr(name + std::strlen(file) + 2).c_str());
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    self = std::filesystem::absolute(argv[0]).string();
    if (argc == 3 && (std::strcmp(argv[1], "--write") == 0 || std::strcmp(argv[1], "--worst") == 0)) {
        for (const HostileMetafile& m : HostileMetafiles(std::strcmp(argv[1], "--write") == 0))
            Write(argv[2], m);
        return 0;
    }
    QGuiApplication app(argc, argv);  // fonts for the text records
    if (argc == 3 && std::strcmp(argv[1], "--open") == 0)
        return Open(argv[2]);
    const std::string folder = (std::filesystem::temp_directory_path() / ("ombrelle-worst-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(folder);
    for (const HostileMetafile& m : HostileMetafiles(false)) {
        const std::string file = Write(folder, m);
        benchmark::RegisterBenchmark((m.Name + (m.Enhanced ? ".emf" : ".wmf")).c_str(), [file](benchmark::State& s) { OpenInChild(s, file); })
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
