// The frame loop as a learner's program meets it: how many frames per second a loop of Clear and
// UpdateScreen runs at, and how long a program at 60 frames per second takes to see UpdateScreen
// return 0 after the window was asked to close behind 3,000 pointer moves. Opens a window and
// closes it, so run the whole file under Xvfb (the close case last, as registered).
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "Graphics.h"
#include "QueuedUserInput.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kQueuedMoves = 3000;
constexpr auto kFrameTime = std::chrono::microseconds(16667);
constexpr int kFrameLimit = 10000;  // gives up after about 167 s at 60 frames per second

bool WindowReady() {
    static const bool kReady =
        InitGraph(kWindowWidth, kWindowHeight, 0, "frame loop benchmark") == 1;
    return kReady;
}

void FramesPerSecond(benchmark::State &state) {
    if (!WindowReady()) {
        state.SkipWithError("no window");
        return;
    }
    int colour = 0;
    for (auto _ : state) {
        SetColor(colour++ % 16);
        Clear();
        if (UpdateScreen() == 0) {
            state.SkipWithError("the window closed");
            break;
        }
    }
    state.counters["frames/s"] =
        benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}

void CloseAfterQueuedMovesAt60Fps(benchmark::State &state) {
    for (auto _ : state) {
        if (!WindowReady() || !QueuePointerMovesThenCloseRequest(kQueuedMoves)) {
            state.SkipWithError("no X11 window");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        auto nextFrame = start;
        int frames = 0;
        while (frames < kFrameLimit && UpdateScreen() != 0) {
            ++frames;
            nextFrame += kFrameTime;
            std::this_thread::sleep_until(nextFrame);
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        state.counters["frames"] = frames;
    }
}

}  // namespace

BENCHMARK(FramesPerSecond)->UseRealTime()->MinTime(3.0);
// One window per process, and this closes it: a single run.
BENCHMARK(CloseAfterQueuedMovesAt60Fps)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
