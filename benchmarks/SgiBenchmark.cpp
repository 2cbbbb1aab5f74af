// Reading a 2,048 × 2,048 four-channel run-length SGI file from disk; the rate counts decoded
// RGBA bytes per second of wall-clock time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "RegularFile.h"
#include "SgiFileWriter.h"
#include "SgiImage.h"

namespace {

constexpr int kSide = 2048;

// Flat areas (long repeat runs) beside noisy ones (literal runs), like a painted texture.
std::string WriteBenchmarkFile() {
    sgitest::Bytes planes;
    planes.reserve(std::size_t{kSide} * kSide * 4);
    std::uint32_t noise = 12345;
    for (int z = 0; z < 4; ++z) {
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const bool flat = ((x / 64) + (y / 64)) % 2 == 0;
                planes.push_back(static_cast<std::uint8_t>(flat ? 40 * z + y / 64 : noise >> 24));
            }
        }
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / "sgi_benchmark_2048.rgba").string();
    sgitest::WriteFile(path, sgitest::Encode(kSide, kSide, 4, planes, true));
    return path;
}

void BM_ReadRunLength2048Rgba(benchmark::State &state) {
    const std::string path = WriteBenchmarkFile();
    for (auto _ : state) {
        std::optional<graphics::RegularFile> file = graphics::RegularFile::Open(path.c_str());
        graphics::SgiReadResult result = graphics::ReadSgiImage(*file);
        if (!result.Ok()) {
            state.SkipWithError(graphics::SgiFaultText(result.Fault));
            break;
        }
        benchmark::DoNotOptimize(result.Image.Rgba.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 4);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadRunLength2048Rgba)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
