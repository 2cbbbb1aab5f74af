// The platform operations the library uses, as one table: window and context, the event the frame
// loop handles, swap, sizes, pointer, message boxes, and the OpenGL entry points the drawing
// families go through. The library ships the SDL + OpenGL table (Platform.cpp); tests put a null
// back end in its place to run the window logic without a display, or swap single draw entries
// for recorders. Everything the library decides lives above this table; nothing here decides.
// Internal only.
#pragma once

#include <GL/gl.h>

namespace graphics {

// Opaque to the library; the back end gives them their meaning (the shipped one: SDL_Window and
// SDL_GLContext, so the window handle the library hands out is the SDL_Window*).
struct BackEndWindow;
struct BackEndContext;

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Information, Exclamation, Stop };

// The only distinctions the frame loop makes between events.
enum class WindowEvent {
    CloseRequest,  // the user or the window manager asks our window to close
    EscapeDown,    // Escape pressed
    Quit,          // a quit request that is no window's close request: dropped
    Other,         // anything else the back end queued: handled by doing nothing
};

// What the window manager's frame adds around the client area, in pixels.
struct FrameBorders {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The immediate-mode and array draw entry points. They normally point straight at OpenGL; tests
// swap in recorders to see the exact vertex stream a shape emits, which feedback mode cannot show
// (it returns transformed, clipped and decomposed vertices).
struct DrawCalls {
    void (*Begin)(GLenum mode);
    void (*End)();
    void (*Vertex2f)(GLfloat x, GLfloat y);
    void (*Vertex3f)(GLfloat x, GLfloat y, GLfloat z);
    void (*TexCoord2f)(GLfloat s, GLfloat t);
    void (*Normal3f)(GLfloat nx, GLfloat ny, GLfloat nz);
    void (*DrawArrays)(GLenum mode, GLint first, GLsizei count);
};

struct BackEnd {
    // ---- Display ----
    // Connects to the display once per process; later calls answer from the first success.
    bool (*StartVideo)();
    // The desktop size of the primary display; false when it cannot be read.
    bool (*ScreenSize)(int *width, int *height);
    // True when the primary display offers width x height at 32 bits per pixel.
    bool (*FullscreenModeAvailable)(int width, int height);
    // Shows a box without owner; true when the user answered Yes (or OK). Without a display the
    // text goes to standard error and a question counts as No.
    bool (*ShowMessageBox)(const char *text, const char *caption, MessageButtons buttons,
                           MessageIcon icon);

    // ---- Window and context, in the order a start uses them ----
    // Asks for double-buffered RGBA with depth, stencil and alpha (compatibility profile); the
    // window's visual is chosen from it, so it comes before CreateWindow.
    bool (*RequestPixelFormat)();
    // A hidden window whose client area is width x height at (x, y), or covering the display in
    // a mode of width x height when fullscreen. Null on failure.
    BackEndWindow *(*CreateWindow)(const char *title, int x, int y, int width, int height,
                                   bool fullscreen);
    // Makes the window reachable for pointer queries.
    bool (*ConnectDisplay)(BackEndWindow *window);
    BackEndContext *(*CreateContext)(BackEndWindow *window);
    // Makes the context current on this thread; both null releases the current one.
    bool (*MakeCurrent)(BackEndWindow *window, BackEndContext *context);
    void (*DeleteContext)(BackEndContext *context);
    // Asks the driver to wait for the display in each swap, with the context current; a driver
    // that refuses swaps as fast as it can.
    void (*WaitForDisplayInSwap)();
    // Shows, raises and focuses the window and keeps the screensaver off while it lives. From
    // now on only the events the frame loop acts on stay queued.
    void (*ShowWindow)(BackEndWindow *window);
    void (*MinimizeWindow)(BackEndWindow *window);
    void (*DestroyWindow)(BackEndWindow *window);

    // ---- Window state ----
    void (*SetCursorVisible)(bool visible);
    // Gives the display its desktop mode back and the window its place among other windows.
    void (*LeaveFullscreen)(BackEndWindow *window);
    // Gives the window a title bar and a sizing border, once the window manager has drawn them.
    void (*AddFrame)(BackEndWindow *window);
    FrameBorders (*FrameBordersOf)(BackEndWindow *window);
    // Places the client area at (x, y) in screen pixels and sizes it.
    void (*SetClientRect)(BackEndWindow *window, int x, int y, int width, int height);
    void (*ClientSize)(BackEndWindow *window, int *width, int *height);
    // The pointer relative to the client area, asked of the display now; false when unknown.
    bool (*QueryPointer)(BackEndWindow *window, int *x, int *y);

    // ---- Frame loop ----
    // Takes one pending event without waiting; false when none is pending.
    bool (*PollEvent)(BackEndWindow *window, WindowEvent *event);
    // Presents the back buffer; true when the frame was shown.
    bool (*SwapBuffers)(BackEndWindow *window);

    // ---- Drawing ----
    // Whether this thread has a context to draw into: none before InitGraph, none once the
    // window has closed. GLU's mipmap builder crashes without one, so the loaders and the text
    // layer ask before they reach OpenGL.
    bool (*HasCurrentContext)();
    // An OpenGL entry point beyond 1.1 by name, or null; ask with the context current.
    void *(*GlProcAddress)(const char *name);
    DrawCalls Draw;
};

// The table every platform operation goes through; the SDL + OpenGL back end at load.
extern BackEnd backEnd;

}  // namespace graphics
