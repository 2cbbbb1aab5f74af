// Throughput of the syntax scanner over a large C text, as when a big file is loaded or the
// scheme changes and the whole text is recoloured.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Scanner.h"

namespace {

// A mix of what beginners' C files hold: indentation, comments, directives, strings with escapes,
// keywords, identifiers, numbers and all kinds of operators.
constexpr const char *kSample = R"(#include <stdio.h>
#include "Graphics.h"
#define WIDTH 800

/* Draws a field of circles that follow the mouse.
   The radius grows with the distance to the centre. */
static int clamp(int value, int low, int high)
{
    if (value < low) return low;
    else if (value >= high) return high - 1;
    return value;
}

typedef struct { double x, y; unsigned char colour[4]; } Circle;

int main(void)
{
    Circle circles[64];
    int count = 0, frame = 0;
    InitGraph(WIDTH, 600, 0, "Circles\t\"demo\"");
    while (UpdateScreen()) {          // one frame per pass
        int mx, my;
        GetMousePosition(&mx, &my);
        for (int i = 0; i < count && i < 64; ++i) {
            circles[i].x += (mx - circles[i].x) * 0.05;
            circles[i].y -= (circles[i].y - my) / 20.0;
            DrawCircle(circles[i].x, circles[i].y, 3.5f + i % 7, 1);
        }
        count = clamp(count + 1, 0, 64);
        frame = frame << 1 ^ (frame >> 3) | 1;
        printf("frame %d: %s\n", frame, count != 64 ? "filling" : 'f' == 102 ? "full" : "?");
    }
    return !(count == 64 && frame);
}
)";

std::string MakeLargeText(std::size_t minimumBytes) {
    std::string text;
    text.reserve(minimumBytes + std::char_traits<char>::length(kSample));
    while (text.size() < minimumBytes) text += kSample;
    return text;
}

const std::string &LargeText() {
    static const std::string kText = MakeLargeText(8u << 20);
    return kText;
}

void ReportThroughput(benchmark::State &state, const std::vector<scrivo::Run> &runs) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(LargeText().size()));
    state.counters["runs"] = static_cast<double>(runs.size());
}

// The scanner itself: the run vector keeps its capacity from one pass to the next.
void BM_ScanLargeCText(benchmark::State &state) {
    const scrivo::Scanner scanner(scrivo::WordTables::Standard());
    std::vector<scrivo::Run> runs;
    scanner.Scan(LargeText(), runs);
    for (auto _ : state) {
        runs.clear();
        scanner.Scan(LargeText(), runs);
        benchmark::DoNotOptimize(runs.data());
    }
    ReportThroughput(state, runs);
}
BENCHMARK(BM_ScanLargeCText)->Unit(benchmark::kMillisecond);

// As a caller that starts from an empty vector each time sees it, growth included.
void BM_ScanLargeCTextIntoNewVector(benchmark::State &state) {
    const scrivo::Scanner scanner(scrivo::WordTables::Standard());
    std::vector<scrivo::Run> runs;
    for (auto _ : state) {
        runs = scanner.Scan(LargeText());
        benchmark::DoNotOptimize(runs.data());
    }
    ReportThroughput(state, runs);
}
BENCHMARK(BM_ScanLargeCTextIntoNewVector)->Unit(benchmark::kMillisecond);

}  // namespace
