// A frame of 10,000 filled 32-segment circles and 10,000 filled rounded rectangles drawn through
// the library, against the same primitives with the same vertex counts sent straight to OpenGL
// with glBegin/glVertex2f/glEnd from precomputed offsets; and the largest counts a program can
// pass. Opens a window: run under Xvfb.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "Graphics.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kShapesPerFrame = 10000;
constexpr int kCircleSegments = 32;
constexpr float kCircleRadius = 4.0f;
constexpr float kBoxWidth = 10.0f;
constexpr float kBoxHeight = 6.0f;
constexpr float kCornerRadius = 2.0f;
constexpr int kCircleVertices = 1 + kCircleSegments + 1;  // centre, rim, closing rim vertex
constexpr int kRoundedBoxVertices = 38;                   // centre, 36 corner points, closing point

struct Point {
    float X;
    float Y;
};

bool WindowReady() {
    static const bool kReady = [] {
        if (InitGraph(kWindowWidth, kWindowHeight, 0, "primitives benchmark") != 1) return false;
        Set2DRange(0, kWindowWidth, 0, kWindowHeight);
        Set2DCamera(0, 0, 0);
        SetFilledMode();
        SetColor(7);
        return true;
    }();
    return kReady;
}

// Spread over the window so that every shape is rasterised, with some overlap.
const std::vector<Point> &Positions() {
    static const std::vector<Point> kSpread = [] {
        std::vector<Point> points;
        for (int i = 0; i < kShapesPerFrame; ++i)
            points.push_back({static_cast<float>((i * 37) % (kWindowWidth - 40) + 20),
                              static_cast<float>((i * 53) % (kWindowHeight - 40) + 20)});
        return points;
    }();
    return kSpread;
}

std::vector<Point> CircleOffsets() {
    std::vector<Point> offsets = {{0, 0}};
    for (int k = 0; k <= kCircleSegments; ++k) {
        const double angle = 2 * std::numbers::pi * k / kCircleSegments;
        offsets.push_back({static_cast<float>(kCircleRadius * std::cos(angle)),
                           static_cast<float>(kCircleRadius * std::sin(angle))});
    }
    return offsets;
}

std::vector<Point> RoundedBoxOffsets() {
    const float halfInnerWidth = kBoxWidth / 2 - kCornerRadius;
    const float halfInnerHeight = kBoxHeight / 2 - kCornerRadius;
    const Point centres[4] = {{halfInnerWidth, halfInnerHeight},
                              {-halfInnerWidth, halfInnerHeight},
                              {-halfInnerWidth, -halfInnerHeight},
                              {halfInnerWidth, -halfInnerHeight}};
    std::vector<Point> offsets = {{kBoxWidth / 2, kBoxHeight / 2}};
    for (int k = 0; k < 36; ++k) {
        const double angle = k * 10.0 * std::numbers::pi / 180.0;
        const Point &centre = centres[k / 9];
        offsets.push_back(
            {kBoxWidth / 2 + centre.X + static_cast<float>(kCornerRadius * std::cos(angle)),
             kBoxHeight / 2 + centre.Y + static_cast<float>(kCornerRadius * std::sin(angle))});
    }
    offsets.push_back(offsets[1]);
    return offsets;
}

void SetCounters(benchmark::State &state) {
    const double verticesPerFrame = kShapesPerFrame * double(kCircleVertices + kRoundedBoxVertices);
    state.counters["vertices/s"] =
        benchmark::Counter(verticesPerFrame, benchmark::Counter::kIsIterationInvariantRate);
}

void LibraryShapes(benchmark::State &state) {
    if (!WindowReady()) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) {
        for (const Point &p : Positions()) DrawCircle(p.X, p.Y, kCircleRadius, kCircleSegments);
        for (const Point &p : Positions())
            DrawRoundRectangle(p.X, p.Y, kBoxWidth, kBoxHeight, kCornerRadius);
        glFinish();
    }
    SetCounters(state);
}

void PlainImmediateMode(benchmark::State &state) {
    if (!WindowReady()) {
        state.SkipWithError("no window");
        return;
    }
    const std::vector<Point> circle = CircleOffsets();
    const std::vector<Point> roundedBox = RoundedBoxOffsets();
    for (auto _ : state) {
        for (const Point &p : Positions()) {
            glBegin(GL_TRIANGLE_FAN);
            for (const Point &o : circle) glVertex2f(p.X + o.X, p.Y + o.Y);
            glEnd();
        }
        for (const Point &p : Positions()) {
            glBegin(GL_TRIANGLE_FAN);
            for (const Point &o : roundedBox) glVertex2f(p.X + o.X, p.Y + o.Y);
            glEnd();
        }
        glFinish();
    }
    SetCounters(state);
}

// The largest counts a program can pass: a circle of INT_MAX segments, drawn as the capped
// 65,536, and an arc whose step is far below the finest one.
void HugeCounts(benchmark::State &state) {
    if (!WindowReady()) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) {
        DrawCircle(320, 240, 200, std::numeric_limits<int>::max());
        DrawArc(320, 240, 0, 360, 200, 1e-30f);
        glFinish();
    }
}

}  // namespace

BENCHMARK(PlainImmediateMode)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(LibraryShapes)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(HugeCounts)->Unit(benchmark::kMillisecond);
