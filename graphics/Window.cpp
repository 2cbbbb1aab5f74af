// The graphics window and frame loop: InitGraph opens one SDL window with an OpenGL context in a
// fixed order of steps, sets the initial OpenGL state every drawing family relies on, builds the
// bitmap font and starts the input library. UpdateScreen handles one event per frame.
// Nothing here ends the process; every failure of a start is reported in a message box.
#include <GL/gl.h>

#include <cstring>

#include "BitmapText.h"
#include "Graphics.h"
#include "GraphicsState.h"
#include "Platform.h"
#include "Tactil.h"

namespace {

// The converted title, kept for the life of the process; one buffer serves every start.
constexpr int titleCapacity = 4096;
char titleBuffer[titleCapacity];

// Stands for the module instance handle a C program's input library is given.
char instanceToken;

constexpr int escapedWindowPosition = 100;

struct GlAttribute {
    SDL_GLattr attribute;
    int value;
};

// The pixel-format request: double-buffered RGBA with depth, stencil and alpha, and the
// compatibility profile so that the OpenGL 1.x calls of every family work.
constexpr GlAttribute pixelFormatRequest[] = {
    {SDL_GL_DOUBLEBUFFER, 1}, {SDL_GL_RED_SIZE, 8},
    {SDL_GL_GREEN_SIZE, 8},   {SDL_GL_BLUE_SIZE, 8},
    {SDL_GL_ALPHA_SIZE, 8},   {SDL_GL_DEPTH_SIZE, 24},
    {SDL_GL_STENCIL_SIZE, 8}, {SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY},
};

// Copies the title, cut to the buffer on a character boundary so that it stays valid UTF-8.
void ConvertTitle(const char *title) {
    const char *source = title != nullptr ? title : "";
    size_t length = std::strlen(source);
    if (length >= titleCapacity) {
        length = titleCapacity - 1;
        while (length > 0 && (static_cast<unsigned char>(source[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(titleBuffer, source, length);
    titleBuffer[length] = '\0';
}

void ReportError(const char *text, MessageIcon icon = MessageIcon::Exclamation) {
    windowSystem.ShowMessageBox(text, "ERROR", MessageButtons::Ok, icon);
}

void ReportShutdownError(const char *text) {
    windowSystem.ShowMessageBox(text, "SHUTDOWN ERROR", MessageButtons::Ok,
                                MessageIcon::Information);
}

// The video subsystem is started on first need and kept: the screen size may be asked before
// the window exists.
bool VideoReady() {
    static bool started = false;
    if (!started) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // Only drivers that show a window on the desktop: SDL would otherwise fall back to its
        // offscreen driver when the display cannot be reached, and the program would draw into a
        // window nobody sees. SDL_VIDEODRIVER in the environment still wins.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland", SDL_HINT_DEFAULT);
        started = windowSystem.InitVideo(SDL_INIT_VIDEO) == 0;
    }
    return started;
}

bool ApplyPixelFormatRequest() {
    for (const GlAttribute &request : pixelFormatRequest) {
        if (windowSystem.SetGlAttribute(request.attribute, request.value) != 0) return false;
    }
    return true;
}

void LeaveFullscreenDisplay() {
    if (graphicsState.Window != nullptr) SDL_SetWindowFullscreen(graphicsState.Window, 0);
    SDL_ShowCursor(SDL_ENABLE);
}

void DestroyGraphicsWindow() {
    DisconnectWindowFromDisplay();
    SDL_DestroyWindow(graphicsState.Window);
    graphicsState.Window = nullptr;
    SDL_EnableScreenSaver();
}

// Undoes a start that failed after the window existed, so that a later InitGraph can succeed.
void TearDown() {
    if (graphicsState.Fullscreen) LeaveFullscreenDisplay();
    if (graphicsState.RenderContext != nullptr) {
        if (windowSystem.MakeCurrent(nullptr, nullptr) != 0) {
            ReportShutdownError("Release Of DC And RC Failed.");
        }
        SDL_GL_DeleteContext(graphicsState.RenderContext);
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
    SDL_MinimizeWindow(graphicsState.Window);
    DestroyGraphicsWindow();
}

// Escape in fullscreen gives the desktop back and frames the window; the start's fullscreen flag
// stays set, so a second Escape repeats this.
void EscapeFullscreen() {
    LeaveFullscreenDisplay();
    SDL_SetWindowBordered(graphicsState.Window, SDL_TRUE);
    SDL_SetWindowResizable(graphicsState.Window, SDL_TRUE);
    SDL_SetWindowPosition(graphicsState.Window, escapedWindowPosition, escapedWindowPosition);
}

void HandleEvent(const SDL_Event &event) {
    if (graphicsState.Window == nullptr) return;
    const bool forOurWindow = event.type == SDL_WINDOWEVENT &&
                              event.window.windowID == SDL_GetWindowID(graphicsState.Window);
    if (forOurWindow && event.window.event == SDL_WINDOWEVENT_CLOSE) {
        CloseGraphicsWindow();
    } else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE &&
               graphicsState.Fullscreen) {
        EscapeFullscreen();
    }
    // Everything else, a quit that is no close request included, is dropped.
}

}  // namespace

extern "C" {

int InitGraph(int width, int height, int fullscreen, const char *title) {
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

    if (graphicsState.ClassRegistered || !VideoReady()) {
        ReportError("Failed To Register The Window Class.");
        return 0;
    }
    graphicsState.ClassRegistered = true;

    if (graphicsState.Fullscreen) {
        if (windowSystem.FullscreenModeAvailable(width, height)) {
            SDL_ShowCursor(SDL_DISABLE);
        } else if (windowSystem.ShowMessageBox("The Requested Fullscreen Mode Is Not Supported "
                                               "By\nYour Video Card. Use Windowed Mode Instead?",
                                               "OPENGL", MessageButtons::YesNo,
                                               MessageIcon::Exclamation)) {
            graphicsState.Fullscreen = false;
        } else {
            ReportError("Program Will Now Close.", MessageIcon::Stop);
            return 0;
        }
    }

    // SDL chooses the window's visual when it creates the window, so the pixel format is
    // requested before that.
    if (!ApplyPixelFormatRequest()) return FailAfterTearDown("Can't Set The PixelFormat.");

    const Uint32 styleFlags =
        graphicsState.Fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    graphicsState.Window = windowSystem.CreateWindow(
        titleBuffer, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | styleFlags);
    if (graphicsState.Window == nullptr) {
        ReportError("Window Creation Error.");
        return 0;
    }
    if (graphicsState.Fullscreen) SDL_SetWindowDisplayMode(graphicsState.Window, nullptr);

    if (!windowSystem.ConnectDisplay(graphicsState.Window)) {
        ReportError("Can't Create A GL Device Context.");
        return 0;
    }

    graphicsState.RenderContext = windowSystem.CreateContext(graphicsState.Window);
    if (graphicsState.RenderContext == nullptr) {
        return FailAfterTearDown("Can't Create A GL Rendering Context.");
    }
    if (windowSystem.MakeCurrent(graphicsState.Window, graphicsState.RenderContext) != 0) {
        return FailAfterTearDown("Can't Activate The GL Rendering Context.");
    }

    SDL_ShowWindow(graphicsState.Window);
    SDL_RaiseWindow(graphicsState.Window);
    SDL_DisableScreenSaver();

    SetInitialOpenGlState();
    BuildBitmapFont();
    InitDirectInput(graphicsState.Window, graphicsState.Instance);
    return 1;
}

int UpdateScreen(void) {
    SDL_Event event;
    if (graphicsState.Window != nullptr && SDL_PollEvent(&event)) HandleEvent(event);
    DirectInputPoll();
    if (graphicsState.Window == nullptr) return 0;
    SDL_GL_SwapWindow(graphicsState.Window);
    return 1;
}

void GetScreenSize(int *width, int *height) {
    SDL_DisplayMode mode{};
    if (!VideoReady() || SDL_GetDesktopDisplayMode(0, &mode) != 0) mode = SDL_DisplayMode{};
    if (width != nullptr) *width = mode.w;
    if (height != nullptr) *height = mode.h;
}

void GetWindowSize(int *width, int *height) {
    int clientWidth = 0;
    int clientHeight = 0;
    if (graphicsState.Window != nullptr) {
        SDL_GetWindowSize(graphicsState.Window, &clientWidth, &clientHeight);
    }
    if (width != nullptr) *width = clientWidth;
    if (height != nullptr) *height = clientHeight;
}

void GetMousePosition(int *x, int *y) {
    int pointerX = 0;
    int pointerY = 0;
    if (graphicsState.Window == nullptr || !QueryPointerInWindow(&pointerX, &pointerY)) {
        pointerX = 0;
        pointerY = 0;
    }
    if (x != nullptr) *x = pointerX;
    if (y != nullptr) *y = pointerY;
}

void *GetGraphicsWindowHandle(void) {
    return graphicsState.Window;
}

void *GetGraphicsWindowInstance(void) {
    return graphicsState.Instance;
}
}
