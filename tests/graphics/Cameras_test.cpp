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
constexpr double kPi = std::numbers::pi;

const Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct ScreenPoint {
    int X;
    int Y;
    bool operator==(const ScreenPoint &) const = default;
};

void PrintTo(const ScreenPoint &p, std::ostream *out) {
    *out << "(" << p.X << ", " << p.Y << ")";
}

class CamerasTest : public GraphicsWindowTest {
  protected:
    // The conversions' cases are stated for a 640 x 480 viewport; it may exceed the window.
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        glViewport(0, 0, 640, 480);
    }

    static GLint IntegerState(GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }

    static Matrix CurrentMatrix(GLenum which) {
        Matrix m{};
        glGetDoublev(which, m.data());
        return m;
    }

    static Matrix Combined() {
        Matrix m{};
        GetTransformationMatrices(m.data(), nullptr, nullptr);
        return m;
    }

    static ScreenPoint ToScreen(const Matrix &m, float x, float y, float z) {
        ScreenPoint p{-7, -7};
        World2Screen(m.data(), x, y, z, &p.X, &p.Y);
        return p;
    }

    static ScreenPoint ToScreen(float x, float y, float z) { return ToScreen(Combined(), x, y, z); }
};

void ExpectMatrixNear(const Matrix &actual, const Matrix &expected, double tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "index " << i;
}

TEST_F(CamerasTest, EachCallLeavesItsMatrixCurrentAndSetsTheDepthTestAsDocumented) {
    struct Case {
        const char *Name;
        std::function<void()> Call;
        GLenum Mode;
        int DepthAfterOn;   // depth test afterwards when it was on before
        int DepthAfterOff;  // ... and when it was off
    };
    const std::vector<Case> cases = {
        {"Set2DRange", [] { Set2DRange(0, 640, 0, 480); }, GL_PROJECTION, 0, 0},
        {"Set2DCamera", [] { Set2DCamera(1, 2, 30); }, GL_MODELVIEW, 1, 0},
        {"Set3DProjection", [] { Set3DProjection(60, 1.5, 1, 10); }, GL_PROJECTION, 1, 1},
        {"Set3DCamera", [] { Set3DCamera(1, 2, 3, 0.1, 0.2, 0.3); }, GL_MODELVIEW, 1, 0},
    };
    for (const Case &c : cases) {
        for (bool depthBefore : {true, false}) {
            SCOPED_TRACE(::testing::Message() << c.Name << " depth before " << depthBefore);
            glMatrixMode(c.Mode == GL_PROJECTION ? GL_MODELVIEW : GL_PROJECTION);
            depthBefore ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
            c.Call();
            EXPECT_EQ(IntegerState(GL_MATRIX_MODE), static_cast<GLint>(c.Mode));
            EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), depthBefore ? c.DepthAfterOn : c.DepthAfterOff);
        }
    }
}

TEST_F(CamerasTest, StartsWithIdentityMatricesAndTheModelviewCurrent) {
    Matrix all{}, modelview{}, projection{};
    GetTransformationMatrices(all.data(), modelview.data(), projection.data());
    EXPECT_EQ(all, kIdentity);
    EXPECT_EQ(modelview, kIdentity);
    EXPECT_EQ(projection, kIdentity);
    EXPECT_EQ(IntegerState(GL_MATRIX_MODE), GL_MODELVIEW);
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
    ExpectMatrixNear(all, expected, 1e-7);
}

