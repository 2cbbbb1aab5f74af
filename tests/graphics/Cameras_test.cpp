// Cameras, transforms and conversions against a real context: which matrix each call leaves
// current, what the matrices hold, and the exact integer arithmetic of World2Screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

#include "Graphics.h"
#include "GraphicsTestSupport.h"

namespace {

using Matrix = std::array<double, 16>;
constexpr double pi = std::numbers::pi;

const Matrix identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct ScreenPoint {
    int x;
    int y;
    bool operator==(const ScreenPoint &) const = default;
};

void PrintTo(const ScreenPoint &p, std::ostream *out) {
    *out << "(" << p.x << ", " << p.y << ")";
}

class CamerasTest : public GraphicsWindowTest {
  protected:
    // The conversions' cases are stated for a 640 x 480 viewport; it may exceed the window.
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        glViewport(0, 0, 640, 480);
    }

    static GLint integerState(GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }

    static Matrix matrix(GLenum which) {
        Matrix m{};
        glGetDoublev(which, m.data());
        return m;
    }

    static Matrix combined() {
        Matrix m{};
        GetTransformationMatrices(m.data(), nullptr, nullptr);
        return m;
    }

    static ScreenPoint toScreen(const Matrix &m, float x, float y, float z) {
        ScreenPoint p{-7, -7};
        World2Screen(m.data(), x, y, z, &p.x, &p.y);
        return p;
    }

    static ScreenPoint toScreen(float x, float y, float z) { return toScreen(combined(), x, y, z); }
};

void expectMatrixNear(const Matrix &actual, const Matrix &expected, double tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "index " << i;
}

TEST_F(CamerasTest, EachCallLeavesItsMatrixCurrentAndSetsTheDepthTestAsDocumented) {
    struct Case {
        const char *name;
        std::function<void()> call;
        GLenum mode;
        int depthAfterOn;   // depth test afterwards when it was on before
        int depthAfterOff;  // ... and when it was off
    };
    const std::vector<Case> cases = {
        {"Set2DRange", [] { Set2DRange(0, 640, 0, 480); }, GL_PROJECTION, 0, 0},
        {"Set2DCamera", [] { Set2DCamera(1, 2, 30); }, GL_MODELVIEW, 1, 0},
        {"Set3DProjection", [] { Set3DProjection(60, 1.5, 1, 10); }, GL_PROJECTION, 1, 1},
        {"Set3DCamera", [] { Set3DCamera(1, 2, 3, 0.1, 0.2, 0.3); }, GL_MODELVIEW, 1, 0},
    };
    for (const Case &c : cases) {
        for (bool depthBefore : {true, false}) {
            SCOPED_TRACE(::testing::Message() << c.name << " depth before " << depthBefore);
            glMatrixMode(c.mode == GL_PROJECTION ? GL_MODELVIEW : GL_PROJECTION);
            depthBefore ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
            c.call();
            EXPECT_EQ(integerState(GL_MATRIX_MODE), static_cast<GLint>(c.mode));
            EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), depthBefore ? c.depthAfterOn : c.depthAfterOff);
        }
    }
}

