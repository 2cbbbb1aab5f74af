// The back end the library ships: SDL2 for the window, context, events and message boxes, X11
// for the pointer and the window manager, and OpenGL's own entry points for drawing. Each
// operation does what its line in Platform.h says and nothing the library could decide itself.
#include "Platform.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdio>
#include <string>

namespace graphics {
namespace {

SDL_Window *Sdl(BackEndWindow *window) {
    return reinterpret_cast<SDL_Window *>(window);
}

struct GlAttribute {
    SDL_GLattr Attribute;
    int Value;
};

// Double-buffered RGBA with depth, stencil and alpha, and the compatibility profile so that the
// OpenGL 1.x calls of every family work.
constexpr GlAttribute kPixelFormatRequest[] = {
    {SDL_GL_DOUBLEBUFFER, 1}, {SDL_GL_RED_SIZE, 8},
    {SDL_GL_GREEN_SIZE, 8},   {SDL_GL_BLUE_SIZE, 8},
    {SDL_GL_ALPHA_SIZE, 8},   {SDL_GL_DEPTH_SIZE, 24},
    {SDL_GL_STENCIL_SIZE, 8}, {SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY},
};

// How long Escape waits for the window manager to draw the new frame.
constexpr Uint32 kFrameWaitMilliseconds = 250;

struct DisplayConnection {
    Display *XDisplay = nullptr;
    ::Window XWindow = 0;
    SDL_Window *SdlWindow = nullptr;  // for display servers other than X11
};

DisplayConnection connection;

bool StartVideo() {
    static bool started = false;
    if (!started) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // Only drivers that show a window on the desktop: SDL would otherwise fall back to its
        // offscreen driver when the display cannot be reached, and the program would draw into a
        // window nobody sees. SDL_VIDEODRIVER in the environment still wins.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland", SDL_HINT_DEFAULT);
        started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    return started;
}

bool ScreenSize(int *width, int *height) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
    *width = mode.w;
    *height = mode.h;
    return true;
}

bool DisplayOffersMode(int width, int height) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int index = 0; index < count; ++index) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, index, &mode) != 0) continue;
        if (mode.w == width && mode.h == height && SDL_BYTESPERPIXEL(mode.format) == 4) return true;
    }
    return false;
}

Uint32 MessageBoxFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return SDL_MESSAGEBOX_INFORMATION;
        case MessageIcon::Exclamation:
            return SDL_MESSAGEBOX_WARNING;
        case MessageIcon::Stop:
            return SDL_MESSAGEBOX_ERROR;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

bool ShowMessageBox(const char *text, const char *caption, MessageButtons buttons,
                    MessageIcon icon) {
    constexpr int kYes = 1;
    const SDL_MessageBoxButtonData okButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kYes,
         "OK"}};
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"}};
    const bool question = buttons == MessageButtons::YesNo;
    const SDL_MessageBoxData box = {MessageBoxFlags(icon),
                                    nullptr,
                                    caption,
                                    text,
                                    question ? 2 : 1,
                                    question ? yesNoButtons : okButtons,
                                    nullptr};
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) == 0) return pressed == kYes;
    // No display to show it on: keep the text, and take a question as declined.
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return !question;
}

bool RequestPixelFormat() {
    for (const GlAttribute &request : kPixelFormatRequest) {
        if (SDL_GL_SetAttribute(request.Attribute, request.Value) != 0) return false;
    }
    return true;
}

BackEndWindow *CreateWindow(const char *title, int x, int y, int width, int height,
                            bool fullscreen) {
    // Resizable in fullscreen too: the window manager then draws the whole frame, sizing border
    // included, in one step when Escape leaves fullscreen, and Escape can wait for it.
    const Uint32 style = SDL_WINDOW_RESIZABLE | (fullscreen ? SDL_WINDOW_FULLSCREEN : 0);
    SDL_Window *window =
        SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | style);
    // The mode of the window's own size, which the start has checked the display offers.
    if (window != nullptr && fullscreen) SDL_SetWindowDisplayMode(window, nullptr);
    return reinterpret_cast<BackEndWindow *>(window);
}