TEST_F(CamerasTest, TransformsActOnTheProjectionUntilACameraIsSet) {
    Set2DRange(0, 640, 0, 480);
    const Matrix range = CurrentMatrix(GL_PROJECTION_MATRIX);
    TranslationTransform(320, 240, 0);
    EXPECT_EQ(CurrentMatrix(GL_MODELVIEW_MATRIX), kIdentity);
    EXPECT_NE(CurrentMatrix(GL_PROJECTION_MATRIX), range);

    // Pushing past the projection stack's depth changes nothing.
    const Matrix translated = CurrentMatrix(GL_PROJECTION_MATRIX);
    const GLint maximum = IntegerState(GL_MAX_PROJECTION_STACK_DEPTH);
    for (GLint i = 0; i < maximum + 3; ++i) PushTransformMatrix();
    EXPECT_EQ(IntegerState(GL_PROJECTION_STACK_DEPTH), maximum);
    EXPECT_EQ(IntegerState(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(CurrentMatrix(GL_PROJECTION_MATRIX), translated);
}

TEST_F(CamerasTest, TwoDimensionalCameraPutsItsPointAtTheRangeOriginAndTurnsAboutIt) {
    Set2DRange(0, 640, 0, 480);
    Set2DCamera(0, 0, 0);
    EXPECT_EQ(ToScreen(320, 240, 0), (ScreenPoint{319, 239}));
    EXPECT_EQ(ToScreen(0, 0, 0), (ScreenPoint{0, 0}));

    Set2DCamera(100, 0, 0);  // the scene moves 100 units to the left
    EXPECT_EQ(ToScreen(100, 0, 0), (ScreenPoint{0, 0}));
    EXPECT_EQ(ToScreen(420, 240, 0), (ScreenPoint{319, 239}));

    Set2DRange(-320, 320, -240, 240);
    Set2DCamera(50, 0, 90);  // (150, 0) is 100 to the right of the camera, turned to 100 above
    EXPECT_EQ(ToScreen(150, 0, 0), (ScreenPoint{319, 339}));
}

TEST_F(CamerasTest, ThreeDimensionalCameraFollowsYawPitchAndRoll) {
    Set3DProjection(60, 640.0 / 480, 0.1, 100);
    struct Case {
        const char *Name;
        double Yaw, Pitch, Roll;
        std::array<float, 3> Ahead, Up, Right;  // directions as the camera should see them
    };
    const std::vector<Case> cases = {
        {"yaw 0", 0, 0, 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"yaw pi/2", kPi / 2, 0, 0, {0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
        {"pitch pi/4", 0, kPi / 4, 0, {1, 1, 0}, {-1, 1, 0}, {0, 0, 1}},
        {"roll pi/2", kPi / 2, 0, kPi / 2, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}},
    };
    const std::array<float, 3> eye = {3, -2, 5};
    auto at = [&](const std::array<float, 3> &ahead, const std::array<float, 3> &offset) {
        return ToScreen(eye[0] + 5 * ahead[0] + offset[0], eye[1] + 5 * ahead[1] + offset[1],
                        eye[2] + 5 * ahead[2] + offset[2]);
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        Set3DCamera(eye[0], eye[1], eye[2], c.Yaw, c.Pitch, c.Roll);
        EXPECT_EQ(at(c.Ahead, {0, 0, 0}), (ScreenPoint{319, 239}));
        const ScreenPoint above = at(c.Ahead, c.Up);
        EXPECT_NEAR(above.X, 319, 1);
        EXPECT_GT(above.Y, 280);
        const ScreenPoint right = at(c.Ahead, c.Right);
        EXPECT_GT(right.X, 350);
        EXPECT_NEAR(right.Y, 239, 1);
        // Behind the eye: outside at 1.5 times the odd viewport sizes.
        EXPECT_EQ(ToScreen(eye[0] - c.Ahead[0], eye[1] - c.Ahead[1], eye[2] - c.Ahead[2]),
                  (ScreenPoint{958, 718}));
    }
}

TEST_F(CamerasTest, LookingAlongTheUpVectorKeepsTheHeadingOfYaw) {
    Set3DProjection(60, 640.0 / 480, 0.1, 100);
    const double yaw = 0.7;
    Set3DCamera(5, 2, 3, yaw, kPi / 2, 0);
    const Matrix straightUp = CurrentMatrix(GL_MODELVIEW_MATRIX);
    for (double value : straightUp) EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(ToScreen(5, 7, 3), (ScreenPoint{319, 239}));
    // Tipped back from the heading, what lies ahead along it shows at the bottom.
    const ScreenPoint ahead =
        ToScreen(5 + static_cast<float>(std::cos(yaw)), 7, 3 + static_cast<float>(std::sin(yaw)));
    EXPECT_NEAR(ahead.X, 319, 1);
    EXPECT_LT(ahead.Y, 200);
    // The same orientation the camera approaches just short of straight up.
    Set3DCamera(5, 2, 3, yaw, kPi / 2 - 1e-4, 0);
    ExpectMatrixNear(straightUp, CurrentMatrix(GL_MODELVIEW_MATRIX), 1e-3);
}

TEST_F(CamerasTest, WorldToScreenUsesOddViewportSizesAndIgnoresTheOffset) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Matrix halfW = kIdentity;
    halfW[15] = 2;
    Matrix nanDepth = kIdentity;
    nanDepth[10] = nan;
    Matrix tinyW = kIdentity;
    tinyW[15] = 1e-30;
    const Matrix zeros{};
    struct Case {
        const char *Name;
        Matrix M;
        std::array<float, 3> Point;
        std::array<GLint, 4> Viewport;
        ScreenPoint Expected;
    };
    const std::vector<Case> cases = {
        {"centre", kIdentity, {0, 0, 0}, {0, 0, 640, 480}, {319, 239}},
        {"top right", kIdentity, {1, 1, 0}, {0, 0, 640, 480}, {639, 479}},
        {"bottom left", kIdentity, {-1, -1, 0}, {0, 0, 640, 480}, {0, 0}},
        {"offset ignored", kIdentity, {1, 1, 0}, {100, 100, 640, 480}, {639, 479}},
        {"odd sizes kept", kIdentity, {1, 1, 0}, {0, 0, 641, 481}, {641, 481}},
        {"divided by w", halfW, {1, 1, 0}, {0, 0, 640, 480}, {479, 359}},
        {"negative depth", kIdentity, {0, 0, -0.001f}, {0, 0, 640, 480}, {958, 718}},
        {"depth not a number", nanDepth, {0, 0, 0}, {0, 0, 640, 480}, {958, 718}},
        {"beyond int range", tinyW, {1, -1, 0}, {0, 0, 640, 480}, {INT_MAX, INT_MIN}},
        {"undefined", zeros, {1, 1, 1}, {0, 0, 640, 480}, {INT_MIN, INT_MIN}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        glViewport(c.Viewport[0], c.Viewport[1], c.Viewport[2], c.Viewport[3]);
        EXPECT_EQ(ToScreen(c.M, c.Point[0], c.Point[1], c.Point[2]), c.Expected);
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
    EXPECT_EQ(Screen2World(zeros.data(), kIdentity.data(), 10, 10, 0.5, &x, &y, &z), 0);
    EXPECT_EQ(Screen2World(kIdentity.data(), kIdentity.data(), 10, 10, 0.5, nullptr, &y, &z), 0);
    EXPECT_EQ((std::array<double, 3>{x, y, z}), (std::array<double, 3>{7, 8, 9}));
}

TEST_F(CamerasTest, EulerTransformTurnsAboutYThenXThenZAndLeavesTheMatricesAlone) {
    Set3DProjection(45, 1, 1, 50);
    PushTransformMatrix();
    const Matrix projection = CurrentMatrix(GL_PROJECTION_MATRIX);
    struct Case {
        float A, B, C;
        std::array<float, 3> In, Out;
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
        std::array<float, 3> v = c.In;
        EulerTransform(&v[0], &v[1], &v[2], c.A, c.B, c.C);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(v[i], c.Out[i], 1e-6f) << c.A << ", " << c.B << ", " << c.C << ": " << i;
    }
    EulerTransform(nullptr, nullptr, nullptr, 10, 20, 30);  // harmless

    EXPECT_EQ(IntegerState(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_EQ(IntegerState(GL_PROJECTION_STACK_DEPTH), 2);
    EXPECT_EQ(CurrentMatrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(CurrentMatrix(GL_MODELVIEW_MATRIX), kIdentity);
}

}  // namespace
