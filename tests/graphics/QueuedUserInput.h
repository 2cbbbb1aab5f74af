// What a restless user and the window manager do to the library's window, sent through the X
// server as they would be: for the test of the frame loop and its benchmark. Include it after
// the test framework: X11's None macro breaks its templates.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include "Graphics.h"

// Moves the pointer `moves` times over the window, each time to a new place, then asks the
// window to close the way a window manager does, and returns once the X server has sent it all
// to the library. False when the window is not an X11 window.
inline bool QueuePointerMovesThenCloseRequest(int moves) {
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
    for (int move = 0; move < moves; ++move) {
        XWarpPointer(display, None, target, 0, 0, 0, 0, 10 + move % 300, 10 + (move / 300) % 200);
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
