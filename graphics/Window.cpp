// The graphics window and frame loop: InitGraph opens one window with an OpenGL context in a
// fixed order of steps, sets the initial OpenGL state every drawing family relies on, builds the
// bitmap font and starts the input library. UpdateScreen handles one event per frame. Every
// platform operation goes through the back-end table (Platform.h), so this logic runs the same
// on a null back end. Nothing here ends the process; every failure of a start is reported in a
// message box.
#include <GL/gl.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "BitmapText.h"
#include "Graphics.h"
#include "GraphicsState.h"
#include "Platform.h"
#include "Tactil.h"

namespace graphics {
namespace {

// The converted title, kept for the life of the process; one buffer serves every start.
constexpr int kTitleCapacity = 4096;
char titleBuffer[kTitleCapacity];

// Stands for the module instance handle a C program's input library is given.
char instanceToken;

constexpr int kEscapedWindowPosition = 100;

// A frame loop may run a few more times after the close before it sees the 0; one that is still
// calling this many times later ignores it, and would go on running with no window to show.
constexpr int kUnheededCloseCalls = 100;

// Copies the title, cut to the buffer on a character boundary so that it stays valid UTF-8.
void ConvertTitle(const char *title) {
    const char *source = title != nullptr ? title : "";
    size_t length = std::strlen(source);
    if (length >= kTitleCapacity) {
        length = kTitleCapacity - 1;
        while (length > 0 && (static_cast<unsigned char>(source[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(titleBuffer, source, length);
    titleBuffer[length] = '\0';
}

void ReportError(const char *text, MessageIcon icon = MessageIcon::Exclamation) {
    backEnd.ShowMessageBox(text, "ERROR", MessageButtons::Ok, icon);
}

void ReportShutdownError(const char *text) {
    backEnd.ShowMessageBox(text, "SHUTDOWN ERROR", MessageButtons::Ok, MessageIcon::Information);
}

void LeaveFullscreenDisplay() {
    if (graphicsState.Window != nullptr) backEnd.LeaveFullscreen(graphicsState.Window);
    backEnd.SetCursorVisible(true);
}

void DestroyGraphicsWindow() {
    backEnd.DestroyWindow(graphicsState.Window);
    graphicsState.Window = nullptr;
}

// Undoes a start that failed after the window existed, so that a later InitGraph can succeed.
void TearDown() {
    if (graphicsState.Fullscreen) LeaveFullscreenDisplay();
    if (graphicsState.RenderContext != nullptr) {
        if (!backEnd.MakeCurrent(nullptr, nullptr)) {
            ReportShutdownError("Release Of DC And RC Failed.");
        }
        backEnd.DeleteContext(graphicsState.RenderContext);
        graphicsState.RenderContext = nullptr;
    }
    if (graphicsState.Window != nullptr) DestroyGraphicsWindow();
    graphicsState.ClassRegistered = false;
    graphicsState.Instance = nullptr;
}

int FailAfterTearDown(const char *text) {
    TearDown();
    ReportError(text);
    return 0;
}

// The software renderer keeps the commands of a frame in 64 KiB blocks from the heap and frees
// them when the frame is done; a program drawing text or textures allocates one per draw. By
// default glibc gives the freed top of the heap back to the system at once, and the next frame
// faults every page of it in again: thousands of page faults a frame. The heap keeps up to
// kKeptHeap of freed memory instead, and blocks up to half of that come from it.
constexpr int kKeptHeap = 64 << 20;

void KeepFrameMemoryInTheHeap() {
    mallopt(M_TRIM_THRESHOLD, kKeptHeap);
    mallopt(M_MMAP_THRESHOLD, kKeptHeap / 2);
}

void SetInitialOpenGlState() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_SCISSOR_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

// A close request minimises and destroys the window; the frame loop then reports 0.
void CloseGraphicsWindow() {
    backEnd.MinimizeWindow(graphicsState.Window);
    DestroyGraphicsWindow();
    graphicsState.WindowClosed = true;
}

// Tells a program whose frame loop goes on after the close, once, how to end it.
void CountUpdateAfterClose() {
    if (!graphicsState.WindowClosed || graphicsState.UpdatesAfterClose == kUnheededCloseCalls)
        return;
    if (++graphicsState.UpdatesAfterClose == kUnheededCloseCalls)
        std::fputs(
            "the window was closed: UpdateScreen returns 0; end the frame loop when it does\n",
            stderr);
}

// Escape in fullscreen gives the desktop back and frames the window with its top-left corner at
// (100, 100). The outer size stays what it was, so the client area shrinks by the frame. The
// start's fullscreen flag stays set, so a second Escape repeats these steps.
void EscapeFullscreen() {
    BackEndWindow *window = graphicsState.Window;
    const FrameBorders before = backEnd.FrameBordersOf(window);
    int clientWidth = 0;
    int clientHeight = 0;
    backEnd.ClientSize(window, &clientWidth, &clientHeight);
    const int outerWidth = before.Left + clientWidth + before.Right;
    const int outerHeight = before.Top + clientHeight + before.Bottom;

    LeaveFullscreenDisplay();
    backEnd.AddFrame(window);
    const FrameBorders frame = backEnd.FrameBordersOf(window);
    // A frame wider than the window still leaves a client area to draw into.
    backEnd.SetClientRect(window, kEscapedWindowPosition + frame.Left,
                          kEscapedWindowPosition + frame.Top,
                          std::max(1, outerWidth - frame.Left - frame.Right),
                          std::max(1, outerHeight - frame.Top - frame.Bottom));
}

void HandleEvent(WindowEvent event) {
    switch (event) {
        case WindowEvent::CloseRequest:
            CloseGraphicsWindow();
            break;
        case WindowEvent::EscapeDown:
            if (graphicsState.Fullscreen) EscapeFullscreen();
            break;
        case WindowEvent::Quit:  // dropped: only a close request ends the frame loop
        case WindowEvent::Other:
            break;
    }
}

}  // namespace

// The header's GRAPHICS_API again: GCC gives a C function defined inside a namespace the
// default hidden visibility, whatever the global declaration said.
extern "C" {

GRAPHICS_API int InitGraph(int width, int height, int fullscreen, const char *title) {
    int screenWidth = 0;
    int screenHeight = 0;
    GetScreenSize(&screenWidth, &screenHeight);
    ConvertTitle(title);

    const bool fullscreenRequested = fullscreen == 1;
    int x = 0;
    int y = 0;
    if (!fullscreenRequested) {
        x = (screenWidth - width) / 2;
        y = (screenHeight - height) / 2;
    }
    graphicsState.Fullscreen = fullscreenRequested;
    graphicsState.Instance = &instanceToken;

    if (graphicsState.ClassRegistered || !backEnd.StartVideo()) {
        ReportError("Failed To Register The Window Class.");
        return 0;
    }
    graphicsState.ClassRegistered = true;

    // The failures from here until the context exists return without teardown, as the window
    // system the design came from does: the class stays registered, so every later InitGraph of
    // the process fails at registration, and a switched display and hidden cursor stay as well.
    if (graphicsState.Fullscreen) {
        if (backEnd.FullscreenModeAvailable(width, height)) {
            backEnd.SetCursorVisible(false);
        } else if (backEnd.ShowMessageBox("The Requested Fullscreen Mode Is Not Supported "
                                          "By\nYour Video Card. Use Windowed Mode Instead?",
                                          "OPENGL", MessageButtons::YesNo,
                                          MessageIcon::Exclamation)) {
            graphicsState.Fullscreen = false;
        } else {
            ReportError("Program Will Now Close.", MessageIcon::Stop);
            return 0;
        }
    }

    // The window's visual is chosen when it is created, so the pixel format is requested before.
    if (!backEnd.RequestPixelFormat()) return FailAfterTearDown("Can't Set The PixelFormat.");

    graphicsState.Window =
        backEnd.CreateWindow(titleBuffer, x, y, width, height, graphicsState.Fullscreen);
    if (graphicsState.Window == nullptr) {
        ReportError("Window Creation Error.");
        return 0;
    }
    if (!backEnd.ConnectDisplay(graphicsState.Window)) {
        ReportError("Can't Create A GL Device Context.");
        return 0;
    }

    graphicsState.RenderContext = backEnd.CreateContext(graphicsState.Window);
    if (graphicsState.RenderContext == nullptr) {
        return FailAfterTearDown("Can't Create A GL Rendering Context.");
    }
    if (!backEnd.MakeCurrent(graphicsState.Window, graphicsState.RenderContext)) {
        return FailAfterTearDown("Can't Activate The GL Rendering Context.");
    }
    // The library sets no frame rate of its own: the swap waiting for the display is what keeps
    // a program's loop to the display's rate.
    backEnd.WaitForDisplayInSwap();
    KeepFrameMemoryInTheHeap();

    backEnd.ShowWindow(graphicsState.Window);
    SetInitialOpenGlState();
    BuildBitmapFont();
    InitDirectInput(graphicsState.Window, graphicsState.Instance);
    return 1;
}

GRAPHICS_API int UpdateScreen(void) {
    WindowEvent event = WindowEvent::Other;
    if (graphicsState.Window != nullptr && backEnd.PollEvent(graphicsState.Window, &event)) {
        HandleEvent(event);
    }
    DirectInputPoll();
    if (graphicsState.Window == nullptr) {
        CountUpdateAfterClose();
        return 0;
    }
    return backEnd.SwapBuffers(graphicsState.Window) ? 1 : 0;
}

GRAPHICS_API void GetScreenSize(int *width, int *height) {
    int screenWidth = 0;
    int screenHeight = 0;
    if (!backEnd.StartVideo() || !backEnd.ScreenSize(&screenWidth, &screenHeight)) {
        screenWidth = 0;
        screenHeight = 0;
    }
    if (width != nullptr) *width = screenWidth;
    if (height != nullptr) *height = screenHeight;
}

GRAPHICS_API void GetWindowSize(int *width, int *height) {
    int clientWidth = 0;
    int clientHeight = 0;
    if (graphicsState.Window != nullptr) {
        backEnd.ClientSize(graphicsState.Window, &clientWidth, &clientHeight);
    }
    if (width != nullptr) *width = clientWidth;
    if (height != nullptr) *height = clientHeight;
}

GRAPHICS_API void GetMousePosition(int *x, int *y) {
    int pointerX = 0;
    int pointerY = 0;
    if (graphicsState.Window == nullptr ||
        !backEnd.QueryPointer(graphicsState.Window, &pointerX, &pointerY)) {
        pointerX = 0;
        pointerY = 0;
    }
    if (x != nullptr) *x = pointerX;
    if (y != nullptr) *y = pointerY;
}

GRAPHICS_API void *GetGraphicsWindowHandle(void) {
    return graphicsState.Window;
}

GRAPHICS_API void *GetGraphicsWindowInstance(void) {
    return graphicsState.Instance;
}

}  // extern "C"

}  // namespace graphics
