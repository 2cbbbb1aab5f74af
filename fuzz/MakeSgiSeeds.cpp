// Writes the fuzzer's seed corpus, small valid SGI files of 1 to 4 channels in both storages with
// rows that use both kinds of run-length packet, and a few hostile files that a reader trusting
// its input would read or write astray with. Usage: MakeSgiSeeds <corpus folder> <hostile folder>
#include <cstdio>
#include <filesystem>
#include <string>

#include "SgiFileWriter.h"

void WriteHostileFiles(const std::filesystem::path &folder) {
    std::filesystem::create_directories(folder);
    const auto write = [&](const char *name, const sgitest::Bytes &bytes) {
        sgitest::WriteFile((folder / name).string(), bytes);
    };
    write("run-past-row.rgb", sgitest::RunLengthFile(4, 1, 1, {{0x7F, 9, 0}}));
    write("literal-past-data.rgb", sgitest::RunLengthFile(4, 1, 1, {{0x84, 1}}));
    write("no-row-end.rgb", sgitest::RunLengthFile(4, 1, 1, {{0x02, 1, 0x02}}));
    sgitest::Bytes offsetPastEnd = sgitest::RunLengthFile(4, 1, 1, {{0x04, 1, 0}});
    sgitest::PutBigEndian32(offsetPastEnd, 512, 0xFFFFFFFF);
    write("offset-past-end.rgb", offsetPastEnd);
    // No channels: the tables would be empty for a reader sizing them by the channel count.
    sgitest::Bytes zeroChannels = sgitest::RunLengthFile(4, 1, 1, {{0x04, 7, 0}});
    sgitest::PutBigEndian16(zeroChannels, 10, 0);
    write("zero-channels.rgb", zeroChannels);
    // Sizes whose product overflows 32 bits, over a header and nothing else.
    write("huge-verbatim.rgb", sgitest::Header(65535, 65535, 4, false));
}

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <corpus folder> <hostile folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    WriteHostileFiles(argv[2]);
    const int width = 9, height = 4;
    for (int components = 1; components <= 4; ++components) {
        sgitest::Bytes planes;
        for (int z = 0; z < components; ++z)
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    // Runs of repeats at the left, distinct bytes at the right.
                    planes.push_back(static_cast<std::uint8_t>(x < 4 ? 17 * z + y : 31 * x + z));
        for (const bool runLength : {false, true}) {
            const std::string name =
                std::to_string(components) + (runLength ? "-rle" : "-verbatim");
            sgitest::WriteFile((folder / (name + ".rgb")).string(),
                               sgitest::Encode(width, height, components, planes, runLength));
        }
    }
    return 0;
}
