// Exact vertex streams of the shape functions, captured by swapping the immediate-mode table for
// recorders. The reference coordinates were computed independently, emulating the single-precision
// arithmetic step by step; they catch a recurrence done in double, trigonometry per vertex, or a
// changed constant.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

#include "Graphics.h"
#include "GraphicsState.h"
#include "GraphicsTestSupport.h"
#include "Platform.h"

namespace {

using graphics::graphicsState;

struct Vertex {
    float X, Y;
    bool operator==(const Vertex &) const = default;
};
void PrintTo(const Vertex &v, std::ostream *out) {
    *out << "(" << v.X << ", " << v.Y << ")";
}

// One immediate-mode call: 'B' begin, 'E' end, 'v' vertex2, 'V' vertex3, 't' texture, 'n' normal.
struct Call {
    char What;
    GLenum Mode;
    float A, B, C;
    bool operator==(const Call &) const = default;
};
void PrintTo(const Call &call, std::ostream *out) {
    *out << call.What << " " << call.Mode << " " << call.A << ", " << call.B << ", " << call.C;
}

std::vector<Call> calls;
void Record(char what, GLenum mode, float a, float b, float c) {
    calls.push_back({what, mode, a, b, c});
}

// Records every immediate-mode call; the array entry is not used by shapes.
const graphics::DrawCalls kRecorders = {
    [](GLenum mode) { Record('B', mode, 0, 0, 0); },
    [] { Record('E', 0, 0, 0, 0); },
    [](GLfloat x, GLfloat y) { Record('v', 0, x, y, 0); },
    [](GLfloat x, GLfloat y, GLfloat z) { Record('V', 0, x, y, z); },
    [](GLfloat s, GLfloat t) { Record('t', 0, s, t, 0); },
    [](GLfloat x, GLfloat y, GLfloat z) { Record('n', 0, x, y, z); },
    [](GLenum, GLint, GLsizei) { ADD_FAILURE() << "a shape drew from arrays"; },
};

struct Primitive {
    GLenum Mode = 0;
    std::vector<Vertex> Vertices;
};

struct ShapeCase {
    const char *Name;
    bool Filled;
    std::function<void()> Drawing;
    GLenum Mode;
    std::vector<Vertex> Vertices;
};

class PrimitivesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Saved = graphics::backEnd.Draw;
        graphics::backEnd.Draw = kRecorders;
        calls.clear();
    }
    void TearDown() override {
        graphics::backEnd.Draw = Saved;
        graphicsState.FilledMode = false;
    }

    // Runs a drawing call and returns the one primitive it drew, checking begin and end.
    static Primitive Draw(const std::function<void()> &drawing, bool filled = false) {
        calls.clear();
        graphicsState.FilledMode = filled;
        drawing();
        Primitive primitive;
        if (calls.size() < 2 || calls.front().What != 'B' || calls.back().What != 'E') {
            ADD_FAILURE() << "expected one glBegin/glEnd pair, got " << calls.size() << " calls";
            return primitive;
        }
        primitive.Mode = calls.front().Mode;
        for (std::size_t i = 1; i + 1 < calls.size(); ++i) {
            EXPECT_EQ(calls[i].What, 'v') << "call " << i;
            primitive.Vertices.push_back({calls[i].A, calls[i].B});
        }
        return primitive;
    }

    static void ExpectShapes(const std::vector<ShapeCase> &cases) {
        for (const ShapeCase &c : cases) {
            const Primitive primitive = Draw(c.Drawing, c.Filled);
            EXPECT_EQ(primitive.Mode, c.Mode) << c.Name;
            EXPECT_EQ(primitive.Vertices, c.Vertices) << c.Name;
        }
    }

  private:
    graphics::DrawCalls Saved{};
};

TEST_F(PrimitivesTest, ShapesAreOutlinedUntilFilledModeIsSet) {
    DrawRectangle(1, 2, 3, 4);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), (Call{'B', GL_LINE_LOOP, 0, 0, 0}));
}

