// Exact vertex streams of the shape functions, captured by swapping the immediate-mode table for
// recorders. Expected coordinates marked "reference" were computed independently, emulating the
// single-precision arithmetic step by step; they catch a recurrence done in double, trigonometry
// per vertex, or a changed constant.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <ostream>
#include <vector>

#include "Graphics.h"
#include "GraphicsState.h"
#include "GraphicsTestSupport.h"
#include "ImmediateMode.h"

namespace {

struct Vertex {
    float x;
    float y;
    bool operator==(const Vertex &) const = default;
};

void PrintTo(const Vertex &v, std::ostream *out) {
    *out << "(" << v.x << ", " << v.y << ")";
}

enum class CallKind { Begin, End, Vertex2, Vertex3, TexCoord, Normal };

struct Call {
    CallKind kind;
    GLenum mode;
    std::array<float, 3> values;
    bool operator==(const Call &) const = default;
};

void PrintTo(const Call &call, std::ostream *out) {
    *out << "call " << static_cast<int>(call.kind) << " mode " << call.mode << " values "
         << call.values[0] << ", " << call.values[1] << ", " << call.values[2];
}

std::vector<Call> recorded;

void recordBegin(GLenum mode) {
    recorded.push_back({CallKind::Begin, mode, {}});
}
void recordEnd() {
    recorded.push_back({CallKind::End, 0, {}});
}
void recordVertex2(GLfloat x, GLfloat y) {
    recorded.push_back({CallKind::Vertex2, 0, {x, y, 0}});
}
void recordVertex3(GLfloat x, GLfloat y, GLfloat z) {
    recorded.push_back({CallKind::Vertex3, 0, {x, y, z}});
}
void recordTexCoord(GLfloat s, GLfloat t) {
    recorded.push_back({CallKind::TexCoord, 0, {s, t, 0}});
}
void recordNormal(GLfloat x, GLfloat y, GLfloat z) {
    recorded.push_back({CallKind::Normal, 0, {x, y, z}});
}

// One primitive as drawn: its mode and the 2D vertices between glBegin and glEnd.
struct Primitive {
    GLenum mode = 0;
    std::vector<Vertex> vertices;
};

class PrimitivesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = graphics::immediateMode;
        graphics::immediateMode = {recordBegin,   recordEnd,      recordVertex2,
                                   recordVertex3, recordTexCoord, recordNormal};
        recorded.clear();
    }
    void TearDown() override {
        graphics::immediateMode = saved_;
        graphicsState.FilledMode = false;
    }

    static void setFilled(bool filled) { graphicsState.FilledMode = filled; }

    // The single primitive the last call drew, checking that it was opened and closed once.
    static Primitive drawn() {
        Primitive primitive;
        EXPECT_GE(recorded.size(), 2u) << "expected a glBegin/glEnd pair";
        if (recorded.size() < 2) return primitive;
        EXPECT_EQ(recorded.front().kind, CallKind::Begin);
        EXPECT_EQ(recorded.back().kind, CallKind::End);
        primitive.mode = recorded.front().mode;
        for (std::size_t i = 1; i + 1 < recorded.size(); ++i) {
            EXPECT_EQ(recorded[i].kind, CallKind::Vertex2) << "at call " << i;
            primitive.vertices.push_back({recorded[i].values[0], recorded[i].values[1]});
        }
        return primitive;
    }

  private:
    graphics::ImmediateModeCalls saved_{};
};

TEST_F(PrimitivesTest, ShapesAreOutlinedUntilFilledModeIsSet) {
    DrawRectangle(1, 2, 3, 4);
    EXPECT_EQ(drawn().mode, static_cast<GLenum>(GL_LINE_LOOP));
}

