// Start-up to the main window's first paint, against the least a Qt Widgets program shows: one
// plain window (startup/MinimalWindow.cpp). Every run is a new process that ends right after its
// first paint (startup/FirstPaintExit.cpp, preloaded into both), the two alternating; offscreen,
// and under an X server of the benchmark's own (Xvfb) where one is installed. Counters:
// x_window, our median time over the window's; the median peak memory of each in MiB; and the
// shared objects each has loaded by its first paint.
#include "SideBySide.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The process's environment with some variables set (an empty value removes the variable).
std::vector<std::string> Environment(const std::map<std::string, std::string>& set)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!set.count(entry.substr(0, entry.find('='))))
            env.push_back(entry);
    }
    for (const auto& [name, value] : set)
        if (!value.empty())
            env.push_back(name + "=" + value);
    return env;
}

// What a program wrote to its error output (kept in a file of the benchmark's own), on one line.
std::string ErrorOutput(const std::string& path)
{
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "r")) {
        char buffer[1024];
        while (std::fgets(buffer, sizeof buffer, f) && text.size() < 2000)
            text += buffer;
        std::fclose(f);
    }
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    return text;
}

// Runs the program to its end (at most a minute) and returns its peak memory in KiB.
long RunToFirstPaint(const char* program, const std::vector<std::string>& env)
{
    // One file for every run, removed when the benchmark ends.
    static const struct ErrorFile {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("ombrelle-first-paint-errors-" + std::to_string(getpid()))).string();
        ~ErrorFile() { std::filesystem::remove(path); }
    } errorFile;
    const std::string& errors = errorFile.path;
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error(std::string("cannot start ") + program);
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    pollfd ended{pidfd, POLLIN, 0};
    if (pidfd < 0 || poll(&ended, 1, 60000) != 1)
        kill(pid, SIGKILL);  // never painted: ended here
    if (pidfd >= 0)
        close(pidfd);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (WIFSIGNALED(status))
        throw std::runtime_error(std::string(program) + " ended by signal " + std::to_string(WTERMSIG(status)) +
                                 " before its first paint ended it: " + ErrorOutput(errors));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string(program) + " ended with status " + std::to_string(WEXITSTATUS(status)) +
                                 " before its first paint ended it: " + ErrorOutput(errors));
    return usage.ru_maxrss;
}

// The shared objects the program has loaded by its first paint.
int ObjectsAtFirstPaint(const char* program, std::vector<std::string> env)
{
    const std::string report = (std::filesystem::temp_directory_path() / ("ombrelle-first-paint-" + std::to_string(getpid()))).string();
    env.push_back("OMBRELLE_FIRST_PAINT_REPORT=" + report);
    RunToFirstPaint(program, env);
    int objects = 0;
    if (std::FILE* f = std::fopen(report.c_str(), "r")) {
        if (std::fscanf(f, "%d", &objects) != 1)
            objects = 0;
        std::fclose(f);
    }
    std::filesystem::remove(report);
    return objects;
}

// An X server of our own on a free display, stopped at exit.
class XServer {
public:
    XServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        const std::string fd = std::to_string(fds[1]);
        char* argv[] = {const_cast<char*>("Xvfb"), const_cast<char*>("-displayfd"), const_cast<char*>(fd.c_str()),
                        const_cast<char*>("-nolisten"), const_cast<char*>("tcp"), const_cast<char*>("-screen"),
                        const_cast<char*>("0"), const_cast<char*>("1280x1024x24"), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv, environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its display number once it takes connections.
        char number[16] = {};
        pollfd ready{fds[0], POLLIN, 0};
        if (pid_ && poll(&ready, 1, 30000) == 1 && read(fds[0], number, sizeof number - 1) > 0)
            display_ = ":" + std::to_string(std::atoi(number));
        // Kept open while the server runs: it writes the number and the line's end apart, and a
        // write to a closed pipe ends it, leaving the next program no display to connect to.
        displayPipe_ = fds[0];
    }
    ~XServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (displayPipe_ >= 0)
            close(displayPipe_);
    }
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = 0;
    int displayPipe_ = -1;
    std::string display_;
};

// Started on first use, stopped at exit.
const XServer& OwnXServer()
{
    static const XServer server;
    return server;
}

// Argument: 0 offscreen, 1 under Xvfb.
void BM_StartUpToFirstPaint(benchmark::State& state)
{
    std::map<std::string, std::string> set = {{"LD_PRELOAD", OMBRELLE_FIRST_PAINT_EXIT}, {"QT_QPA_PLATFORMTHEME", ""}};
    if (state.range(0) == 0) {
        set["QT_QPA_PLATFORM"] = "offscreen";
    } else {
        if (OwnXServer().Display().empty()) {
            state.SkipWithError("Xvfb is not installed or does not start");
            return;
        }
        set["QT_QPA_PLATFORM"] = "xcb";
        set["DISPLAY"] = OwnXServer().Display();
    }
    const std::vector<std::string> env = Environment(set);
    std::vector<double> ours, window;
    try {
        bench::Contest(state, {{"program", [&] { ours.push_back(RunToFirstPaint(OMBRELLE_PROGRAM, env) / 1024.0); }},
                               {"window", [&] { window.push_back(RunToFirstPaint(OMBRELLE_MINIMAL_WINDOW, env) / 1024.0); }}});
        state.counters["program_objects"] = ObjectsAtFirstPaint(OMBRELLE_PROGRAM, env);
        state.counters["window_objects"] = ObjectsAtFirstPaint(OMBRELLE_MINIMAL_WINDOW, env);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.counters["program_MiB"] = bench::Median(ours);
    state.counters["window_MiB"] = bench::Median(window);
    state.SetLabel(state.range(0) == 0 ? "offscreen" : "Xvfb");
}
BENCHMARK(BM_StartUpToFirstPaint)->Arg(0)->Arg(1)->UseManualTime()->MinTime(5.0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
