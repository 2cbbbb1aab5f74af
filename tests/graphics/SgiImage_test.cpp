// The SGI reader on files written byte by byte: channel mapping, both storages, run-length
// packets, and every kind of malformed file the reader must refuse without reading astray.
#include "SgiImage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "RegularFile.h"
#include "SgiFileWriter.h"

namespace graphics {
namespace {

using sgitest::Bytes;
using ::testing::ElementsAreArray;

// A distinct byte for every sample: channel z, row y (0 = bottom), column x.
std::uint8_t Sample(int x, int y, int z) {
    return static_cast<std::uint8_t>(0x40 * z + 8 * y + x + 1);
}

Bytes Planes(int width, int height, int components) {
    Bytes planes;
    for (int z = 0; z < components; ++z)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) planes.push_back(Sample(x, y, z));
    return planes;
}

// What the reader must give for the synthetic picture above.
Bytes ExpectedRgba(int width, int height, int components) {
    Bytes rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto s = [&](int z) { return Sample(x, y, z); };
            switch (components) {
                case 0:
                case 1:
                    rgba.insert(rgba.end(), {s(0), s(0), s(0), 255});
                    break;
                case 2:
                    rgba.insert(rgba.end(), {s(0), s(0), s(0), s(1)});
                    break;
                case 3:
                    rgba.insert(rgba.end(), {s(0), s(1), s(2), 255});
                    break;
                default:
                    rgba.insert(rgba.end(), {s(0), s(1), s(2), s(3)});
                    break;
            }
        }
    }
    return rgba;
}

struct ChannelCase {
    int Components;
    bool RunLength;
};

class SgiChannels : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(SgiChannels, MapsChannelsToRgbaBottomRowFirst) {
    const auto [components, runLength] = GetParam();
    const int width = 5, height = 3;
    // A file claiming no channels is laid out, and read, as one with a single channel.
    Bytes file = sgitest::Encode(width, height, std::max(components, 1),
                                 Planes(width, height, std::max(components, 1)), runLength);
    sgitest::PutBigEndian16(file, 10, static_cast<std::uint32_t>(components));

    const SgiReadResult result = DecodeSgiImage(file);

    ASSERT_TRUE(result.Ok()) << SgiFaultText(result.Fault);
    EXPECT_EQ(result.Image.Width, width);
    EXPECT_EQ(result.Image.Height, height);
    EXPECT_EQ(result.Image.Components, components);
    EXPECT_THAT(result.Image.Rgba, ElementsAreArray(ExpectedRgba(width, height, components)));
}

INSTANTIATE_TEST_SUITE_P(AllStorages, SgiChannels,
                         ::testing::Values(ChannelCase{0, false}, ChannelCase{0, true},
                                           ChannelCase{1, false}, ChannelCase{1, true},
                                           ChannelCase{2, false}, ChannelCase{2, true},
                                           ChannelCase{3, false}, ChannelCase{3, true},
                                           ChannelCase{4, false}, ChannelCase{4, true},
                                           ChannelCase{5, false}, ChannelCase{5, true}),
                         [](const ::testing::TestParamInfo<ChannelCase> &info) {
                             return sgitest::CaseName(info.param.Components, info.param.RunLength);
                         });

TEST(SgiImage, OnlyTheHighByteOfTheStorageTypeSelectsRunLength) {
    const Bytes planes = Planes(4, 2, 1);
    for (const std::uint32_t storage : {0x0100u, 0x0102u, 0x01FFu}) {
        Bytes file = sgitest::Encode(4, 2, 1, planes, true);
        sgitest::PutBigEndian16(file, 2, storage);
        EXPECT_TRUE(DecodeSgiImage(file).Ok()) << std::hex << storage;
    }
    for (const std::uint32_t storage : {0x0000u, 0x0001u, 0x0201u}) {
        Bytes file = sgitest::Encode(4, 2, 1, planes, false);
        sgitest::PutBigEndian16(file, 2, storage);
        EXPECT_TRUE(DecodeSgiImage(file).Ok()) << std::hex << storage;
    }
}

struct PacketCase {
    const char *Name;
    Bytes Packed;
    Bytes Row;  // the eight bytes the row must decode to
};

TEST(SgiImage, RunLengthPackets) {
    const PacketCase cases[] = {
        {"literal 0x85", {0x85, 1, 2, 3, 4, 5, 0x83, 6, 7, 8, 0}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"repeat 0x05", {0x05, 9, 0x03, 7, 0}, {9, 9, 9, 9, 9, 7, 7, 7}},
        {"0x00 ends the row", {0x82, 1, 2, 0x00, 0x86, 3, 3, 3, 3, 3, 3}, {1, 2, 0, 0, 0, 0, 0, 0}},
        {"0x80 ends the row", {0x03, 4, 0x80, 0x05, 5}, {4, 4, 4, 0, 0, 0, 0, 0}},
        {"end of data ends the row", {0x08, 6}, {6, 6, 6, 6, 6, 6, 6, 6}},
    };
    for (const PacketCase &c : cases) {
        const Bytes file = sgitest::RunLengthFile(8, 1, 1, {c.Packed});
        const SgiReadResult result = DecodeSgiImage(file);
        ASSERT_TRUE(result.Ok()) << c.Name << ": " << SgiFaultText(result.Fault);
        Bytes grey;
        for (std::size_t i = 0; i < result.Image.Rgba.size(); i += 4)
            grey.push_back(result.Image.Rgba[i]);
        EXPECT_THAT(grey, ElementsAreArray(c.Row)) << c.Name;
    }
}