bool ConnectDisplay(BackEndWindow *window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(Sdl(window), &info)) return false;
    connection = DisplayConnection{};
    connection.SdlWindow = Sdl(window);
    if (info.subsystem == SDL_SYSWM_X11) {
        connection.XDisplay = info.info.x11.display;
        connection.XWindow = info.info.x11.window;
    }
    return true;
}

BackEndContext *CreateContext(BackEndWindow *window) {
    return static_cast<BackEndContext *>(SDL_GL_CreateContext(Sdl(window)));
}

bool MakeCurrent(BackEndWindow *window, BackEndContext *context) {
    return SDL_GL_MakeCurrent(Sdl(window), context) == 0;
}

void DeleteContext(BackEndContext *context) {
    SDL_GL_DeleteContext(context);
}

bool HasCurrentContext() {
    return SDL_GL_GetCurrentContext() != nullptr;
}

void WaitForDisplayInSwap() {
    SDL_GL_SetSwapInterval(1);
}

// Keeps in SDL's queue only what the frame loop acts on (window events, quit, Escape down) and
// drops every other event as SDL takes it in.
int KeepFrameLoopEvents(void *, SDL_Event *event) {
    switch (event->type) {
        case SDL_WINDOWEVENT:
        case SDL_QUIT:
            return 1;
        case SDL_KEYDOWN:
            return event->key.keysym.sym == SDLK_ESCAPE ? 1 : 0;
        default:
            return 0;
    }
}

void ShowWindow(BackEndWindow *window) {
    SDL_ShowWindow(Sdl(window));
    SDL_RaiseWindow(Sdl(window));
    SDL_DisableScreenSaver();
    // The frame loop handles one event per frame, so unread pointer moves must not queue up in
    // front of a close request. The contract with the input library: this filter is installed
    // once the window exists and before InitDirectInput is called. InitDirectInput puts its own
    // filter in front, reading this one with SDL_GetEventFilter; it records the input events and
    // returns what this filter returns. The input library so sees every event as SDL takes it in,
    // during the poll of UpdateScreen, and nothing that neither reads stays queued. Installing
    // discards what the window's creation queued.
    SDL_SetEventFilter(KeepFrameLoopEvents, nullptr);
}

void MinimizeWindow(BackEndWindow *window) {
    SDL_MinimizeWindow(Sdl(window));
}

void DestroyWindow(BackEndWindow *window) {
    connection = DisplayConnection{};
    SDL_DestroyWindow(Sdl(window));
    SDL_EnableScreenSaver();
}