TEST_F(PrimitivesTest, PlainShapesEmitTheirCornersInOrderWithTheModeOfTheFlag) {
    ExpectShapes({
        {"point", true, [] { DrawPoint(1.5f, -2); }, GL_POINTS, {{1.5f, -2}}},
        {"line", false, [] { DrawLine(1, 2, 3, 4); }, GL_LINES, {{1, 2}, {3, 4}}},
        {"rectangle outline",
         false,
         [] { DrawRectangle(10, 20, 30, 5); },
         GL_LINE_LOOP,
         {{10, 20}, {40, 20}, {40, 25}, {10, 25}}},
        {"rectangle filled",
         true,
         [] { DrawRectangle(10, 20, -30, 5); },
         GL_QUADS,
         {{10, 20}, {-20, 20}, {-20, 25}, {10, 25}}},
        {"triangle outline",
         false,
         [] { DrawTriangle(1, 2, 3, 4, 5, 6); },
         GL_LINE_LOOP,
         {{1, 2}, {3, 4}, {5, 6}}},
        {"triangle filled",
         true,
         [] { DrawTriangle(1, 2, 3, 4, 5, 6); },
         GL_TRIANGLES,
         {{1, 2}, {3, 4}, {5, 6}}},
    });
}

TEST_F(PrimitivesTest, CirclesAndEllipsesFollowTheSinglePrecisionRotationRecurrence) {
    // With 8 segments vertices 1 to 7 differ from 1000 * (cos k*theta, sin k*theta), and the step
    // angle itself is one bit off one taken from the exact 2*pi.
    ExpectShapes({
        {"3 segments outline",
         false,
         [] { DrawCircle(10, 20, 5, 3); },
         GL_LINE_LOOP,
         {{15, 20}, {7.5f, 24.3301277f}, {7.50000048f, 15.6698723f}}},
        {"3 segments filled",
         true,
         [] { DrawCircle(10, 20, 5, 3); },
         GL_TRIANGLE_FAN,
         {{10, 20}, {15, 20}, {7.5f, 24.3301277f}, {7.50000048f, 15.6698723f}, {15, 20}}},
        {"8 segments",
         false,
         [] { DrawCircle(0, 0, 1000, 8); },
         GL_LINE_LOOP,
         {{1000, 0},
          {707.106812f, 707.10675f},
          {9.15527344e-05f, 1000},
          {-707.106689f, 707.106873f},
          {-1000, 0.000152587891f},
          {-707.106934f, -707.106628f},
          {-0.000274658203f, -1000},
          {707.106567f, -707.106995f}}},
        {"ellipse",
         true,
         [] { DrawEllipse(1, 2, 30, 10, 6); },
         GL_TRIANGLE_FAN,
         {{1, 2},
          {31, 2},
          {15.999999f, 10.6602545f},
          {-14.0000038f, 10.6602535f},
          {-29, 1.99999857f},
          {-13.9999952f, -6.66025543f},
          {16.0000076f, -6.66025352f},
          {31.0000038f, 2.00000286f}}},
    });
}

TEST_F(PrimitivesTest, NoSegmentsDrawNothingVisible) {
    const std::vector<Vertex> none, centre = {{3, 4}}, centreAndRim = {{3, 4}, {5, 4}};
    for (int segments : {0, -1, INT_MIN}) {
        for (bool filled : {false, true}) {
            const std::vector<Vertex> &expected =
                !filled ? none : (segments == 0 ? centreAndRim : centre);
            EXPECT_EQ(Draw([&] { DrawCircle(3, 4, 2, segments); }, filled).Vertices, expected)
                << "circle, filled " << filled << ", segments " << segments;
            EXPECT_EQ(Draw([&] { DrawEllipse(3, 4, 2, 7, segments); }, filled).Vertices, expected)
                << "ellipse, filled " << filled << ", segments " << segments;
        }
    }
}

