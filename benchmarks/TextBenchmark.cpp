// Vector-font text: glyphs drawn and strings measured per second, and the time to build one
// atlas; and bitmap text of a string far wider than the window. Drawing needs a window, so run
// under an X server (Xvfb with Mesa's software renderer).
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Graphics.h"
#include "TextLayer.h"

namespace {

using graphics::dtx_build_atlas;
using graphics::dtx_open_font;
using graphics::dtx_release_font;
using graphics::VectorFont;

constexpr const char *kDejaVuSans = DEJAVU_SANS_FONT;
constexpr int kStringsPerFrame = 400;
constexpr int kCharactersPerString = 50;  // ASCII, so one glyph per byte
constexpr int kMeasuredStrings = 20000;

// Strings of 50 printable characters, each cut from a different place of a pangram.
std::vector<std::string> MakeStrings(int count) {
    const std::string pangram = "The quick brown fox jumps over the lazy dog, 0123456789! ";
    std::vector<std::string> strings;
    strings.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::string text;
        for (int k = 0; k < kCharactersPerString; ++k) text += pangram[(i + k) % pangram.size()];
        strings.push_back(std::move(text));
    }
    return strings;
}

void BM_DrawGlyphs(benchmark::State &state) {
    const int font = LoadVectorFont(kDejaVuSans, static_cast<int>(state.range(0)));
    const std::vector<std::string> strings = MakeStrings(kStringsPerFrame);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    // Clear as a program does: with the depth buffer left as the window came, every glyph could
    // fail the depth test and the frame would cost nothing to draw.
    const auto drawFrame = [&] {
        Clear();
        for (int i = 0; i < kStringsPerFrame; ++i) {
            glLoadIdentity();
            glTranslatef(0, static_cast<float>(i % 40) * 15.0f, 0);
            DrawVectorFont(font, strings[i].c_str());
        }
        glFinish();
    };
    // The first frame uploads the atlas and lets the driver compile its shaders.
    drawFrame();
    for (auto _ : state) drawFrame();
    state.counters["glyphs/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kStringsPerFrame * kCharactersPerString,
        benchmark::Counter::kIsRate);
    DeleteVectorFont(font);
}
// The software renderer rasterises on its own threads: the CPU column counts them all, and the
// wall time is what a frame waits.
BENCHMARK(BM_DrawGlyphs)
    ->Arg(16)
    ->Arg(32)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_MeasureStrings(benchmark::State &state) {
    const int font = LoadVectorFont(kDejaVuSans, 32);
    const std::vector<std::string> strings = MakeStrings(kMeasuredStrings);
    for (auto _ : state) {
        float total = 0;
        for (const std::string &text : strings)
            total += GetVectorFontStringWidth(font, text.c_str());
        benchmark::DoNotOptimize(total);
    }
    state.counters["strings/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kMeasuredStrings, benchmark::Counter::kIsRate);
    DeleteVectorFont(font);
}
BENCHMARK(BM_MeasureStrings)->Unit(benchmark::kMillisecond);

// PrintAt of an 8 MB string, of which a window's width can show.
void BM_PrintLongString(benchmark::State &state) {
    const std::string text(std::size_t{8} << 20, 'x');
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (auto _ : state) {
        PrintAt(-1, 0, text.c_str());
        glFinish();
    }
}
BENCHMARK(BM_PrintLongString)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Rendering all 256 glyphs into a fresh atlas; opening and closing the face is not timed.
void BM_BuildAtlas(benchmark::State &state) {
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        VectorFont *font = dtx_open_font(kDejaVuSans, 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(dtx_build_atlas(font, size));
        state.PauseTiming();
        dtx_release_font(font);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildAtlas)->Arg(16)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    if (InitGraph(800, 600, 0, "Text benchmark") != 1) {
        std::fprintf(stderr, "no window: run under an X server, e.g. xvfb-run -a\n");
        return EXIT_FAILURE;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return EXIT_FAILURE;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
