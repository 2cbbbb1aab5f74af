// 2D ranges, 2D and 3D cameras, the program's transform stack and conversion between world and
// window coordinates. The library keeps no matrix of its own: projection, modelview, their stacks
// and the matrix mode all live in the current OpenGL context. A range or projection call leaves
// the projection matrix current and a camera call the modelview matrix, so the transforms act on
// whichever was set last. Matrices cross the interface as 16 doubles, column-major (row r,
// column c at c * 4 + r). Window coordinates count from the bottom-left with y up.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "Graphics.h"

namespace graphics {
namespace {

using Matrix4 = std::array<double, 16>;
using Matrix3f = std::array<std::array<float, 3>, 3>;
using Vector3 = std::array<double, 3>;

Vector3 Cross(const Vector3 &a, const Vector3 &b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double LengthSquared(const Vector3 &v) {
    return v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
}

// Below this sine of the angle between view direction and up vector the side vector that
// gluLookAt derives is noise (it works in single precision) or zero.
constexpr double kParallelSineLimit = 1e-6;

bool NearlyParallel(const Vector3 &a, const Vector3 &b) {
    return LengthSquared(Cross(a, b)) <=
           kParallelSineLimit * kParallelSineLimit * LengthSquared(a) * LengthSquared(b);
}

// Out-of-range and NaN floats have no int value; saturate instead of relying on the hardware's
// answer. NaN gives INT_MIN, far off any viewport.
int TruncateToInt(float value) {
    constexpr float kIntRange = 2147483648.0f;
    if (std::isnan(value) || value <= -kIntRange) return INT_MIN;
    if (value >= kIntRange) return INT_MAX;
    return static_cast<int>(value);
}

// Viewport sizes are used odd: an even size loses one pixel (640 maps to 639).
float OddExtent(GLint size) {
    return static_cast<float>(size % 2 == 1 ? size : size - 1);
}

float RadiansFromDegrees(float degrees) {
    return static_cast<float>(degrees * (std::numbers::pi / 180.0));
}

// Right-handed rotation about one coordinate axis (0 = x, 1 = y, 2 = z), as glRotatef builds it.
Matrix3f AxisRotation(std::size_t axis, float degrees) {
    const float radians = RadiansFromDegrees(degrees);
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const std::size_t a = (axis + 1) % 3;
    const std::size_t b = (axis + 2) % 3;
    Matrix3f rotation{};
    rotation[axis][axis] = 1.0f;
    rotation[a][a] = c;
    rotation[a][b] = -s;
    rotation[b][a] = s;
    rotation[b][b] = c;
    return rotation;
}

Matrix3f Multiply(const Matrix3f &left, const Matrix3f &right) {
    Matrix3f product{};
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            for (std::size_t k = 0; k < 3; ++k) product[r][c] += left[r][k] * right[k][c];
    return product;
}

}  // namespace

// The header's GRAPHICS_API again: GCC gives a C function defined inside a namespace the
// default hidden visibility, whatever the global declaration said.
extern "C" {

GRAPHICS_API void Set2DRange(double left, double right, double bottom, double top) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(left, right, bottom, top);
    glDisable(GL_DEPTH_TEST);
}

GRAPHICS_API void Set2DCamera(double x, double y, double angle) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(angle, 0.0, 0.0, 1.0);
    glTranslated(-x, -y, 0.0);
}

GRAPHICS_API void Set3DProjection(double fieldOfView, double aspect, double nearDistance,
                                  double farDistance) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspect, nearDistance, farDistance);
    glEnable(GL_DEPTH_TEST);
}

GRAPHICS_API void Set3DCamera(double x, double y, double z, double yaw, double pitch, double roll) {
    const double cosYaw = std::cos(yaw);
    const double sinYaw = std::sin(yaw);
    const double cosPitch = std::cos(pitch);
    const Vector3 centre = {x + cosYaw * cosPitch, y + std::sin(pitch), z + sinYaw * cosPitch};
    Vector3 up = {-std::sin(roll), std::cos(roll), 0.0};

    // Looking along the up vector leaves gluLookAt without a side vector. Keep the heading that
    // yaw gives instead: side (-sin yaw, 0, cos yaw) is always square to the view direction, and
    // for roll 0 this is the limit the camera approaches as the pitch nears straight up or down.
    const Vector3 forward = {centre[0] - x, centre[1] - y, centre[2] - z};
    if (NearlyParallel(forward, up)) up = Cross({-sinYaw, 0.0, cosYaw}, forward);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(x, y, z, centre[0], centre[1], centre[2], up[0], up[1], up[2]);
}