// A valid 4 × 2 one-channel run-length file whose pieces the cases below spoil.
Bytes GoodRunLengthFile() {
    return sgitest::Encode(4, 2, 1, Planes(4, 2, 1), true);
}

Bytes WithField16(Bytes file, std::size_t at, std::uint32_t value) {
    sgitest::PutBigEndian16(file, at, value);
    return file;
}

Bytes WithField32(Bytes file, std::size_t at, std::uint32_t value) {
    sgitest::PutBigEndian32(file, at, value);
    return file;
}

Bytes Truncated(Bytes file, std::size_t size) {
    file.resize(size);
    return file;
}

struct BadCase {
    const char *Name;
    Bytes File;
    SgiFault Fault;
};

TEST(SgiImage, MalformedFilesFailWithTheirReason) {
    const Bytes good = GoodRunLengthFile();
    const Bytes verbatim = sgitest::Encode(4, 2, 3, Planes(4, 2, 3), false);
    // The offset table starts at 512, the length table at 520 (two rows of one channel).
    const BadCase cases[] = {
        {"empty file", {}, SgiFault::TruncatedHeader},
        {"eleven header bytes", Truncated(good, 11), SgiFault::TruncatedHeader},
        {"width zero", WithField16(good, 6, 0), SgiFault::BadDimensions},
        {"height zero", WithField16(good, 8, 0), SgiFault::BadDimensions},
        {"16385 x 16384", WithField16(WithField16(good, 6, 16385), 8, 16384),
         SgiFault::BadDimensions},
        {"65535 x 65535", WithField16(WithField16(good, 6, 65535), 8, 65535),
         SgiFault::BadDimensions},
        {"16384 x 16384 passes the size check but lacks its tables",
         WithField16(WithField16(good, 6, 16384), 8, 16384), SgiFault::TableOutsideFile},
        {"header only", Truncated(good, 512), SgiFault::TableOutsideFile},
        {"length table cut", Truncated(good, 524), SgiFault::TableOutsideFile},
        {"tables of more channels than the file holds", WithField16(good, 10, 200),
         SgiFault::TableOutsideFile},
        {"row offset past the end", WithField32(good, 512, 100000), SgiFault::RowOutsideFile},
        {"offset plus length wraps 32 bits", WithField32(good, 512, 0xFFFFFFF0),
         SgiFault::RowOutsideFile},
        {"row length past the end", WithField32(good, 520, 100), SgiFault::RowOutsideFile},
        {"row longer than 256 x width", WithField32(good, 520, 1025), SgiFault::RowTooLong},
        {"compressed data cut", Truncated(good, good.size() - 1), SgiFault::RowOutsideFile},
        {"literal run past the row", sgitest::RunLengthFile(4, 1, 1, {{0x85, 1, 2, 3, 4, 5, 0}}),
         SgiFault::RunPastRow},
        {"repeat run past the row", sgitest::RunLengthFile(4, 1, 1, {{0x02, 1, 0x03, 2, 0}}),
         SgiFault::RunPastRow},
        {"literal run past the data", sgitest::RunLengthFile(4, 1, 1, {{0x84, 1, 2}}),
         SgiFault::RunPastData},
        {"repeat run without its byte", sgitest::RunLengthFile(4, 1, 1, {{0x04}}),
         SgiFault::RunPastData},
        {"verbatim rows cut", Truncated(verbatim, verbatim.size() - 1), SgiFault::RowOutsideFile},
        {"verbatim with rows claimed that are not there", WithField16(verbatim, 8, 3),
         SgiFault::RowOutsideFile},
    };
    for (const BadCase &c : cases) {
        const SgiReadResult result = DecodeSgiImage(c.File);
        EXPECT_EQ(result.Fault, c.Fault) << c.Name << ": expected " << SgiFaultText(c.Fault)
                                         << ", got " << SgiFaultText(result.Fault);
        EXPECT_TRUE(result.Image.Rgba.empty()) << c.Name;
    }
}

// Inputs that once upset the reader under the fuzzer; each must give an answer, not a crash.
TEST(SgiImage, FuzzRegressionInputsAreHandled) {
    const std::filesystem::path folder = SGI_REGRESSION_DIR;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const SgiReadResult result = DecodeSgiImage(bytes);
        if (result.Ok()) {
            EXPECT_EQ(result.Image.Rgba.size(),
                      std::size_t(result.Image.Width) * result.Image.Height * 4)
                << entry.path();
        }
    }
}

TEST(SgiFile, ReadingAnOpenFileGivesWhatDecodingItsBytesGives) {
    const Bytes bytes = sgitest::Encode(7, 4, 4, Planes(7, 4, 4), true);
    const std::string path = (std::filesystem::path(::testing::TempDir()) / "sgi.rgba").string();
    sgitest::WriteFile(path, bytes);
    std::optional<RegularFile> file = RegularFile::Open(path.c_str());
    ASSERT_TRUE(file);

    const SgiReadResult result = ReadSgiImage(*file);

    ASSERT_TRUE(result.Ok()) << SgiFaultText(result.Fault);
    EXPECT_THAT(result.Image.Rgba, ElementsAreArray(ExpectedRgba(7, 4, 4)));
}

}  // namespace
}  // namespace graphics
