// The immediate-mode entry points the shape functions draw through. They normally point straight
// at OpenGL; tests swap in recorders to see the exact vertex stream a shape emits, which feedback
// mode cannot show (it returns transformed, clipped and decomposed vertices). Internal only.
#pragma once

#include <GL/gl.h>

namespace graphics {

struct ImmediateModeCalls {
    void (*begin)(GLenum mode);
    void (*end)();
    void (*vertex2f)(GLfloat x, GLfloat y);
    void (*vertex3f)(GLfloat x, GLfloat y, GLfloat z);
    void (*texCoord2f)(GLfloat s, GLfloat t);
    void (*normal3f)(GLfloat nx, GLfloat ny, GLfloat nz);
};

// The table every primitive goes through; initialised to the OpenGL functions themselves.
extern ImmediateModeCalls immediateMode;

}  // namespace graphics
