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

constexpr int windowWidth = 640;
constexpr int windowHeight = 480;
constexpr int shapesPerFrame = 10000;
constexpr int circleSegments = 32;
constexpr float circleRadius = 4.0f;
constexpr float boxWidth = 10.0f;
constexpr float boxHeight = 6.0f;
constexpr float cornerRadius = 2.0f;
constexpr int circleVertices = 1 + circleSegments + 1;  // centre, rim, closing rim vertex
constexpr int roundedBoxVertices = 38;                  // centre, 36 corner points, closing point

struct Point {
    float x;
    float y;
};

bool windowReady() {
    static const bool ready = [] {
        if (InitGraph(windowWidth, windowHeight, 0, "primitives benchmark") != 1) return false;
        Set2DRange(0, windowWidth, 0, windowHeight);
        Set2DCamera(0, 0, 0);
        SetFilledMode();
        SetColor(7);
        return true;
    }();
    return ready;
}

// Spread over the window so that every shape is rasterised, with some overlap.
const std::vector<Point> &positions() {
    static const std::vector<Point> spread = [] {
        std::vector<Point> points;
        for (int i = 0; i < shapesPerFrame; ++i)
            points.push_back({static_cast<float>((i * 37) % (windowWidth - 40) + 20),
                              static_cast<float>((i * 53) % (windowHeight - 40) + 20)});
        return points;
    }();
    return spread;
}

std::vector<Point> circleOffsets() {
    std::vector<Point> offsets = {{0, 0}};
    for (int k = 0; k <= circleSegments; ++k) {
        const double angle = 2 * std::numbers::pi * k / circleSegments;
        offsets.push_back({static_cast<float>(circleRadius * std::cos(angle)),
                           static_cast<float>(circleRadius * std::sin(angle))});
    }
    return offsets;
}

std::vector<Point> roundedBoxOffsets() {
    const float halfInnerWidth = boxWidth / 2 - cornerRadius;
    const float halfInnerHeight = boxHeight / 2 - cornerRadius;
    const Point centres[4] = {{halfInnerWidth, halfInnerHeight},
                              {-halfInnerWidth, halfInnerHeight},
                              {-halfInnerWidth, -halfInnerHeight},
                              {halfInnerWidth, -halfInnerHeight}};
    std::vector<Point> offsets = {{boxWidth / 2, boxHeight / 2}};
    for (int k = 0; k < 36; ++k) {
        const double angle = k * 10.0 * std::numbers::pi / 180.0;
        const Point &centre = centres[k / 9];
        offsets.push_back(
            {boxWidth / 2 + centre.x + static_cast<float>(cornerRadius * std::cos(angle)),
             boxHeight / 2 + centre.y + static_cast<float>(cornerRadius * std::sin(angle))});
    }
    offsets.push_back(offsets[1]);
    return offsets;
}

void setCounters(benchmark::State &state) {
    const double verticesPerFrame = shapesPerFrame * double(circleVertices + roundedBoxVertices);
    state.counters["vertices/s"] =
        benchmark::Counter(verticesPerFrame, benchmark::Counter::kIsIterationInvariantRate);
}

void LibraryShapes(benchmark::State &state) {
    if (!windowReady()) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) {
        for (const Point &p : positions()) DrawCircle(p.x, p.y, circleRadius, circleSegments);
        for (const Point &p : positions())
            DrawRoundRectangle(p.x, p.y, boxWidth, boxHeight, cornerRadius);
        glFinish();
    }
    setCounters(state);
}

void PlainImmediateMode(benchmark::State &state) {
    if (!windowReady()) {
        state.SkipWithError("no window");
        return;
    }
    const std::vector<Point> circle = circleOffsets();
    const std::vector<Point> roundedBox = roundedBoxOffsets();
    for (auto _ : state) {
        for (const Point &p : positions()) {
            glBegin(GL_TRIANGLE_FAN);
            for (const Point &o : circle) glVertex2f(p.x + o.x, p.y + o.y);
            glEnd();
        }
        for (const Point &p : positions()) {
            glBegin(GL_TRIANGLE_FAN);
            for (const Point &o : roundedBox) glVertex2f(p.x + o.x, p.y + o.y);
            glEnd();
        }
        glFinish();
    }
    setCounters(state);
}

// The largest counts a program can pass: a circle of INT_MAX segments, drawn as the capped
// 65,536, and an arc whose step is far below the finest one.
void HugeCounts(benchmark::State &state) {
    if (!windowReady()) {
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
