// Loading pictures the way a learner's program does once its window is up: a 1024 x 1024 BMP and
// PNG loaded as textures and as images, against files of a few header bytes that claim 65,535 x
// 65,535 pixels, which are refused before decoding. The window matters: once the driver's threads
// exist, every locked stdio call costs more. Opens a window, so run it under Xvfb; report process
// CPU time, since the driver may work on threads of its own.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "Graphics.h"
#include "SgiFileWriter.h"

namespace {

using sgitest::Bytes;

constexpr std::uint32_t kSide = 1024;

void Put(Bytes &out, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Smooth gradients with a little noise, compressing about as well as a photograph.
Bytes PhotoLikeRgb(std::uint32_t side) {
    Bytes rgb(std::size_t{side} * side * 3);
    std::uint32_t noise = 12345;
    for (std::uint32_t y = 0; y < side; ++y) {
        for (std::uint32_t x = 0; x < side; ++x) {
            noise = noise * 1103515245 + 12345;
            const auto jitter = (noise >> 16) & 15;
            std::uint8_t *pixel = &rgb[(std::size_t{y} * side + x) * 3];
            pixel[0] = static_cast<std::uint8_t>(x / 4 + jitter);
            pixel[1] = static_cast<std::uint8_t>(y / 4 + jitter);
            pixel[2] = static_cast<std::uint8_t>((x + y) / 8 + jitter);
        }
    }
    return rgb;
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

Bytes PhotoBmp() {
    const Bytes rgb = PhotoLikeRgb(kSide);
    Bytes out = Bmp(kSide, rgb.size());
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        out[54 + i] = rgb[i + 2], out[54 + i + 1] = rgb[i + 1], out[54 + i + 2] = rgb[i];
    }
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

bool WindowReady() {
    static const bool kReady = InitGraph(320, 240, 0, "picture load benchmark") == 1;
    return kReady;
}

// The file lives for one benchmark; `load` is timed once per iteration.
template <typename Load>
void TimeLoads(benchmark::State &state, const char *name, const auto &writeFile, Load load) {
    if (!WindowReady()) {
        state.SkipWithError("no window");
        return;
    }
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    writeFile(path);
    for (auto _ : state) load(path.c_str());
    std::filesystem::remove(path);
}

void WriteBytes(const std::string &path, const Bytes &bytes) {
    sgitest::WriteFile(path, bytes);
}

void WritePhotoPng(const std::string &path) {
    const Bytes rgb = PhotoLikeRgb(kSide);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kSide;
    image.height = kSide;
    image.format = PNG_FORMAT_RGB;
    png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
}

void LoadAsTexture(const char *path) {
    DeleteTexture(LoadTexture(path));
}

void LoadAsImage(const char *path) {
    DeleteImage(_LoadImage(path));
}

void BM_TextureBmp1024(benchmark::State &state) {
    TimeLoads(
        state, "picture_load_1024.bmp", [](const auto &p) { WriteBytes(p, PhotoBmp()); },
        LoadAsTexture);
}
void BM_TexturePng1024(benchmark::State &state) {
    TimeLoads(state, "picture_load_1024.png", WritePhotoPng, LoadAsTexture);
}
void BM_ImageBmp1024(benchmark::State &state) {
    TimeLoads(
        state, "picture_load_1024.bmp", [](const auto &p) { WriteBytes(p, PhotoBmp()); },
        LoadAsImage);
}
void BM_ImagePng1024(benchmark::State &state) {
    TimeLoads(state, "picture_load_1024.png", WritePhotoPng, LoadAsImage);
}
void BM_HugeBmpHeader(benchmark::State &state) {
    TimeLoads(
        state, "picture_load_huge.bmp", [](const auto &p) { WriteBytes(p, Bmp(65535, 0)); },
        LoadAsImage);
}
void BM_HugeTgaHeader(benchmark::State &state) {
    TimeLoads(
        state, "picture_load_huge.tga", [](const auto &p) { WriteBytes(p, Tga(65535)); },
        LoadAsImage);
}

}  // namespace

BENCHMARK(BM_TextureBmp1024)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_TexturePng1024)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ImageBmp1024)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ImagePng1024)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_HugeBmpHeader)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(BM_HugeTgaHeader)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