void SetCursorVisible(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void LeaveFullscreen(BackEndWindow *window) {
    SDL_SetWindowFullscreen(Sdl(window), 0);
}

FrameBorders FrameBordersOf(BackEndWindow *window) {
    FrameBorders borders;
    if (SDL_GetWindowBordersSize(Sdl(window), &borders.Top, &borders.Left, &borders.Bottom,
                                 &borders.Right) != 0) {
        return FrameBorders{};
    }
    return borders;
}

bool WindowManagerRunning() {
    if (connection.XDisplay == nullptr) return false;
    const std::string selection = "WM_S" + std::to_string(DefaultScreen(connection.XDisplay));
    const Atom managerSelection = XInternAtom(connection.XDisplay, selection.c_str(), False);
    return XGetSelectionOwner(connection.XDisplay, managerSelection) != None;
}

// The window manager draws the frame after the request, and SDL learns its size only from the
// events that follow; until then a placement would be computed without the frame.
void AddFrame(BackEndWindow *window) {
    SDL_SetWindowBordered(Sdl(window), SDL_TRUE);
    SDL_SetWindowResizable(Sdl(window), SDL_TRUE);
    if (!WindowManagerRunning()) return;
    const Uint32 deadline = SDL_GetTicks() + kFrameWaitMilliseconds;
    for (;;) {
        SDL_PumpEvents();
        const FrameBorders borders = FrameBordersOf(window);
        if (borders.Left != 0 || borders.Top != 0 || borders.Right != 0 || borders.Bottom != 0) {
            return;
        }
        if (SDL_TICKS_PASSED(SDL_GetTicks(), deadline)) return;
        SDL_Delay(5);
    }
}

void SetClientRect(BackEndWindow *window, int x, int y, int width, int height) {
    SDL_SetWindowSize(Sdl(window), width, height);
    SDL_SetWindowPosition(Sdl(window), x, y);
}

void ClientSize(BackEndWindow *window, int *width, int *height) {
    SDL_GetWindowSize(Sdl(window), width, height);
}

// Asks the display server rather than SDL, whose own mouse state goes stale once the pointer has
// left the window.
bool QueryPointer(BackEndWindow *, int *x, int *y) {
    if (connection.XDisplay != nullptr) {
        ::Window root = 0;
        ::Window child = 0;
        int rootX = 0;
        int rootY = 0;
        unsigned int buttons = 0;
        return XQueryPointer(connection.XDisplay, connection.XWindow, &root, &child, &rootX, &rootY,
                             x, y, &buttons) != 0;
    }
    if (connection.SdlWindow == nullptr) return false;
    int windowX = 0;
    int windowY = 0;
    SDL_GetWindowPosition(connection.SdlWindow, &windowX, &windowY);
    SDL_GetGlobalMouseState(x, y);
    *x -= windowX;
    *y -= windowY;
    return true;
}

WindowEvent Classify(const SDL_Event &event, SDL_Window *window) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            return event.window.event == SDL_WINDOWEVENT_CLOSE &&
                           event.window.windowID == SDL_GetWindowID(window)
                       ? WindowEvent::CloseRequest
                       : WindowEvent::Other;
        case SDL_KEYDOWN:
            return event.key.keysym.sym == SDLK_ESCAPE ? WindowEvent::EscapeDown
                                                       : WindowEvent::Other;
        case SDL_QUIT:
            return WindowEvent::Quit;
        default:
            return WindowEvent::Other;
    }
}

bool PollEvent(BackEndWindow *window, WindowEvent *event) {
    SDL_Event taken;
    if (!SDL_PollEvent(&taken)) return false;
    *event = Classify(taken, Sdl(window));
    return true;
}

bool SwapBuffers(BackEndWindow *window) {
    SDL_GL_SwapWindow(Sdl(window));
    return true;
}

}  // namespace

BackEnd backEnd = {
    .StartVideo = StartVideo,
    .ScreenSize = ScreenSize,
    .FullscreenModeAvailable = DisplayOffersMode,
    .ShowMessageBox = ShowMessageBox,
    .RequestPixelFormat = RequestPixelFormat,
    .CreateWindow = CreateWindow,
    .ConnectDisplay = ConnectDisplay,
    .CreateContext = CreateContext,
    .MakeCurrent = MakeCurrent,
    .DeleteContext = DeleteContext,
    .WaitForDisplayInSwap = WaitForDisplayInSwap,
    .ShowWindow = ShowWindow,
    .MinimizeWindow = MinimizeWindow,
    .DestroyWindow = DestroyWindow,
    .SetCursorVisible = SetCursorVisible,
    .LeaveFullscreen = LeaveFullscreen,
    .AddFrame = AddFrame,
    .FrameBordersOf = FrameBordersOf,
    .SetClientRect = SetClientRect,
    .ClientSize = ClientSize,
    .QueryPointer = QueryPointer,
    .PollEvent = PollEvent,
    .SwapBuffers = SwapBuffers,
    .HasCurrentContext = HasCurrentContext,
    .GlProcAddress = SDL_GL_GetProcAddress,
    .Draw = {glBegin, glEnd, glVertex2f, glVertex3f, glTexCoord2f, glNormal3f, glDrawArrays},
};

}  // namespace graphics