TEST_F(PrimitivesTest, CountsAndStepsAreCappedAtAFullTurnOf65536Segments) {
    for (bool filled : {false, true}) {
        const Primitive circle = Draw([] { DrawCircle(3, 4, 2, 65536); }, filled);
        EXPECT_EQ(circle.Vertices.size(), filled ? 65538u : 65536u);
        EXPECT_EQ(Draw([] { DrawCircle(3, 4, 2, INT_MAX); }, filled).Vertices, circle.Vertices)
            << "filled " << filled;
        EXPECT_EQ(Draw([] { DrawEllipse(3, 4, 2, 7, INT_MAX); }, filled).Vertices,
                  Draw([] { DrawEllipse(3, 4, 2, 7, 65536); }, filled).Vertices)
            << "filled " << filled;
    }
    // A finer step is widened to 360/65536 degrees, so the arc still reaches its end.
    const std::vector<Vertex> quarter = Draw([] { DrawArc(0, 0, 0, 90, 1, 1e-30f); }).Vertices;
    EXPECT_EQ(quarter.size(), 16385u);
    EXPECT_EQ(quarter, Draw([] { DrawArc(0, 0, 0, 90, 1, 360.0f / 65536); }).Vertices);
    // A run round and round stops after a full turn at that step.
    EXPECT_EQ(Draw([] { DrawArc(0, 0, 0, 720, 1, 0.01f); }).Vertices.size(), 65537u);
}

