// Loading a 5 MB C file into the real frame (offscreen): reading, turning CR LF into the control's
// line breaks, and colouring the whole text in one pass; and saving it back with CR LF.
#include <benchmark/benchmark.h>

#include <string>

#include "LargeFileFrame.h"

namespace {

constexpr std::size_t kFileBytes = 5 * 1024 * 1024;

LargeFileFrame &Shared() {
    return LargeFileFrame::Shared(kFileBytes);
}

void BM_LoadDocument5MB(benchmark::State &state) {
    LargeFileFrame &fixture = Shared();
    for (auto _ : state) {
        fixture.Frame->LoadDocument(fixture.Path);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kFileBytes));
}
BENCHMARK(BM_LoadDocument5MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteTextFile5MB(benchmark::State &state) {
    LargeFileFrame &fixture = Shared();
    fixture.Frame->LoadDocument(fixture.Path);
    const std::string copy = fixture.Path + ".saved";
    for (auto _ : state) {
        fixture.Frame->WriteTextFile(copy);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kFileBytes));
}
BENCHMARK(BM_WriteTextFile5MB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
