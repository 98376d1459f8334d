// Start to a drawn window: the application binary launched beside a bare Qt Widgets window
// (bench/bare_window), both under the offscreen platform with a fresh home, each reporting
// its first painted frame; the application also once more with the home of an earlier launch (a
// returning user: settings already written). With 100,000 files as arguments the same launch also gives the
// memory with the files listed (peak resident size) against the empty window's.
#include "bench_files.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Launch {
    double msToFrame = -1;   // -1: no frame reported
    double residentMiB = 0;  // a second after the first frame
    double peakMiB = 0;      // the most resident at any time
};

long long monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// A fresh home for every launch keeps settings, history and the single-instance socket of one
// run away from the next (and from the user's own): each is a first launch. `homeFolder` gives
// a home kept between launches instead, for a returning user's start.
Launch launch(const char* binary, const QStringList& args, const QString& workingFolder, const QString& homeFolder = {})
{
    QTemporaryDir fresh;
    const QByteArray h = QFile::encodeName(homeFolder.isEmpty() ? fresh.path() : homeFolder);
    std::vector<QByteArray> env = {"QT_QPA_PLATFORM=offscreen",
                                   "BRINDLECOVE_FIRST_FRAME_REPORT=1",
                                   "HOME=" + h,
                                   "XDG_CONFIG_HOME=" + h + "/config",
                                   "XDG_DATA_HOME=" + h + "/data",
                                   "XDG_CACHE_HOME=" + h + "/cache",
                                   "XDG_RUNTIME_DIR=" + h,
                                   "LANG=C.UTF-8"};
    std::vector<QByteArray> argBytes = {binary};
    for (const QString& a : args)
        argBytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv, envp;
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const QByteArray cwd = QFile::encodeName(workingFolder);
    const QByteArray before = QFile::encodeName(QDir::currentPath());
    (void)::chdir(cwd.constData());
    const long long start = monotonicNs();
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, binary, &actions, nullptr, argv.data(), envp.data());
    (void)::chdir(before.constData());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    Launch result;
    if (spawned != 0) {
        ::close(out[0]);
        return result;
    }
    QByteArray text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(out[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, got);
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const qsizetype at = text.indexOf("first-frame ");
    if (at >= 0) {
        result.msToFrame = double(std::strtoll(text.constData() + at + 12, nullptr, 10) - start) / 1e6;
        const qsizetype settled = text.indexOf("settled-resident-kib ");
        if (settled >= 0)
            result.residentMiB = double(std::strtoll(text.constData() + settled + 21, nullptr, 10)) / 1024.0;
    }
    result.peakMiB = double(usage.ru_maxrss) / 1024.0;
    return result;
}

// 100,000 arguments need more than the usual 2 MB of argument space, which is a quarter of
// the stack limit the launching process has.
void roomForArguments()
{
    rlimit stack{};
    if (::getrlimit(RLIMIT_STACK, &stack) == 0 && stack.rlim_cur != RLIM_INFINITY
        && stack.rlim_cur < 64UL * 1024 * 1024) {
        stack.rlim_cur = std::min<rlim_t>(64UL * 1024 * 1024, stack.rlim_max);
        ::setrlimit(RLIMIT_STACK, &stack);
    }
}

void BM_StartToDrawnWindowVsBareWindow(benchmark::State& state)
{
    const QString here = QDir::tempPath();
    launch(BRINDLECOVE_BARE_WINDOW_BINARY, {}, here);  // load the libraries into the page cache
    const QTemporaryDir kept;                          // the returning user's home: written by this first launch
    launch(BRINDLECOVE_APP_BINARY, {}, here, kept.path());
    double bareTotal = 0, appTotal = 0, returningTotal = 0;
    for (auto _ : state) {
        const Launch bare = launch(BRINDLECOVE_BARE_WINDOW_BINARY, {}, here);
        const Launch app = launch(BRINDLECOVE_APP_BINARY, {}, here);
        const Launch returning = launch(BRINDLECOVE_APP_BINARY, {}, here, kept.path());
        if (bare.msToFrame < 0 || app.msToFrame < 0 || returning.msToFrame < 0) {
            state.SkipWithError("a launch reported no frame");
            return;
        }
        bareTotal += bare.msToFrame;
        appTotal += app.msToFrame;
        returningTotal += returning.msToFrame;
        state.SetIterationTime(app.msToFrame / 1000);
    }
    state.counters["bare_ms"] = bareTotal / double(state.iterations());
    state.counters["app_ms"] = appTotal / double(state.iterations());
    state.counters["returning_app_ms"] = returningTotal / double(state.iterations());
    state.counters["ratio_vs_bare"] = appTotal / bareTotal;
    state.counters["returning_ratio_vs_bare"] = returningTotal / bareTotal;
}
BENCHMARK(BM_StartToDrawnWindowVsBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The launch with 100,000 files on the command line: its time to the drawn, filled window and
// its memory once settled (and its peak on the way), against the same application started with
// none.
void BM_LaunchWith100kFilesVsEmpty(benchmark::State& state)
{
    roomForArguments();
    const QString folder = flatFolder();
    QStringList args;
    for (int i = 0; i < kFlatFolderFiles; ++i)
        args << flatFileName(i);
    launch(BRINDLECOVE_APP_BINARY, {}, folder);
    double emptyMs = 0, fullMs = 0, emptyMiB = 0, fullMiB = 0, peakMiB = 0;
    for (auto _ : state) {
        const Launch empty = launch(BRINDLECOVE_APP_BINARY, {}, folder);
        const Launch full = launch(BRINDLECOVE_APP_BINARY, args, folder);
        if (empty.msToFrame < 0 || full.msToFrame < 0) {
            state.SkipWithError("a launch reported no frame");
            return;
        }
        emptyMs += empty.msToFrame;
        fullMs += full.msToFrame;
        emptyMiB += empty.residentMiB;
        fullMiB += full.residentMiB;
        peakMiB += full.peakMiB;
        state.SetIterationTime(full.msToFrame / 1000);
    }
    const double n = double(state.iterations());
    state.counters["empty_ms"] = emptyMs / n;
    state.counters["files_ms"] = fullMs / n;
    state.counters["empty_MiB"] = emptyMiB / n;
    state.counters["files_MiB"] = fullMiB / n;
    state.counters["files_peak_MiB"] = peakMiB / n;
    state.counters["memory_ratio_vs_empty"] = fullMiB / emptyMiB;
}
BENCHMARK(BM_LaunchWith100kFilesVsEmpty)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
