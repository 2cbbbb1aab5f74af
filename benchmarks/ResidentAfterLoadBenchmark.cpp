// Resident memory 3 s after a 50 MB C file was loaded and shown coloured, in the real frame and,
// as the peer, in Geany over the same file. Run it under an X server with the frame on it too:
// xvfb-run -a env QT_QPA_PLATFORM=xcb ResidentAfterLoadBenchmark. The peer case is skipped when
// Geany or a display is missing.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "LargeFileFrame.h"

extern char **environ;

namespace {

constexpr std::size_t kFileBytes = 50 * 1024 * 1024;
constexpr auto kSettle = std::chrono::seconds(3);

double ResidentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return 0;
}

pid_t Spawn(std::vector<std::string> arguments) {
    std::vector<char *> argv;
    for (std::string &argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

bool RunToEnd(std::vector<std::string> arguments) {
    const pid_t pid = Spawn(std::move(arguments));
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void BM_ResidentAfterLoad50MB(benchmark::State &state) {
    LargeFileFrame &fixture = LargeFileFrame::Shared(kFileBytes);
    for (auto _ : state) {
        fixture.Frame->LoadDocument(fixture.Path);
        const auto settled = std::chrono::steady_clock::now() + kSettle;
        while (std::chrono::steady_clock::now() < settled) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    state.counters["resident_MiB"] = ResidentMiB(getpid());
}
BENCHMARK(BM_ResidentAfterLoad50MB)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Geany over the same file. It keeps working in the background after the text shows, so its
// figure is taken once its resident memory has stayed the same for the settling time.
void BM_PeerGeanyResidentAfterLoad50MB(benchmark::State &state) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        !RunToEnd({"sh", "-c", "command -v geany >/dev/null"})) {
        state.SkipWithError("needs Geany and an X server");
        return;
    }
    LargeFileFrame &fixture = LargeFileFrame::Shared(kFileBytes);
    const QTemporaryDir config;
    double resident = 0;
    for (auto _ : state) {
        const pid_t geany = Spawn({"geany", "--new-instance", "--no-session", "--no-plugins",
                                   "--config=" + config.path().toStdString(), fixture.Path});
        if (geany < 0) {
            state.SkipWithError("Geany did not start");
            return;
        }
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        auto lastChange = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - lastChange < kSettle &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            const double now = ResidentMiB(geany);
            if (now != resident) {
                resident = now;
                lastChange = std::chrono::steady_clock::now();
            }
        }
        kill(geany, SIGKILL);
        waitpid(geany, nullptr, 0);
    }
    state.counters["resident_MiB"] = resident;
}
BENCHMARK(BM_PeerGeanyResidentAfterLoad50MB)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