TEST_F(PrimitivesTest, RoundRectangleIsAFanOfThirtyEightOrAStripOfThirtySevenVertices) {
    auto shape = [] { DrawRoundRectangle(27.5f, 80.5f, 45.2f, 77.1f, 14.3f); };
    const Primitive fan = Draw(shape, true);
    EXPECT_EQ(fan.Mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    ASSERT_EQ(fan.Vertices.size(), 38u);
    // Index 28 starts the last corner, whose centre is recomputed as left + inner width and here
    // lands one bit below the first corner's right (58.3999977).
    const std::vector<std::pair<int, Vertex>> reference = {
        {0, {50.0999985f, 119.050003f}},  {1, {72.6999969f, 143.300003f}},
        {5, {69.3544312f, 152.491867f}},  {10, {41.7999954f, 157.600006f}},
        {19, {27.4999962f, 94.8000031f}}, {28, {58.3999939f, 80.5f}},
        {36, {72.4827423f, 92.3168335f}}, {37, {72.6999969f, 143.300003f}}};
    for (const auto &[index, vertex] : reference) EXPECT_EQ(fan.Vertices[index], vertex) << index;

    const Primitive strip = Draw(shape, false);
    EXPECT_EQ(strip.Mode, static_cast<GLenum>(GL_LINE_STRIP));
    const std::vector<Vertex> rim(fan.Vertices.begin() + 1, fan.Vertices.end());
    EXPECT_EQ(strip.Vertices, rim);

    // Radius 0: nine coincident vertices on each corner, from the top-right counter-clockwise.
    const std::vector<Vertex> square = Draw([] { DrawRoundRectangle(10, 20, 30, 40, 0); }).Vertices;
    ASSERT_EQ(square.size(), 37u);
    const Vertex corners[] = {{40, 60}, {10, 60}, {10, 20}, {40, 20}};
    for (int k = 0; k < 36; ++k) EXPECT_EQ(square[k], corners[k / 9]) << "vertex " << k;
}

std::vector<int> ArcAngles(const std::vector<Vertex> &vertices) {
    std::vector<int> angles;
    for (const Vertex &v : vertices) {
        const double degrees = std::atan2(v.Y - 6, v.X - 5) * 180.0 / std::numbers::pi;
        angles.push_back((static_cast<int>(std::lround(degrees)) + 360) % 360);
    }
    return angles;
}

TEST_F(PrimitivesTest, ArcStepsThroughItsAnglesAndWrapsThroughAFullTurn) {
    struct Case {
        float Start, End, Step;
        std::vector<int> Angles;  // 360 shows as 0
    };
    const std::vector<Case> cases = {
        {10, 100, 20, {10, 30, 50, 70, 90}},
        {0, 0, 45, {0, 45, 90, 135, 180, 225, 270, 315, 0}},
        {270, 90, 30, {270, 300, 330, 0, 0, 30, 60, 90}},
        {90, 90, 90, {90, 180, 270, 0, 0, 90}},
        {400, 0, 10, {}},
        {30, -10, 100, {30, 130, 230, 330}},
        {-30, -10, 10, {330, 340, 350}},
    };
    for (const Case &c : cases) {
        // Filled mode changes nothing for arcs.
        const Primitive strip = Draw([&] { DrawArc(5, 6, c.Start, c.End, 100, c.Step); }, true);
        EXPECT_EQ(strip.Mode, static_cast<GLenum>(GL_LINE_STRIP));
        EXPECT_EQ(ArcAngles(strip.Vertices), c.Angles)
            << c.Start << " to " << c.End << " step " << c.Step;
    }
    const std::vector<Vertex> reference = {{12.3860579f, 7.30236149f},
                                           {11.4951906f, 9.75f},
                                           {9.82090664f, 11.7453337f},
                                           {7.56515121f, 13.0476942f},
                                           {4.99999952f, 13.5f}};
    EXPECT_EQ(Draw([] { DrawArc(5, 6, 10, 100, 7.5f, 20); }).Vertices, reference);
}

TEST_F(PrimitivesTest, ArcWhoseStepCannotAdvanceEnds) {
    for (float step : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        calls.clear();
        DrawArc(0, 0, 0, 90, 1, step);
        EXPECT_TRUE(calls.empty()) << "step " << step;
    }
    // Angles where adding the step changes nothing stop after their first vertex.
    EXPECT_EQ(Draw([] { DrawArc(0, 0, 1e8f, 2e8f, 1, 1); }).Vertices.size(), 1u);
    const float minusInfinity = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(Draw([&] { DrawArc(0, 0, minusInfinity, 90, 1, 1); }).Vertices.size(), 1u);
}

TEST_F(PrimitivesTest, FreePrimitivesUseTheLibrarysOwnTypeNumbersAndPassAttributesOn) {
    const std::vector<std::pair<int, GLenum>> table = {
        {1, GL_LINES},        {2, GL_LINE_STRIP},  {3, GL_LINE_LOOP}, {4, GL_POLYGON},
        {5, GL_QUADS},        {6, GL_QUAD_STRIP},  {7, GL_TRIANGLES}, {8, GL_TRIANGLE_STRIP},
        {9, GL_TRIANGLE_FAN}, {0, GL_POINTS},      {10, GL_POINTS},   {-1, GL_POINTS},
        {INT_MIN, GL_POINTS}, {INT_MAX, GL_POINTS}};
    for (const auto &[type, mode] : table) {
        calls.clear();
        StartPrimitives(type);
        EXPECT_EQ(calls, (std::vector<Call>{{'B', mode, 0, 0, 0}})) << "type " << type;
    }

    calls.clear();
    Normal(0, 0, 1);
    TextureCoord(0.25f, 0.75f);
    Vertex3D(1, 2, 3);
    Vertex2D(4, 5);
    EndPrimitives();
    const std::vector<Call> expected = {{'n', 0, 0, 0, 1},
                                        {'t', 0, 0.25f, 0.75f, 0},
                                        {'V', 0, 1, 2, 3},
                                        {'v', 0, 4, 5, 0},
                                        {'E', 0, 0, 0, 0}};
    EXPECT_EQ(calls, expected);
}

// The recorders above never reach OpenGL; this checks that the default table really draws.
using PrimitivesOnScreenTest = GraphicsWindowTest;

TEST_F(PrimitivesOnScreenTest, ShapesReachTheFramebufferFilledOrOutlined) {
    Set2DRange(0, kWindowWidth, 0, kWindowHeight);
    Set2DCamera(0, 0, 0);
    auto drawCircle = [](void (*mode)()) {
        SetColor(0);
        Clear();
        SetColor(7);
        mode();
        DrawCircle(160, 120, 50, 32);
    };
    drawCircle(SetFilledMode);
    EXPECT_EQ(ReadPixel(170, 125), (Rgb{255, 255, 255}));

    drawCircle(SetOutlineMode);
    EXPECT_EQ(ReadPixel(170, 125), (Rgb{0, 0, 0}));
    const std::vector<Rgb> rim = ReadRegion(205, 115, 10, 10);
    EXPECT_TRUE(std::any_of(rim.begin(), rim.end(), [](const Rgb &p) { return p.Red > 0; }));
}

}  // namespace