TEST_F(CamerasTest, StartsWithIdentityMatricesAndTheModelviewCurrent) {
    Matrix all{}, modelview{}, projection{};
    GetTransformationMatrices(all.data(), modelview.data(), projection.data());
    EXPECT_EQ(all, identity);
    EXPECT_EQ(modelview, identity);
    EXPECT_EQ(projection, identity);
    EXPECT_EQ(integerState(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(CamerasTest, CombinedMatrixIsProjectionTimesModelviewColumnMajor) {
    Set2DRange(0, 640, 0, 480);
    Set2DCamera(100, 50, 0);
    Matrix all{}, modelview{}, projection{};
    GetTransformationMatrices(all.data(), modelview.data(), projection.data());
    EXPECT_EQ(modelview[12], -100);
    EXPECT_EQ(modelview[13], -50);
    // OpenGL keeps its matrices in single precision.
    EXPECT_NEAR(projection[0], 2.0 / 640, 1e-9);
    EXPECT_NEAR(projection[12], -1, 1e-7);
    // Modelview x projection would put -1 - 100 at index 12.
    const Matrix expected = {
        2.0 / 640,           0, 0, 0, 0, 2.0 / 480, 0, 0, 0, 0, -1, 0, -100 * 2.0 / 640 - 1,
        -50 * 2.0 / 480 - 1, 0, 1};
    expectMatrixNear(all, expected, 1e-7);
}

TEST_F(CamerasTest, TransformsActOnTheProjectionUntilACameraIsSet) {
    Set2DRange(0, 640, 0, 480);
    const Matrix range = matrix(GL_PROJECTION_MATRIX);
    TranslationTransform(320, 240, 0);
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), identity);
    EXPECT_NE(matrix(GL_PROJECTION_MATRIX), range);

    // Pushing past the projection stack's depth changes nothing.
    const Matrix translated = matrix(GL_PROJECTION_MATRIX);
    const GLint maximum = integerState(GL_MAX_PROJECTION_STACK_DEPTH);
    for (GLint i = 0; i < maximum + 3; ++i) PushTransformMatrix();
    EXPECT_EQ(integerState(GL_PROJECTION_STACK_DEPTH), maximum);
    EXPECT_EQ(integerState(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), translated);
}

TEST_F(CamerasTest, TwoDimensionalCameraPutsItsPointAtTheRangeOriginAndTurnsAboutIt) {
    Set2DRange(0, 640, 0, 480);
    Set2DCamera(0, 0, 0);
    EXPECT_EQ(toScreen(320, 240, 0), (ScreenPoint{319, 239}));
    EXPECT_EQ(toScreen(0, 0, 0), (ScreenPoint{0, 0}));

    Set2DCamera(100, 0, 0);  // the scene moves 100 units to the left
    EXPECT_EQ(toScreen(100, 0, 0), (ScreenPoint{0, 0}));
    EXPECT_EQ(toScreen(420, 240, 0), (ScreenPoint{319, 239}));

    Set2DRange(-320, 320, -240, 240);
    Set2DCamera(50, 0, 90);  // (150, 0) is 100 to the right of the camera, turned to 100 above
    EXPECT_EQ(toScreen(150, 0, 0), (ScreenPoint{319, 339}));
}

TEST_F(CamerasTest, ThreeDimensionalCameraFollowsYawPitchAndRoll) {
    Set3DProjection(60, 640.0 / 480, 0.1, 100);
    struct Case {
        const char *name;
        double yaw, pitch, roll;
        std::array<float, 3> ahead, up, right;  // directions as the camera should see them
    };
    const std::vector<Case> cases = {
        {"yaw 0", 0, 0, 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"yaw pi/2", pi / 2, 0, 0, {0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
        {"pitch pi/4", 0, pi / 4, 0, {1, 1, 0}, {-1, 1, 0}, {0, 0, 1}},
        {"roll pi/2", pi / 2, 0, pi / 2, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}},
    };
    const std::array<float, 3> eye = {3, -2, 5};
    auto at = [&](const std::array<float, 3> &ahead, const std::array<float, 3> &offset) {
        return toScreen(eye[0] + 5 * ahead[0] + offset[0], eye[1] + 5 * ahead[1] + offset[1],
                        eye[2] + 5 * ahead[2] + offset[2]);
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Set3DCamera(eye[0], eye[1], eye[2], c.yaw, c.pitch, c.roll);
        EXPECT_EQ(at(c.ahead, {0, 0, 0}), (ScreenPoint{319, 239}));
        const ScreenPoint above = at(c.ahead, c.up);
        EXPECT_NEAR(above.x, 319, 1);
        EXPECT_GT(above.y, 280);
        const ScreenPoint right = at(c.ahead, c.right);
        EXPECT_GT(right.x, 350);
        EXPECT_NEAR(right.y, 239, 1);
        // Behind the eye: outside at 1.5 times the odd viewport sizes.
        EXPECT_EQ(toScreen(eye[0] - c.ahead[0], eye[1] - c.ahead[1], eye[2] - c.ahead[2]),
                  (ScreenPoint{958, 718}));
    }
}

TEST_F(CamerasTest, LookingAlongTheUpVectorKeepsTheHeadingOfYaw) {
    Set3DProjection(60, 640.0 / 480, 0.1, 100);
    const double yaw = 0.7;
    Set3DCamera(5, 2, 3, yaw, pi / 2, 0);
    const Matrix straightUp = matrix(GL_MODELVIEW_MATRIX);
    for (double value : straightUp) EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(toScreen(5, 7, 3), (ScreenPoint{319, 239}));
    // Tipped back from the heading, what lies ahead along it shows at the bottom.
    const ScreenPoint ahead =
        toScreen(5 + static_cast<float>(std::cos(yaw)), 7, 3 + static_cast<float>(std::sin(yaw)));
    EXPECT_NEAR(ahead.x, 319, 1);
    EXPECT_LT(ahead.y, 200);
    // The same orientation the camera approaches just short of straight up.
    Set3DCamera(5, 2, 3, yaw, pi / 2 - 1e-4, 0);
    expectMatrixNear(straightUp, matrix(GL_MODELVIEW_MATRIX), 1e-3);
}

TEST_F(CamerasTest, WorldToScreenUsesOddViewportSizesAndIgnoresTheOffset) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Matrix halfW = identity;
    halfW[15] = 2;
    Matrix nanDepth = identity;
    nanDepth[10] = nan;
    Matrix tinyW = identity;
    tinyW[15] = 1e-30;
    const Matrix zeros{};
    struct Case {
        const char *name;
        Matrix m;
        std::array<float, 3> point;
        std::array<GLint, 4> viewport;
        ScreenPoint expected;
    };
    const std::vector<Case> cases = {
        {"centre", identity, {0, 0, 0}, {0, 0, 640, 480}, {319, 239}},
        {"top right", identity, {1, 1, 0}, {0, 0, 640, 480}, {639, 479}},
        {"bottom left", identity, {-1, -1, 0}, {0, 0, 640, 480}, {0, 0}},
        {"offset ignored", identity, {1, 1, 0}, {100, 100, 640, 480}, {639, 479}},
        {"odd sizes kept", identity, {1, 1, 0}, {0, 0, 641, 481}, {641, 481}},
        {"divided by w", halfW, {1, 1, 0}, {0, 0, 640, 480}, {479, 359}},
        {"negative depth", identity, {0, 0, -0.001f}, {0, 0, 640, 480}, {958, 718}},
        {"depth not a number", nanDepth, {0, 0, 0}, {0, 0, 640, 480}, {958, 718}},
        {"beyond int range", tinyW, {1, -1, 0}, {0, 0, 640, 480}, {INT_MAX, INT_MIN}},
        {"undefined", zeros, {1, 1, 1}, {0, 0, 640, 480}, {INT_MIN, INT_MIN}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        glViewport(c.viewport[0], c.viewport[1], c.viewport[2], c.viewport[3]);
        EXPECT_EQ(toScreen(c.m, c.point[0], c.point[1], c.point[2]), c.expected);
    }
}

TEST_F(CamerasTest, ScreenToWorldUnprojectsThroughTheViewportOrReportsASingularProduct) {
    Set2DRange(0, 640, 0, 480);
    Set2DCamera(0, 0, 0);
    Matrix modelview{}, projection{};
    GetTransformationMatrices(nullptr, modelview.data(), projection.data());
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(Screen2World(modelview.data(), projection.data(), 320, 240, 0.5, &x, &y, &z), 1);
    EXPECT_NEAR(x, 320, 1e-4);
    EXPECT_NEAR(y, 240, 1e-4);  // bottom-up, no flip
    EXPECT_NEAR(z, 0, 1e-4);
    glViewport(100, 100, 640, 480);  // unlike World2Screen, the offset counts here
    ASSERT_EQ(Screen2World(modelview.data(), projection.data(), 100, 100, 0.5, &x, &y, &z), 1);
    EXPECT_NEAR(x, 0, 1e-4);
    EXPECT_NEAR(y, 0, 1e-4);

    const Matrix zeros{};
    x = 7, y = 8, z = 9;
    EXPECT_EQ(Screen2World(zeros.data(), identity.data(), 10, 10, 0.5, &x, &y, &z), 0);
    EXPECT_EQ(Screen2World(identity.data(), identity.data(), 10, 10, 0.5, nullptr, &y, &z), 0);
    EXPECT_EQ((std::array<double, 3>{x, y, z}), (std::array<double, 3>{7, 8, 9}));
}

TEST_F(CamerasTest, EulerTransformTurnsAboutYThenXThenZAndLeavesTheMatricesAlone) {
    Set3DProjection(45, 1, 1, 50);
    PushTransformMatrix();
    const Matrix projection = matrix(GL_PROJECTION_MATRIX);
    struct Case {
        float a, b, c;
        std::array<float, 3> in, out;
    };
    const std::vector<Case> cases = {
        {90, 0, 0, {1, 0, 0}, {0, 1, 0}},
        {0, 90, 0, {0, 1, 0}, {0, 0, 1}},
        {0, 0, 90, {0, 0, 1}, {1, 0, 0}},
        {90, 0, 90, {0, 0, 1}, {0, 1, 0}},  // y first: about z first would leave (1, 0, 0)
        {0, 90, 90, {1, 0, 0}, {0, 1, 0}},  // y before x: x first would give (0, 0, -1)
        {90, 90, 0, {0, 1, 0}, {0, 0, 1}},  // x before z: z first would give (-1, 0, 0)
    };
    for (const Case &c : cases) {
        std::array<float, 3> v = c.in;
        EulerTransform(&v[0], &v[1], &v[2], c.a, c.b, c.c);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(v[i], c.out[i], 1e-6f) << c.a << ", " << c.b << ", " << c.c << ": " << i;
    }
    EulerTransform(nullptr, nullptr, nullptr, 10, 20, 30);  // harmless

    EXPECT_EQ(integerState(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_EQ(integerState(GL_PROJECTION_STACK_DEPTH), 2);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), identity);
}

}  // namespace
