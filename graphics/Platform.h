// The window-system operations InitGraph depends on, reached through replaceable pointers so that
// tests can answer message boxes and provoke the failures of a start without a broken driver.
// The defaults are SDL's own functions.
#pragma once

#include <SDL2/SDL.h>

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Information, Exclamation, Stop };

// Shows a message box without owner. Returns true when the user answered Yes (or OK).
using MessageBoxFunction = bool (*)(const char *text, const char *caption, MessageButtons buttons,
                                    MessageIcon icon);

// Answers with an SDL message box; with no display the text goes to standard error and a Yes/No
// question counts as No.
bool ShowSystemMessageBox(const char *text, const char *caption, MessageButtons buttons,
                          MessageIcon icon);

// True when the primary display offers a mode of width x height at 32 bits per pixel.
bool DisplayOffersMode(int width, int height);

// Connects the window to the display server so the pointer can be asked for later.
bool ConnectWindowToDisplay(SDL_Window *window);

// The pointer position relative to the connected window's client area, asked of the display
// server now (SDL's own mouse state goes stale once the pointer leaves the window). False when no
// window is connected.
bool QueryPointerInWindow(int *x, int *y);

// Forgets the connected window, before it is destroyed.
void DisconnectWindowFromDisplay();

struct WindowSystem {
    MessageBoxFunction ShowMessageBox = ShowSystemMessageBox;
    int (*InitVideo)(Uint32 flags) = SDL_InitSubSystem;
    bool (*FullscreenModeAvailable)(int width, int height) = DisplayOffersMode;
    int (*SetGlAttribute)(SDL_GLattr attribute, int value) = SDL_GL_SetAttribute;
    SDL_Window *(*CreateWindow)(const char *title, int x, int y, int width, int height,
                                Uint32 flags) = SDL_CreateWindow;
    bool (*ConnectDisplay)(SDL_Window *window) = ConnectWindowToDisplay;
    SDL_GLContext (*CreateContext)(SDL_Window *window) = SDL_GL_CreateContext;
    int (*MakeCurrent)(SDL_Window *window, SDL_GLContext context) = SDL_GL_MakeCurrent;
};

extern WindowSystem windowSystem;