TEST_F(PrimitivesTest, PlainShapesEmitTheirCornersInOrderWithTheModeOfTheFlag) {
    struct Case {
        const char *name;
        bool filled;
        std::function<void()> draw;
        GLenum mode;
        std::vector<Vertex> vertices;
    };
    const std::vector<Case> cases = {
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
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        recorded.clear();
        setFilled(c.filled);
        c.draw();
        const Primitive primitive = drawn();
        EXPECT_EQ(primitive.mode, c.mode);
        EXPECT_EQ(primitive.vertices, c.vertices);
    }
}

TEST_F(PrimitivesTest, ThreeSegmentCircleIsATriangleLoopOrACentredFanOfFourRimVertices) {
    DrawCircle(10, 20, 5, 3);
    const Primitive outline = drawn();
    EXPECT_EQ(outline.mode, static_cast<GLenum>(GL_LINE_LOOP));
    ASSERT_EQ(outline.vertices.size(), 3u);
    EXPECT_EQ(outline.vertices[0], (Vertex{15, 20}));

    recorded.clear();
    setFilled(true);
    DrawCircle(10, 20, 5, 3);
    const Primitive fan = drawn();
    EXPECT_EQ(fan.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    const std::vector<Vertex> reference = {
        {10, 20}, {15, 20}, {7.5f, 24.3301277f}, {7.50000048f, 15.6698723f}, {15, 20}};
    EXPECT_EQ(fan.vertices, reference);
}

TEST_F(PrimitivesTest, CircleRimFollowsTheSinglePrecisionRotationRecurrence) {
    // With 7 segments vertices 2 to 6 differ from 1000 * (cos k*theta, sin k*theta) in the last
    // bits; with 8 the step angle itself differs by one bit from one taken from the exact 2*pi.
    const std::vector<std::pair<int, std::vector<Vertex>>> cases = {
        {7,
         {{1000, 0},
          {623.489807f, 781.831482f},
          {-222.520966f, 974.927917f},
          {-900.968933f, 433.883698f},
          {-900.968872f, -433.88382f},
          {-222.520844f, -974.927979f},
          {623.48999f, -781.831482f}}},
        {8,
         {{1000, 0},
          {707.106812f, 707.10675f},
          {9.15527344e-05f, 1000},
          {-707.106689f, 707.106873f},
          {-1000, 0.000152587891f},
          {-707.106934f, -707.106628f},
          {-0.000274658203f, -1000},
          {707.106567f, -707.106995f}}},
    };
    for (const auto &[segments, reference] : cases) {
        recorded.clear();
        DrawCircle(0, 0, 1000, segments);
        EXPECT_EQ(drawn().vertices, reference) << segments << " segments";
    }
}

TEST_F(PrimitivesTest, EllipseScalesAUnitRimByEachRadius) {
    setFilled(true);
    DrawEllipse(1, 2, 30, 10, 6);
    const std::vector<Vertex> reference = {{1, 2},
                                           {31, 2},
                                           {15.999999f, 10.6602545f},
                                           {-14.0000038f, 10.6602535f},
                                           {-29, 1.99999857f},
                                           {-13.9999952f, -6.66025543f},
                                           {16.0000076f, -6.66025352f},
                                           {31.0000038f, 2.00000286f}};
    const Primitive fan = drawn();
    EXPECT_EQ(fan.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_EQ(fan.vertices, reference);
}

TEST_F(PrimitivesTest, NoSegmentsDrawNothingVisible) {
    struct Case {
        bool filled;
        int segments;
        std::vector<Vertex> vertices;
    };
    const std::vector<Case> cases = {
        {false, 0, {}},
        {false, -4, {}},
        {true, 0, {{3, 4}, {5, 4}}},  // centre and the single rim vertex (x + radius, y)
        {true, -1, {{3, 4}}},
        {true, INT_MIN, {{3, 4}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "filled " << c.filled << " segments " << c.segments);
        setFilled(c.filled);
        recorded.clear();
        DrawCircle(3, 4, 2, c.segments);
        EXPECT_EQ(drawn().vertices, c.vertices);
        recorded.clear();
        DrawEllipse(3, 4, 2, 7, c.segments);
        EXPECT_EQ(drawn().vertices, c.vertices);
    }
}

TEST_F(PrimitivesTest, FilledRoundRectangleIsAThirtyEightVertexFanFromTheCentre) {
    setFilled(true);
    DrawRoundRectangle(27.5f, 80.5f, 45.2f, 77.1f, 14.3f);
    const Primitive fan = drawn();
    EXPECT_EQ(fan.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    ASSERT_EQ(fan.vertices.size(), 38u);
    // Index 28 starts the last corner, whose centre is recomputed as left + inner width and here
    // lands one bit below the first corner's right (58.3999977).
    const std::vector<std::pair<int, Vertex>> reference = {
        {0, {50.0999985f, 119.050003f}},  {1, {72.6999969f, 143.300003f}},
        {5, {69.3544312f, 152.491867f}},  {10, {41.7999954f, 157.600006f}},
        {19, {27.4999962f, 94.8000031f}}, {28, {58.3999939f, 80.5f}},
        {36, {72.4827423f, 92.3168335f}}, {37, {72.6999969f, 143.300003f}}};
    for (const auto &[index, vertex] : reference) EXPECT_EQ(fan.vertices[index], vertex) << index;
}

TEST_F(PrimitivesTest, OutlinedRoundRectangleIsAClosedThirtySevenVertexStrip) {
    DrawRoundRectangle(27.5f, 80.5f, 45.2f, 77.1f, 14.3f);
    const Primitive strip = drawn();
    EXPECT_EQ(strip.mode, static_cast<GLenum>(GL_LINE_STRIP));
    ASSERT_EQ(strip.vertices.size(), 37u);
    EXPECT_EQ(strip.vertices.front(), (Vertex{72.6999969f, 143.300003f}));
    EXPECT_EQ(strip.vertices.back(), strip.vertices.front());
}

TEST_F(PrimitivesTest, RoundRectangleWithRadiusZeroStacksNineVerticesOnEachCorner) {
    DrawRoundRectangle(10, 20, 30, 40, 0);
    const std::vector<Vertex> strip = drawn().vertices;
    ASSERT_EQ(strip.size(), 37u);
    const std::vector<Vertex> corners = {{40, 60}, {10, 60}, {10, 20}, {40, 20}};
    for (int k = 0; k < 36; ++k) EXPECT_EQ(strip[k], corners[k / 9]) << "vertex " << k;
}

std::vector<int> arcAngles(const std::vector<Vertex> &vertices, Vertex centre) {
    std::vector<int> angles;
    for (const Vertex &v : vertices) {
        const double degrees =
            std::atan2(v.y - centre.y, v.x - centre.x) * 180.0 / std::numbers::pi;
        angles.push_back((static_cast<int>(std::lround(degrees)) + 360) % 360);
    }
    return angles;
}

TEST_F(PrimitivesTest, ArcStepsThroughItsAnglesAndWrapsThroughAFullTurn) {
    struct Case {
        float start;
        float end;
        float step;
        std::vector<int> angles;  // 360 shows as 0
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
    setFilled(true);  // arcs ignore the flag
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start << " to " << c.end << " step " << c.step);
        recorded.clear();
        DrawArc(5, 6, c.start, c.end, 100, c.step);
        const Primitive strip = drawn();
        EXPECT_EQ(strip.mode, static_cast<GLenum>(GL_LINE_STRIP));
        EXPECT_EQ(arcAngles(strip.vertices, {5, 6}), c.angles);
    }
}

TEST_F(PrimitivesTest, ArcVerticesAreComputedInDoubleFromSinglePrecisionRadians) {
    DrawArc(5, 6, 10, 100, 7.5f, 20);
    const std::vector<Vertex> reference = {{12.3860579f, 7.30236149f},
                                           {11.4951906f, 9.75f},
                                           {9.82090664f, 11.7453337f},
                                           {7.56515121f, 13.0476942f},
                                           {4.99999952f, 13.5f}};
    EXPECT_EQ(drawn().vertices, reference);
}

TEST_F(PrimitivesTest, ArcWithAStepThatCannotAdvanceReturnsAtOnce) {
    for (float step : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        recorded.clear();
        DrawArc(0, 0, 0, 90, 1, step);
        EXPECT_TRUE(recorded.empty()) << "step " << step;
    }
}

TEST_F(PrimitivesTest, ArcEndsWhenAddingTheStepNoLongerChangesTheAngle) {
    DrawArc(0, 0, 1e8f, 2e8f, 1, 1);
    EXPECT_EQ(drawn().vertices.size(), 1u);
    recorded.clear();
    DrawArc(0, 0, -std::numeric_limits<float>::infinity(), 90, 1, 1);
    EXPECT_EQ(drawn().vertices.size(), 1u);
}

TEST_F(PrimitivesTest, FreePrimitiveTypesUseTheLibrarysOwnNumbering) {
    const std::vector<std::pair<int, GLenum>> table = {
        {1, GL_LINES},        {2, GL_LINE_STRIP},  {3, GL_LINE_LOOP}, {4, GL_POLYGON},
        {5, GL_QUADS},        {6, GL_QUAD_STRIP},  {7, GL_TRIANGLES}, {8, GL_TRIANGLE_STRIP},
        {9, GL_TRIANGLE_FAN}, {0, GL_POINTS},      {10, GL_POINTS},   {-1, GL_POINTS},
        {INT_MIN, GL_POINTS}, {INT_MAX, GL_POINTS}};
    for (const auto &[type, mode] : table) {
        recorded.clear();
        StartPrimitives(type);
        ASSERT_EQ(recorded.size(), 1u);
        EXPECT_EQ(recorded[0], (Call{CallKind::Begin, mode, {}})) << "type " << type;
    }
}

TEST_F(PrimitivesTest, FreePrimitiveAttributesReachOpenGLInCallOrder) {
    StartPrimitives(7);
    Normal(0, 0, 1);
    TextureCoord(0.25f, 0.75f);
    Vertex3D(1, 2, 3);
    Vertex2D(4, 5);
    EndPrimitives();
    const std::vector<Call> expected = {
        {CallKind::Begin, GL_TRIANGLES, {}},        {CallKind::Normal, 0, {0, 0, 1}},
        {CallKind::TexCoord, 0, {0.25f, 0.75f, 0}}, {CallKind::Vertex3, 0, {1, 2, 3}},
        {CallKind::Vertex2, 0, {4, 5, 0}},          {CallKind::End, 0, {}}};
    EXPECT_EQ(recorded, expected);
}

// The recorders above never reach OpenGL; this checks the default table really draws.
using PrimitivesOnScreenTest = GraphicsWindowTest;

TEST_F(PrimitivesOnScreenTest, ShapesReachTheFramebufferFilledOrOutlined) {
    Set2DRange(0, windowWidth, 0, windowHeight);
    Set2DCamera(0, 0, 0);
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    auto brightestOnRim = [] {
        int brightest = 0;
        for (const Rgb &pixel : ReadRegion(205, 115, 10, 10))
            brightest = std::max(brightest, pixel.red);
        return brightest;
    };

    SetColor(0);
    Clear();
    SetColor(7);
    SetFilledMode();
    DrawCircle(160, 120, 50, 32);
    EXPECT_EQ(ReadPixel(170, 125), white);

    SetColor(0);
    Clear();
    SetColor(7);
    SetOutlineMode();
    DrawCircle(160, 120, 50, 32);
    EXPECT_EQ(ReadPixel(170, 125), black);
    EXPECT_GT(brightestOnRim(), 0);
}

}  // namespace
