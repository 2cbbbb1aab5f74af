// The window-system side of the library that is not SDL itself: message boxes, the display mode
// check for fullscreen, and the pointer query through X11.
#include "Platform.h"

#include <SDL2/SDL_syswm.h>

#include <cstdio>

WindowSystem windowSystem;

namespace {

struct DisplayConnection {
    Display *display = nullptr;
    ::Window window = 0;
    SDL_Window *sdlWindow = nullptr;  // for display servers other than X11
};

DisplayConnection connection;

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

}  // namespace

bool ShowSystemMessageBox(const char *text, const char *caption, MessageButtons buttons,
                          MessageIcon icon) {
    constexpr int yes = 1;
    const SDL_MessageBoxButtonData okButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, yes,
         "OK"}};
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, yes, "Yes"},
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
    if (SDL_ShowMessageBox(&box, &pressed) == 0) return pressed == yes;
    // No display to show it on: keep the text, and take a question as declined.
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return !question;
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

bool ConnectWindowToDisplay(SDL_Window *window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) return false;
    connection = DisplayConnection{};
    connection.sdlWindow = window;
    if (info.subsystem == SDL_SYSWM_X11) {
        connection.display = info.info.x11.display;
        connection.window = info.info.x11.window;
    }
    return true;
}

void DisconnectWindowFromDisplay() {
    connection = DisplayConnection{};
}

bool QueryPointerInWindow(int *x, int *y) {
    if (connection.display != nullptr) {
        ::Window root = 0;
        ::Window child = 0;
        int rootX = 0;
        int rootY = 0;
        unsigned int buttons = 0;
        return XQueryPointer(connection.display, connection.window, &root, &child, &rootX, &rootY,
                             x, y, &buttons) != 0;
    }
    if (connection.sdlWindow == nullptr) return false;
    int windowX = 0;
    int windowY = 0;
    SDL_GetWindowPosition(connection.sdlWindow, &windowX, &windowY);
    SDL_GetGlobalMouseState(x, y);
    *x -= windowX;
    *y -= windowY;
    return true;
}
