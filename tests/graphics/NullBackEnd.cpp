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
    NullWindow &window = display.Window.emplace();
    window.Title = title;
    window.Fullscreen = fullscreen;
    window.Framed = !fullscreen;
    window.X = fullscreen ? 0 : x;
    window.Y = fullscreen ? 0 : y;
    window.Width = width;
    window.Height = height;
    return reinterpret_cast<BackEndWindow *>(&window);
}

void DestroyWindow(BackEndWindow *window) {
    display.LastDestroyed = Of(window);
    display.Window.reset();
}

FrameBorders FrameBordersOf(BackEndWindow *window) {
    const NullWindow &state = Of(window);
    return state.Framed && !state.Fullscreen ? display.Frame : FrameBorders{};
}

const graphics::BackEnd kNullBackEnd = {
    .StartVideo = [] { return display.VideoStarts; },
    .ScreenSize =
        [](int *width, int *height) {
            *width = display.ScreenWidth;
            *height = display.ScreenHeight;
            return true;
        },
    .FullscreenModeAvailable =
        [](int width, int height) {
            const std::pair<int, int> mode = {width, height};
            return std::find(display.FullscreenModes.begin(), display.FullscreenModes.end(),
                             mode) != display.FullscreenModes.end();
        },
    .ShowMessageBox = [](const char *, const char *, graphics::MessageButtons,
                         graphics::MessageIcon) { return false; },
    .RequestPixelFormat = [] { return true; },
    .CreateWindow = CreateWindow,
    .ConnectDisplay = [](BackEndWindow *) { return true; },
    .CreateContext =
        [](BackEndWindow *) {
            ++display.LiveContexts;
            return reinterpret_cast<BackEndContext *>(&contextToken);
        },
    .MakeCurrent =
        [](BackEndWindow *, BackEndContext *context) {
            display.ContextCurrent = context != nullptr;
            return true;
        },
    .DeleteContext = [](BackEndContext *) { --display.LiveContexts; },
    .WaitForDisplayInSwap = [] { display.SwapWaitsForDisplay = true; },
    .ShowWindow = [](BackEndWindow *window) { Of(window).Shown = true; },
    .MinimizeWindow = [](BackEndWindow *window) { Of(window).Minimized = true; },
    .DestroyWindow = DestroyWindow,
    .SetCursorVisible = [](bool visible) { display.CursorVisible = visible; },
    .LeaveFullscreen = [](BackEndWindow *window) { Of(window).Fullscreen = false; },
    .AddFrame = [](BackEndWindow *window) { Of(window).Framed = true; },
    .FrameBordersOf = FrameBordersOf,
    .SetClientRect =
        [](BackEndWindow *window, int x, int y, int width, int height) {
            NullWindow &state = Of(window);
            state.X = x;
            state.Y = y;
            state.Width = width;
            state.Height = height;
        },
    .ClientSize =
        [](BackEndWindow *window, int *width, int *height) {
            *width = Of(window).Width;
            *height = Of(window).Height;
        },
    .QueryPointer = [](BackEndWindow *, int *, int *) { return false; },
    .PollEvent =
        [](BackEndWindow *, WindowEvent *event) {
            if (display.Events.empty()) return false;
            *event = display.Events.front();
            display.Events.pop_front();
            return true;
        },
    .SwapBuffers =
        [](BackEndWindow *) {
            ++display.Swaps;
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
    graphics::backEnd = kNullBackEnd;
    return display;
}

void NullBackEndTest::Restart(bool answerYes) {
    graphicsState = GraphicsState{};
    Display = &InstallNullBackEnd();
    Messages = &RecordMessageBoxes(answerYes);
}
