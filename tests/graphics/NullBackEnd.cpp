#include "NullBackEnd.h"

#include <algorithm>

#include "GraphicsState.h"

using graphics::BackEndContext;
using graphics::BackEndWindow;
using graphics::FrameBorders;
using graphics::graphicsState;
using graphics::GraphicsState;
using graphics::WindowEvent;

namespace {

NullDisplay display;
char contextToken;

NullWindow &Of(BackEndWindow *window) {
    return *reinterpret_cast<NullWindow *>(window);
}

BackEndWindow *CreateWindow(const char *title, int x, int y, int width, int height,
                            bool fullscreen) {
    NullWindow &window = display.window.emplace();
    window.title = title;
    window.fullscreen = fullscreen;
    window.framed = !fullscreen;
    window.x = fullscreen ? 0 : x;
    window.y = fullscreen ? 0 : y;
    window.width = width;
    window.height = height;
    return reinterpret_cast<BackEndWindow *>(&window);
}

void DestroyWindow(BackEndWindow *window) {
    display.lastDestroyed = Of(window);
    display.window.reset();
}

FrameBorders FrameBordersOf(BackEndWindow *window) {
    const NullWindow &state = Of(window);
    return state.framed && !state.fullscreen ? display.frame : FrameBorders{};
}

const graphics::BackEnd nullBackEnd = {
    .StartVideo = [] { return display.videoStarts; },
    .ScreenSize =
        [](int *width, int *height) {
            *width = display.screenWidth;
            *height = display.screenHeight;
            return true;
        },
    .FullscreenModeAvailable =
        [](int width, int height) {
            const std::pair<int, int> mode = {width, height};
            return std::find(display.fullscreenModes.begin(), display.fullscreenModes.end(),
                             mode) != display.fullscreenModes.end();
        },
    .ShowMessageBox = [](const char *, const char *, graphics::MessageButtons,
                         graphics::MessageIcon) { return false; },
    .RequestPixelFormat = [] { return true; },
    .CreateWindow = CreateWindow,
    .ConnectDisplay = [](BackEndWindow *) { return true; },
    .CreateContext =
        [](BackEndWindow *) {
            ++display.liveContexts;
            return reinterpret_cast<BackEndContext *>(&contextToken);
        },
    .MakeCurrent =
        [](BackEndWindow *, BackEndContext *context) {
            display.contextCurrent = context != nullptr;
            return true;
        },
    .DeleteContext = [](BackEndContext *) { --display.liveContexts; },
    .WaitForDisplayInSwap = [] { display.swapWaitsForDisplay = true; },
    .ShowWindow = [](BackEndWindow *window) { Of(window).shown = true; },
    .MinimizeWindow = [](BackEndWindow *window) { Of(window).minimized = true; },
    .DestroyWindow = DestroyWindow,
    .SetCursorVisible = [](bool visible) { display.cursorVisible = visible; },
    .LeaveFullscreen = [](BackEndWindow *window) { Of(window).fullscreen = false; },
    .AddFrame = [](BackEndWindow *window) { Of(window).framed = true; },
    .FrameBordersOf = FrameBordersOf,
    .SetClientRect =
        [](BackEndWindow *window, int x, int y, int width, int height) {
            NullWindow &state = Of(window);
            state.x = x;
            state.y = y;
            state.width = width;
            state.height = height;
        },
    .ClientSize =
        [](BackEndWindow *window, int *width, int *height) {
            *width = Of(window).width;
            *height = Of(window).height;
        },
    .QueryPointer = [](BackEndWindow *, int *, int *) { return false; },
    .PollEvent =
        [](BackEndWindow *, WindowEvent *event) {
            if (display.events.empty()) return false;
            *event = display.events.front();
            display.events.pop_front();
            return true;
        },
    .SwapBuffers =
        [](BackEndWindow *) {
            ++display.swaps;
            return true;
        },
    .HasCurrentContext = [] { return false; },
    .GlProcAddress = [](const char *) -> void * { return nullptr; },
    .Draw = {[](GLenum) {}, [] {}, [](GLfloat, GLfloat) {}, [](GLfloat, GLfloat, GLfloat) {},
             [](GLfloat, GLfloat) {}, [](GLfloat, GLfloat, GLfloat) {},
             [](GLenum, GLint, GLsizei) {}},
};

}  // namespace

NullDisplay &InstallNullBackEnd() {
    display = NullDisplay{};
    graphics::backEnd = nullBackEnd;
    return display;
}

void NullBackEndTest::Restart(bool answerYes) {
    graphicsState = GraphicsState{};
    display = &InstallNullBackEnd();
    messages = &RecordMessageBoxes(answerYes);
}
