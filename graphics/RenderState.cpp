// Colour and render state: the kPalette, the drawing colour that Clear also uses, viewport and
// scissor, filled or outline shapes, and thin switches over OpenGL render state. Needs the context
// InitGraph made current; without one the OpenGL calls do nothing but the colour and fill mode
// are still recorded.
#include <GL/gl.h>

#include "Graphics.h"
#include "GraphicsState.h"

namespace graphics {
namespace {

struct PaletteColor {
    float Red, Green, Blue;
};

constexpr PaletteColor kPalette[32] = {
    {0.0f, 0.0f, 0.0f},
    {0.00392f, 0.01176f, 0.95686f},
    {0.98431f, 0.00392f, 0.01176f},
    {0.98431f, 0.0f, 0.99215f},
    {0.01176f, 0.49411f, 0.00392f},
    {0.00784f, 0.98823f, 0.98431f},
    {0.99607f, 0.99215f, 0.04705f},
    {1.0f, 1.0f, 1.0f},
    {0.33333f, 0.22745f, 0.16078f},
    {0.92941f, 0.49803f, 0.94117f},
    {0.0f, 0.00392f, 0.49803f},
    {1.0f, 0.50196f, 0.0f},
    {1.0f, 0.68235f, 0.78823f},
    {0.85882f, 0.62352f, 0.85882f},
    {0.58823f, 0.58823f, 0.58823f},
    {0.78431f, 0.78431f, 0.78431f},
    {0.39215f, 0.39215f, 0.39215f},
    {0.0f, 0.99215f, 0.01568f},
    {0.17647f, 0.54117f, 0.33333f},
    {0.49803f, 0.81176f, 0.9098f},
    {0.5019f, 0.0f, 0.0039f},
    {0.4549f, 0.4745f, 0.1058f},
    {0.949f, 0.9607f, 0.8784f},
    {0.0156f, 0.3921f, 0.0117f},
    {0.5882f, 0.9843f, 0.5843f},
    {0.24313f, 0.87058f, 0.82352f},
    {0.96862f, 0.8549f, 0.00784f},
    {0.28627f, 0.01176f, 0.49019f},
    {0.89411f, 0.89803f, 0.97647f},
    {0.82352f, 0.75686f, 0.64705f},
    {0.87843f, 0.98823f, 0.99215f},
    {0.01176f, 0.49803f, 0.49803f},
};

constexpr PaletteColor kOutsidePalette = {1.0f, 1.0f, 1.0f};

void RememberColor(float red, float green, float blue) {
    graphicsState.CurrentColor[0] = red;
    graphicsState.CurrentColor[1] = green;
    graphicsState.CurrentColor[2] = blue;
}

}  // namespace

// The header's GRAPHICS_API again: GCC gives a C function defined inside a namespace the
// default hidden visibility, whatever the global declaration said.
extern "C" {

GRAPHICS_API void SetColor(int index) {
    // Taken as unsigned so that negative indices fall outside the kPalette too.
    const unsigned int slot = static_cast<unsigned int>(index);
    const PaletteColor &color = slot < 32 ? kPalette[slot] : kOutsidePalette;
    RememberColor(color.Red, color.Green, color.Blue);
    glColor3f(color.Red, color.Green, color.Blue);
}

GRAPHICS_API void SetColorRGBA(int red, int green, int blue, int alpha) {
    const float r = static_cast<float>(red) / 255.0f;
    const float g = static_cast<float>(green) / 255.0f;
    const float b = static_cast<float>(blue) / 255.0f;
    const float a = static_cast<float>(alpha) / 255.0f;
    RememberColor(r, g, b);
    glColor4f(r, g, b, a);
}

GRAPHICS_API void Clear(void) {
    const float *color = graphicsState.CurrentColor;
    glClearColor(color[0], color[1], color[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

GRAPHICS_API void SetViewPort(int x, int y, int width, int height) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, width, height);
    glViewport(x, y, width, height);
}

GRAPHICS_API void SetFilledMode(void) {
    graphicsState.FilledMode = true;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

GRAPHICS_API void SetOutlineMode(void) {
    graphicsState.FilledMode = false;
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}

GRAPHICS_API void SetPointSize(float size) {
    glPointSize(size);
}
GRAPHICS_API void SetLineWidth(float width) {
    glLineWidth(width);
}

GRAPHICS_API void EnableDepthTest(void) {
    glEnable(GL_DEPTH_TEST);
}
GRAPHICS_API void DisableDepthTest(void) {
    glDisable(GL_DEPTH_TEST);
}
GRAPHICS_API void EnableAlphaTest(void) {
    glEnable(GL_ALPHA_TEST);
}
GRAPHICS_API void DisableAlphaTest(void) {
    glDisable(GL_ALPHA_TEST);
}
GRAPHICS_API void EnableStencilTest(void) {
    glEnable(GL_STENCIL_TEST);
}
GRAPHICS_API void DisableStencilTest(void) {
    glDisable(GL_STENCIL_TEST);
}
GRAPHICS_API void EnableScissorTest(void) {
    glEnable(GL_SCISSOR_TEST);
}
GRAPHICS_API void DisableScissorTest(void) {
    glDisable(GL_SCISSOR_TEST);
}
GRAPHICS_API void EnableBlend(void) {
    glEnable(GL_BLEND);
}
GRAPHICS_API void DisableBlend(void) {
    glDisable(GL_BLEND);
}
GRAPHICS_API void EnableFaceCulling(void) {
    glEnable(GL_CULL_FACE);
}
GRAPHICS_API void DisableFaceCulling(void) {
    glDisable(GL_CULL_FACE);
}
GRAPHICS_API void EnableTexturing(void) {
    glEnable(GL_TEXTURE_2D);
}
GRAPHICS_API void DisableTexturing(void) {
    glDisable(GL_TEXTURE_2D);
}
GRAPHICS_API void EnableLineStipple(void) {
    glEnable(GL_LINE_STIPPLE);
}
GRAPHICS_API void DisableLineStipple(void) {
    glDisable(GL_LINE_STIPPLE);
}

GRAPHICS_API void SetDepthFunction(int function) {
    glDepthFunc(static_cast<GLenum>(function));
}
GRAPHICS_API void SetDepthMask(int flag) {
    glDepthMask(flag != 0 ? GL_TRUE : GL_FALSE);
}

GRAPHICS_API void SetStencilFunction(int function, int reference, unsigned int mask) {
    glStencilFunc(static_cast<GLenum>(function), reference, mask);
}

GRAPHICS_API void SetStencilOptions(int stencilFail, int depthFail, int pass) {
    glStencilOp(static_cast<GLenum>(stencilFail), static_cast<GLenum>(depthFail),
                static_cast<GLenum>(pass));
}

GRAPHICS_API void SetBlendFunction(int sourceFactor, int destinationFactor) {
    glBlendFunc(static_cast<GLenum>(sourceFactor), static_cast<GLenum>(destinationFactor));
}

GRAPHICS_API void SetLineStipple(int factor, int pattern) {
    glLineStipple(factor, static_cast<GLushort>(pattern));
}

}  // extern "C"

}  // namespace graphics
