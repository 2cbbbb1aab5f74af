// Points, lines, tessellated 2D shapes and the free immediate-mode layer. Everything is drawn at
// once with glBegin/glVertex/glEnd in whatever coordinate system the cameras and transforms have
// set up; nothing is stored. 2D shapes lie in z = 0 and run counter-clockwise with y up. The
// filled-mode flag chooses between the filled and the outline tessellation. The arithmetic is
// deliberately fixed (single-precision recurrences, a fixed 10-degree corner table) so that the
// vertex stream is the same on every machine; do not "improve" it with extra trigonometry.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "Graphics.h"
#include "GraphicsState.h"
#include "Platform.h"

namespace graphics {
namespace {

DrawCalls &immediateMode = backEnd.Draw;

// Slightly below 2*pi on purpose: the rim's closing vertex lands within rounding of the first.
constexpr double kFullTurnRadians = 6.2831852;
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr float kFullTurnDegrees = 360.0f;

// Far finer than any screen can show. Uncapped, INT_MAX segments take tens of minutes, during
// which the program handles no window event. Arcs get the same bound through their step.
constexpr int kMaxSegments = 65536;
constexpr float kFinestArcStep = kFullTurnDegrees / kMaxSegments;  // exact in binary
// One run of an arc may go round more than once; after a full turn at the finest step it only
// retraces the circle.
constexpr int kMaxArcRunVertices = kMaxSegments + 1;

// Entry k is sin(10k degrees); the cosine of 10k degrees is entry k + 9.
constexpr std::array<float, 45> kSineOfTenDegreeSteps = {
    0.0f,          0.173648179f,  0.342020154f,  0.5f,  0.642787635f,  0.766044438f,
    0.866025388f,  0.939692616f,  0.98480773f,   1.0f,  0.98480773f,   0.939692616f,
    0.866025388f,  0.766044438f,  0.642787635f,  0.5f,  0.342020154f,  0.173648179f,
    0.0f,          -0.173648179f, -0.342020154f, -0.5f, -0.642787635f, -0.766044438f,
    -0.866025388f, -0.939692616f, -0.98480773f,  -1.0f, -0.98480773f,  -0.939692616f,
    -0.866025388f, -0.766044438f, -0.642787635f, -0.5f, -0.342020154f, -0.173648179f,
    0.0f,          0.173648179f,  0.342020154f,  0.5f,  0.642787635f,  0.766044438f,
    0.866025388f,  0.939692616f,  0.98480773f};
constexpr std::size_t kCornerSteps = 9;
constexpr std::size_t kCosineOffset = 9;

bool ShapesFilled() {
    return graphicsState.FilledMode;
}

// Shared by circle and ellipse. The offset starts at (startOffset, 0) and is turned by the step
// angle with a single-precision recurrence; each rim vertex is centre + offset scaled per axis.
// A circle passes its radius as the offset and unit scales (multiplying by 1 is exact), an
// ellipse a unit offset and its two radii; each keeps its own exact vertex values.
void DrawRim(float x, float y, float startOffset, float scaleX, float scaleY, int requested) {
    const int segments = std::min(requested, kMaxSegments);
    const auto stepAngle =
        static_cast<float>(kFullTurnRadians / static_cast<double>(static_cast<float>(segments)));
    const auto cosine = static_cast<float>(std::cos(static_cast<double>(stepAngle)));
    const auto sine = static_cast<float>(std::sin(static_cast<double>(stepAngle)));
    float dx = startOffset;
    float dy = 0.0f;
    const bool filled = ShapesFilled();
    // The fan repeats the first rim vertex to close itself; the loop closes on its own.
    const int rimVertices = filled ? segments + 1 : segments;

    immediateMode.Begin(filled ? GL_TRIANGLE_FAN : GL_LINE_LOOP);
    if (filled) immediateMode.Vertex2f(x, y);
    for (int i = 0; i < rimVertices; ++i) {
        immediateMode.Vertex2f(x + dx * scaleX, y + dy * scaleY);
        const float turnedX = dx * cosine - dy * sine;
        dy = dy * cosine + dx * sine;
        dx = turnedX;
    }
    immediateMode.End();
}

// One run of arc vertices from `from` while the angle stays at or below `limit`. An angle so
// large that adding the step no longer changes it ends the run, which would otherwise not end.
void EmitArcRun(float x, float y, float radius, float from, float limit, float step) {
    int emitted = 0;
    for (float angle = from; angle <= limit && emitted < kMaxArcRunVertices; ++emitted) {
        const auto radians = static_cast<float>(static_cast<double>(angle) * kRadiansPerDegree);
        immediateMode.Vertex2f(
            static_cast<float>(std::cos(static_cast<double>(radians)) * radius + x),
            static_cast<float>(std::sin(static_cast<double>(radians)) * radius + y));
        const float next = angle + step;
        if (next == angle) break;
        angle = next;
    }
}

GLenum PrimitiveModeForType(int type) {
    // The library's own numbering; 2 and 3 are the reverse of OpenGL's constants.
    static constexpr std::array<GLenum, 10> kModes = {
        GL_POINTS, GL_LINES,      GL_LINE_STRIP, GL_LINE_LOOP,      GL_POLYGON,
        GL_QUADS,  GL_QUAD_STRIP, GL_TRIANGLES,  GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN};
    return type >= 1 && type <= 9 ? kModes[static_cast<std::size_t>(type)] : GL_POINTS;
}

}  // namespace

// The header's GRAPHICS_API again: GCC gives a C function defined inside a namespace the
// default hidden visibility, whatever the global declaration said.
extern "C" {

GRAPHICS_API void DrawPoint(float x, float y) {
    immediateMode.Begin(GL_POINTS);
    immediateMode.Vertex2f(x, y);
    immediateMode.End();
}

GRAPHICS_API void DrawLine(float x1, float y1, float x2, float y2) {
    immediateMode.Begin(GL_LINES);
    immediateMode.Vertex2f(x1, y1);
    immediateMode.Vertex2f(x2, y2);
    immediateMode.End();
}

GRAPHICS_API void DrawCircle(float x, float y, float radius, int segments) {
    DrawRim(x, y, radius, 1.0f, 1.0f, segments);
}

GRAPHICS_API void DrawEllipse(float x, float y, float radiusX, float radiusY, int segments) {
    DrawRim(x, y, 1.0f, radiusX, radiusY, segments);
}

GRAPHICS_API void DrawRectangle(float x, float y, float width, float height) {
    immediateMode.Begin(ShapesFilled() ? GL_QUADS : GL_LINE_LOOP);
    immediateMode.Vertex2f(x, y);
    immediateMode.Vertex2f(x + width, y);
    immediateMode.Vertex2f(x + width, y + height);
    immediateMode.Vertex2f(x, y + height);
    immediateMode.End();
}

GRAPHICS_API void DrawRoundRectangle(float x, float y, float width, float height, float radius) {
    const float centreX = x + 0.5f * width;
    const float centreY = y + 0.5f * height;
    const float innerWidth = width - 2.0f * radius;
    const float innerHeight = height - 2.0f * radius;
    const auto right = static_cast<float>(centreX + 0.5 * innerWidth);
    const auto top = static_cast<float>(centreY + 0.5 * innerHeight);
    const float left = right - innerWidth;
    const float bottom = top - innerHeight;
    // Top-right, top-left, bottom-left, bottom-right; the last right is recomputed from left, so
    // it may differ from `right` in the last bit.
    const std::array<float, 4> cornerX = {right, left, left, left + innerWidth};
    const std::array<float, 4> cornerY = {top, top, bottom, bottom};

    const bool filled = ShapesFilled();
    immediateMode.Begin(filled ? GL_TRIANGLE_FAN : GL_LINE_STRIP);
    if (filled) immediateMode.Vertex2f(centreX, centreY);
    const std::size_t rimVertices = 4 * kCornerSteps;
    for (std::size_t k = 0; k < rimVertices; ++k) {
        const std::size_t corner = k / kCornerSteps;
        immediateMode.Vertex2f(cornerX[corner] + radius * kSineOfTenDegreeSteps[k + kCosineOffset],
                               cornerY[corner] + radius * kSineOfTenDegreeSteps[k]);
    }
    immediateMode.Vertex2f(right + radius * kSineOfTenDegreeSteps[kCosineOffset],
                           top + radius * kSineOfTenDegreeSteps[0]);
    immediateMode.End();
}

GRAPHICS_API void DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    immediateMode.Begin(ShapesFilled() ? GL_TRIANGLES : GL_LINE_LOOP);
    immediateMode.Vertex2f(x1, y1);
    immediateMode.Vertex2f(x2, y2);
    immediateMode.Vertex2f(x3, y3);
    immediateMode.End();
}

GRAPHICS_API void DrawArc(float x, float y, float startAngle, float endAngle, float radius,
                          float step) {
    // A step that is not positive (or not a number) would never reach the limit.
    if (!(step > 0.0f)) return;
    step = std::max(step, kFinestArcStep);
    immediateMode.Begin(GL_LINE_STRIP);
    if (startAngle < endAngle) {
        EmitArcRun(x, y, radius, startAngle, endAngle, step);
    } else {
        EmitArcRun(x, y, radius, startAngle, kFullTurnDegrees, step);
        // An end of exactly 0 is reached by the first run's 360 degrees.
        if (endAngle != 0.0f) EmitArcRun(x, y, radius, 0.0f, endAngle, step);
    }
    immediateMode.End();
}

GRAPHICS_API void StartPrimitives(int type) {
    immediateMode.Begin(PrimitiveModeForType(type));
}

GRAPHICS_API void EndPrimitives() {
    immediateMode.End();
}

GRAPHICS_API void Vertex2D(float x, float y) {
    immediateMode.Vertex2f(x, y);
}

GRAPHICS_API void Vertex3D(float x, float y, float z) {
    immediateMode.Vertex3f(x, y, z);
}

GRAPHICS_API void TextureCoord(float s, float t) {
    immediateMode.TexCoord2f(s, t);
}

GRAPHICS_API void Normal(float nx, float ny, float nz) {
    immediateMode.Normal3f(nx, ny, nz);
}

}  // extern "C"

}  // namespace graphics