GRAPHICS_API void PushTransformMatrix() {
    glPushMatrix();
}

GRAPHICS_API void PopTransformMatrix() {
    glPopMatrix();
}

GRAPHICS_API void TranslationTransform(float x, float y, float z) {
    glTranslatef(x, y, z);
}

GRAPHICS_API void RotationTransform(float angle, float x, float y, float z) {
    glRotatef(angle, x, y, z);
}

GRAPHICS_API void ScalingTransform(float x, float y, float z) {
    glScalef(x, y, z);
}

GRAPHICS_API void GetTransformationMatrices(double *combined, double *modelview,
                                            double *projection) {
    Matrix4 modelviewMatrix{};
    Matrix4 projectionMatrix{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelviewMatrix.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projectionMatrix.data());

    Matrix4 product{};
    for (std::size_t c = 0; c < 4; ++c)
        for (std::size_t r = 0; r < 4; ++r)
            for (std::size_t k = 0; k < 4; ++k)
                product[c * 4 + r] += projectionMatrix[k * 4 + r] * modelviewMatrix[c * 4 + k];

    // A caller may want only some of the three; null outputs are skipped.
    if (combined) std::copy(product.begin(), product.end(), combined);
    if (modelview) std::copy(modelviewMatrix.begin(), modelviewMatrix.end(), modelview);
    if (projection) std::copy(projectionMatrix.begin(), projectionMatrix.end(), projection);
}

GRAPHICS_API void World2Screen(const double *matrix, float x, float y, float z, int *screenX,
                               int *screenY) {
    if (!matrix || !screenX || !screenY) return;
    const std::array<double, 4> point = {x, y, z, 1.0};
    std::array<double, 4> clip{};
    for (std::size_t r = 0; r < 4; ++r)
        for (std::size_t c = 0; c < 4; ++c) clip[r] += matrix[c * 4 + r] * point[c];

    // Behind the eye (or undefined): a spot outside the visible square.
    float normalisedX = 2.0f;
    float normalisedY = 2.0f;
    if (clip[2] >= 0.0) {
        normalisedX = static_cast<float>(clip[0] / clip[3]);
        normalisedY = static_cast<float>(clip[1] / clip[3]);
    }

    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    // The viewport's offset is deliberately not added: results count from its own corner.
    *screenX = TruncateToInt(OddExtent(viewport[2]) * (normalisedX + 1.0f) * 0.5f);
    *screenY = TruncateToInt(OddExtent(viewport[3]) * (normalisedY + 1.0f) * 0.5f);
}

GRAPHICS_API int Screen2World(const double *modelview, const double *projection, int screenX,
                              int screenY, double depth, double *worldX, double *worldY,
                              double *worldZ) {
    if (!modelview || !projection || !worldX || !worldY || !worldZ) return 0;
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    return gluUnProject(screenX, screenY, depth, modelview, projection, viewport.data(), worldX,
                        worldY, worldZ) == GL_TRUE
               ? 1
               : 0;
}

GRAPHICS_API void EulerTransform(float *x, float *y, float *z, float a, float b, float c) {
    if (!x || !y || !z) return;
    const Matrix3f rotation =
        Multiply(Multiply(AxisRotation(2, a), AxisRotation(0, b)), AxisRotation(1, c));
    const std::array<float, 3> v = {*x, *y, *z};
    std::array<float, 3> turned{};
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t k = 0; k < 3; ++k) turned[r] += rotation[r][k] * v[k];
    *x = turned[0];
    *y = turned[1];
    *z = turned[2];
}

}  // extern "C"

}  // namespace graphics
