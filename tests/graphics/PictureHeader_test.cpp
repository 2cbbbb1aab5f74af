// Sizing picture files before a decoder sees them: a 3 × 2 picture of every format the library
// reads is sized as it is decoded, and the same file claiming another size is refused when a side
// is out of range or the file cannot hold the pixels. Then decoding: PNG files of every kind and
// the BMP files that are unpacked without SOIL come out with the colours they hold.
#include "PictureHeader.h"

#include <SOIL/stb_image_aug.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "Graphics.h"
#include "PictureDecoder.h"
#include "SgiFileWriter.h"
#include "Textures.h"

namespace graphics {

void PrintTo(PictureFault fault, std::ostream *out) {
    constexpr const char *kNames[] = {"None", "UnknownFormat", "TruncatedHeader", "BadSize",
                                      "TruncatedData"};
    *out << kNames[static_cast<int>(fault)];
}

namespace {

using sgitest::Bytes;
namespace fs = std::filesystem;

Bytes ReadPicture(const char *name) {
    std::ifstream in(fs::path(PICTURES_DIR) / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

PictureFault FaultOf(const Bytes &bytes) {
    MemoryBytes source(bytes);
    return ReadPictureHeader(source).Fault;
}

void PutField(Bytes &out, std::size_t at, std::uint32_t value, int bytes, bool bigEndian) {
    for (int i = 0; i < bytes; ++i) {
        out[at + (bigEndian ? bytes - 1 - i : i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

struct FormatCase {
    const char *File;
    PictureFormat Format;
    std::size_t WidthAt, HeightAt;  // where this file keeps its size; HDR keeps it as text
    int FieldBytes;
    bool BigEndian;
};

const FormatCase kFormats[] = {
    {"picture.jpg", PictureFormat::Jpeg, 0xA5, 0xA3, 2, true},
    {"picture.png", PictureFormat::Png, 16, 20, 4, true},
    {"picture.bmp", PictureFormat::Bmp, 18, 22, 4, false},
    {"picture.psd", PictureFormat::Psd, 18, 14, 4, true},
    {"picture.dds", PictureFormat::Dds, 16, 12, 4, false},
    {"picture.hdr", PictureFormat::Hdr, 0, 0, 0, false},
    {"picture.tga", PictureFormat::Tga, 12, 14, 2, false},
};

// The file with its size fields rewritten.
Bytes Claiming(Bytes file, const FormatCase &c, std::uint32_t width, std::uint32_t height) {
    if (c.Format == PictureFormat::Hdr) {
        const std::string_view old = "-Y 2 +X 3";
        const auto at = std::search(file.begin(), file.end(), old.begin(), old.end());
        const std::string size = "-Y " + std::to_string(height) + " +X " + std::to_string(width);
        file.insert(file.erase(at, at + static_cast<std::ptrdiff_t>(old.size())), size.begin(),
                    size.end());
        return file;
    }
    PutField(file, c.WidthAt, width, c.FieldBytes, c.BigEndian);
    PutField(file, c.HeightAt, height, c.FieldBytes, c.BigEndian);
    return file;
}

class PictureFiles : public ::testing::Test {
  protected:
    // The image _LoadImage makes of the bytes.
    const ImageRecord &Load(const Bytes &bytes) {
        sgitest::WriteFile(LoadPath(), bytes);
        return imageTable[_LoadImage(LoadPath().c_str())];
    }
    // One file per test, since tests run side by side.
    static std::string LoadPath() {
        return (fs::path(::testing::TempDir()) /
                ::testing::UnitTest::GetInstance()->current_test_info()->name())
            .string();
    }
};

TEST_F(PictureFiles, EachFormatIsSizedAsDecodedAndRefusedOutOfRangeOrShortOfData) {
    for (const FormatCase &c : kFormats) {
        const Bytes bytes = ReadPicture(c.File);
        ASSERT_FALSE(bytes.empty()) << c.File;
        MemoryBytes source(bytes);
        const PictureHeader header = ReadPictureHeader(source);
        EXPECT_EQ(header.Fault, PictureFault::None) << c.File;
        EXPECT_EQ(header.Format, c.Format) << c.File;
        EXPECT_EQ(header.Width, 3u) << c.File;
        EXPECT_EQ(header.Height, 2u) << c.File;
        const ImageRecord &decoded = Load(bytes);
        EXPECT_EQ(decoded.Width, 3) << c.File << ": the decoder reads the file";
        EXPECT_EQ(decoded.Height, 2) << c.File;

        struct Size {
            std::uint32_t Width, Height;
            PictureFault Fault;
        };
        for (const Size &size :
             {Size{16385, 2, PictureFault::BadSize}, Size{3, 16385, PictureFault::BadSize},
              Size{0, 2, PictureFault::BadSize}, Size{4096, 4096, PictureFault::TruncatedData}}) {
            const Bytes claiming = Claiming(bytes, c, size.Width, size.Height);
            EXPECT_EQ(FaultOf(claiming), size.Fault)
                << c.File << " claiming " << size.Width << " x " << size.Height;
            EXPECT_EQ(Load(claiming).Width, 0) << c.File << ": refused before decoding";
        }
        const Bytes cut(bytes.begin(), bytes.begin() + 10);
        EXPECT_NE(FaultOf(cut), PictureFault::None) << c.File << " cut";
    }
}

TEST(PictureHeader, FilesWhoseSizeCannotBeReadAreRefused) {
    const auto text = [](std::string_view s) { return Bytes(s.begin(), s.end()); };
    struct Case {
        const char *Name;
        Bytes File;
        PictureFault Fault;
    };
    const FormatCase &png = kFormats[1], &dds = kFormats[4];
    Bytes bmpOfUnknownKind = ReadPicture("picture.bmp");
    PutField(bmpOfUnknownKind, 14, 64, 4, false);
    Bytes dxt9 = ReadPicture("picture.dds");
    PutField(dxt9, 80, 0x4, 4, false);
    dxt9[84] = 'D', dxt9[85] = 'X', dxt9[86] = 'T', dxt9[87] = '9';
    // Six faces of 3000 × 3000 stack to 18,000 rows; a plain 3000 × 3000 is merely short of data.
    const Bytes square = Claiming(ReadPicture("picture.dds"), dds, 3000, 3000);
    Bytes cubeMap = square;
    PutField(cubeMap, 112, 0x200, 4, false);
    // The largest PNG there is, 16-bit RGBA rows of 16384 pixels, is within reach: libpng
    // inflates it a row at a time.
    Bytes rgbaPng = ReadPicture("picture.png");
    rgbaPng[24] = 16, rgbaPng[25] = 6;
    rgbaPng = Claiming(rgbaPng, png, 16384, 16384);
    const Case cases[] = {
        {"empty", {}, PictureFault::UnknownFormat},
        {"text", text("not a picture at all"), PictureFault::UnknownFormat},
        {"BMP of an unknown kind", bmpOfUnknownKind, PictureFault::UnknownFormat},
        {"DXT9", dxt9, PictureFault::UnknownFormat},
        {"square", square, PictureFault::TruncatedData},
        {"cube map", cubeMap, PictureFault::BadSize},
        {"16-bit RGBA PNG of 16384 x 16384", rgbaPng, PictureFault::TruncatedData},
        {"JPEG cut after its start", text("\xFF\xD8"), PictureFault::TruncatedHeader},
        {"JPEG scan before a frame", text("\xFF\xD8\xFF\xDA"), PictureFault::UnknownFormat},
        {"JPEG junk between segments", text("\xFF\xD8\x12\x34"), PictureFault::UnknownFormat},
        {"HDR without its empty line", text("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n-Y 2 +X 3\n"),
         PictureFault::TruncatedHeader},
        {"HDR stored bottom up", text("#?RADIANCE\n\n+Y 2 +X 3\n"), PictureFault::UnknownFormat},
        {"HDR with a signed size", text("#?RADIANCE\n\n-Y -2 +X 3\n"), PictureFault::UnknownFormat},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FaultOf(c.File), c.Fault) << c.Name;
    }
}

// The files were written by ImageMagick from a 3 × 2 colour and a 3 × 2 grey picture: each
// decodes to its source's colours, with alpha dropped and sixteen bits scaled to eight, and keeps
// its own channel count. Before libpng read them, all but the 8-bit ones drew nothing.
TEST_F(PictureFiles, PngOfEveryDepthAndColourTypeDecodesToItsColours) {
    // Top row first.
    const Bytes colour = {200, 10, 20,  10, 200, 30, 20,  40,  210,
                          255, 0,  255, 0,  0,   0,  250, 250, 250};
    Bytes grey;
    for (const std::uint8_t value : {0, 85, 170, 255, 85, 0}) grey.insert(grey.end(), 3, value);
    struct Case {
        const char *File;
        const Bytes &Pixels;
        int Channels;
    };
    const Case cases[] = {
        {"png_rgb16.png", colour, 3},      {"png_rgba16.png", colour, 4},
        {"png_palette4.png", colour, 3},   {"png_palette_transparent.png", colour, 4},
        {"png_interlaced.png", colour, 3}, {"png_grey2.png", grey, 1},
        {"png_grey16.png", grey, 1},       {"png_greyalpha8.png", grey, 2},
        {"bmp_v5_header.bmp", colour, 3},
    };
    for (const Case &c : cases) {
        const Bytes picture = ReadPicture(c.File);
        const ImageRecord &image = Load(picture);
        ASSERT_EQ(image.Width, 3) << c.File;
        ASSERT_EQ(image.Height, 2) << c.File;
        EXPECT_EQ(image.Channels, c.Channels) << c.File;
        Bytes bottomRowFirst(c.Pixels.begin() + 9, c.Pixels.end());
        bottomRowFirst.insert(bottomRowFirst.end(), c.Pixels.begin(), c.Pixels.begin() + 9);
        EXPECT_THAT(Bytes(image.Pixels.get(), image.Pixels.get() + 18),
                    ::testing::ElementsAreArray(bottomRowFirst))
            << c.File;
    }

    const Bytes png = ReadPicture("png_rgb16.png");
    const std::string_view idat = "IDAT";
    const auto data = std::search(png.begin(), png.end(), idat.begin(), idat.end()) + 4;
    Bytes damaged = png;
    std::fill_n(damaged.begin() + (data - png.begin()) + 2, 6, std::uint8_t{0xFF});
    const Bytes cut(png.begin(), data + 4);
    for (const Bytes &bad : {damaged, cut}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(Load(bad).Width, 0);
        EXPECT_THAT(testing::internal::GetCapturedStderr(),
                    ::testing::StartsWith("cannot load picture " + LoadPath() + ": damaged PNG ("));
    }
}

// A 24-bit BMP with the given header size and rows, padded, bottom row first unless `height` is
// negative, and `gap` unused bytes between the header and the rows.
Bytes Bmp24(std::uint32_t infoSize, int width, int height, std::size_t gap) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t rows = static_cast<std::size_t>(std::abs(height));
    const std::size_t dataStart = 14 + infoSize + gap;
    Bytes out(dataStart + stride * rows, 0);
    out[0] = 'B', out[1] = 'M';
    PutField(out, 2, static_cast<std::uint32_t>(out.size()), 4, false);
    PutField(out, 10, static_cast<std::uint32_t>(dataStart), 4, false);
    PutField(out, 14, infoSize, 4, false);
    PutField(out, 18, static_cast<std::uint32_t>(width), 4, false);
    PutField(out, 22, static_cast<std::uint32_t>(height), 4, false);
    out[26] = 1, out[28] = 24;
    for (std::size_t i = dataStart; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(i * 7);
    return out;
}

// Plain BMP rows are unpacked without SOIL, a block at a time; the pixels must be exactly SOIL's,
// across row paddings, both row orders, header kinds, a gap before the rows and rows that span
// several blocks.
TEST(BmpFiles, PlainRowsDecodeExactlyAsSoilDecodesThem) {
    struct Case {
        std::uint32_t InfoSize;
        int Width, Height;
        std::size_t Gap;
    };
    const Case cases[] = {{40, 1, 1, 0},   {40, 2, 3, 0}, {40, 3, -2, 0},    {40, 5, 4, 6},
                          {108, 4, -3, 0}, {56, 7, 2, 1}, {40, 1000, 70, 0}, {40, 70, -1000, 2}};
    for (const Case &c : cases) {
        const Bytes bytes = Bmp24(c.InfoSize, c.Width, c.Height, c.Gap);
        const std::string name = std::to_string(c.InfoSize) + "-byte header, " +
                                 std::to_string(c.Width) + " x " + std::to_string(c.Height);
        MemoryBytes source(bytes);
        const DecodedPicture ours = DecodeSource(source);
        int width = 0, height = 0, channels = 0;
        const std::unique_ptr<unsigned char, void (*)(void *)> soil(
            stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                                  &channels, STBI_rgb),
            stbi_image_free);
        ASSERT_TRUE(ours.Pixels) << name << ": " << ours.Failure;
        ASSERT_TRUE(soil) << name;
        ASSERT_EQ(ours.Width, width) << name;
        ASSERT_EQ(ours.Height, height) << name;
        EXPECT_EQ(ours.Channels, channels) << name;
        const std::size_t size = static_cast<std::size_t>(width) * height * 3;
        EXPECT_TRUE(std::equal(ours.Pixels.get(), ours.Pixels.get() + size, soil.get())) << name;
    }
}

}  // namespace
}  // namespace graphics
