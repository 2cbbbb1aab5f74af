// Whether the calling thread has an OpenGL context to draw into: there is none before InitGraph
// and none once the window has closed. GLU's mipmap builder crashes without one, so the loaders
// and the text layer ask before they reach OpenGL. Internal header.
#pragma once

#include <SDL2/SDL_video.h>

inline bool HasCurrentGlContext() {
    return SDL_GL_GetCurrentContext() != nullptr;
}
