// Loading pictures into images: a 1024 x 1024 BMP, sized from its header and then decoded, against
// files of a few header bytes that claim 65,535 x 65,535 pixels, which are refused before
// decoding. Needs no window.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "Graphics.h"
#include "SgiFileWriter.h"

namespace {

using sgitest::Bytes;

void Put(Bytes &out, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A 24-bit BMP header of the given size, followed by `pixelBytes` bytes of rows.
Bytes Bmp(std::uint32_t side, std::size_t pixelBytes) {
    Bytes out(54 + pixelBytes, 0x40);
    out[0] = 'B', out[1] = 'M';
    Put(out, 2, static_cast<std::uint32_t>(out.size()), 4);
    Put(out, 6, 0, 4);
    Put(out, 10, 54, 4);
    Put(out, 14, 40, 4);
    Put(out, 18, side, 4);
    Put(out, 22, side, 4);
    Put(out, 26, 1, 2);
    Put(out, 28, 24, 2);
    Put(out, 30, 0, 4);
    return out;
}

Bytes Tga(std::uint32_t side) {
    Bytes out(18, 0);
    out[2] = 2;  // uncompressed true colour
    Put(out, 12, side, 2);
    Put(out, 14, side, 2);
    out[16] = 24;
    return out;
}

void LoadImages(benchmark::State &state, const Bytes &file, const char *name) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    sgitest::WriteFile(path, file);
    for (auto _ : state) {
        const int image = _LoadImage(path.c_str());
        DeleteImage(image);
    }
    std::filesystem::remove(path);
}

void BM_Bmp1024(benchmark::State &state) {
    LoadImages(state, Bmp(1024, std::size_t{1024} * 1024 * 3), "picture_load_1024.bmp");
}
void BM_HugeBmpHeader(benchmark::State &state) {
    LoadImages(state, Bmp(65535, 0), "picture_load_huge.bmp");
}
void BM_HugeTgaHeader(benchmark::State &state) {
    LoadImages(state, Tga(65535), "picture_load_huge.tga");
}

}  // namespace

BENCHMARK(BM_Bmp1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HugeBmpHeader)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_HugeTgaHeader)->Unit(benchmark::kMicrosecond)->UseRealTime();
