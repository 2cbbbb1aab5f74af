// The library's single state record. Everything else a drawing call depends on (matrices,
// enables, blend and depth settings) lives in the OpenGL context, not here.
#pragma once

namespace graphics {

struct BackEndWindow;
struct BackEndContext;

struct GraphicsState {
    // Window and frame loop.
    void *Instance = nullptr;                 // opaque value passed to the input library
    BackEndWindow *Window = nullptr;          // null before InitGraph and once the window closed
    BackEndContext *RenderContext = nullptr;  // current on the thread of InitGraph
    bool Fullscreen = false;  // the start's request; Escape leaves fullscreen but not this flag
    bool ClassRegistered = false;  // stands for the window class: set once per successful start
    bool WindowClosed = false;     // a close request destroyed the window
    int UpdatesAfterClose = 0;     // UpdateScreen calls since then, counted up to the warning

    // Colour and render state.
    float CurrentColor[3] = {0.0f, 0.0f, 0.0f};  // the colour Clear uses
    bool FilledMode = false;  // shapes filled (true) or outlined; OpenGL's polygon mode follows

    // Bitmap text: display list BitmapFontBase + c draws character code c.
    unsigned int BitmapFontBase = 0;
};

extern GraphicsState graphicsState;

}  // namespace graphics
