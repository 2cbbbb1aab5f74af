// The frame loop as a learner's program meets it: how many frames per second a loop of Clear and
// UpdateScreen runs at, and how long a program at 60 frames per second takes to see UpdateScreen
// return 0 after the window was asked to close behind 3,000 pointer moves. Opens a window and
// closes it, so run the whole file under Xvfb (the close case last, as registered).
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "Graphics.h"

namespace {

constexpr int windowWidth = 640;
constexpr int windowHeight = 480;
constexpr int queuedMoves = 3000;
constexpr auto frameTime = std::chrono::microseconds(16667);
constexpr int frameLimit = 10000;  // gives up after about 167 s at 60 frames per second

bool windowReady() {
    static const bool ready = InitGraph(windowWidth, windowHeight, 0, "frame loop benchmark") == 1;
    return ready;
}

void FramesPerSecond(benchmark::State &state) {
    if (!windowReady()) {
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

// Moves the pointer over the window as a user would, then asks the window to close the way a
// window manager does, and waits until the X server has sent all of it to the library.
bool QueueMovesThenCloseRequest() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    auto *window = static_cast<SDL_Window *>(GetGraphicsWindowHandle());
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    const ::Window target = info.info.x11.window;
    for (int move = 0; move < queuedMoves; ++move) {
        XWarpPointer(display, None, target, 0, 0, 0, 0, 10 + move % 300, 10 + (move / 300) % 300);
    }
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = target;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, target, False, NoEventMask, &close);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

void CloseAfterQueuedMovesAt60Fps(benchmark::State &state) {
    for (auto _ : state) {
        if (!windowReady() || !QueueMovesThenCloseRequest()) {
            state.SkipWithError("no X11 window");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        auto nextFrame = start;
        int frames = 0;
        while (frames < frameLimit && UpdateScreen() != 0) {
            ++frames;
            nextFrame += frameTime;
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
