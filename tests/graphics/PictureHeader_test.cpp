// Sizing picture files before SOIL's decoder sees them: a 3 × 2 picture of every format it reads
// is sized as the decoder decodes it, and the same file claiming another size is refused when a
// side is out of range or the file cannot hold the pixels.
#include "PictureHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "Graphics.h"
#include "SgiFileWriter.h"
#include "Textures.h"

namespace graphics {

void PrintTo(PictureFault fault, std::ostream *out) {
    constexpr const char *names[] = {"None", "UnknownFormat", "TruncatedHeader", "BadSize",
                                     "TruncatedData"};
    *out << names[static_cast<int>(fault)];
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
    return ReadPictureHeader(source).fault;
}

void PutLittleEndian(Bytes &out, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::size_t Find(const Bytes &bytes, std::string_view what) {
    return std::search(bytes.begin(), bytes.end(), what.begin(), what.end(),
                       [](std::uint8_t byte, char c) { return byte == std::uint8_t(c); }) -
           bytes.begin();
}

// Rewrites the size fields of a picture file.
using Claim = void (*)(Bytes &file, std::uint32_t width, std::uint32_t height);

struct FormatCase {
    const char *file;
    PictureFormat format;
    Claim claim;
};

const FormatCase kFormats[] = {
    {"picture.jpg", PictureFormat::Jpeg,
     [](Bytes &f, std::uint32_t w, std::uint32_t h) {
         const std::size_t frame = Find(f, "\xFF\xC0");
         sgitest::PutBigEndian16(f, frame + 5, h);
         sgitest::PutBigEndian16(f, frame + 7, w);
     }},
    {"picture.png", PictureFormat::Png,
     [](Bytes &f, std::uint32_t w, std::uint32_t h) {
         sgitest::PutBigEndian32(f, 16, w);
         sgitest::PutBigEndian32(f, 20, h);
     }},
    {"picture.bmp", PictureFormat::Bmp,
     [](Bytes &f, std::uint32_t w, std::uint32_t h) {
         PutLittleEndian(f, 18, w, 4);
         PutLittleEndian(f, 22, h, 4);
     }},
    {"picture.psd", PictureFormat::Psd,
     [](Bytes &f, std::uint32_t w, std::uint32_t h) {
         sgitest::PutBigEndian32(f, 14, h);
         sgitest::PutBigEndian32(f, 18, w);
     }},
    {"picture.dds", PictureFormat::Dds,
     [](Bytes &f, std::uint32_t w, std::uint32_t h) {
         PutLittleEndian(f, 12, h, 4);
         PutLittleEndian(f, 16, w, 4);
     }},
    {"picture.hdr", PictureFormat::Hdr,
     [](Bytes &f, std::uint32_t w, std::uint32_t h) {
         const std::size_t at = Find(f, "-Y 2 +X 3");
         const std::string size = "-Y " + std::to_string(h) + " +X " + std::to_string(w);
         f.erase(f.begin() + at, f.begin() + at + 9);
         f.insert(f.begin() + at, size.begin(), size.end());
     }},
    {"picture.tga", PictureFormat::Tga,
     [](Bytes &f, std::uint32_t w, std::uint32_t h) {
         PutLittleEndian(f, 12, w, 2);
         PutLittleEndian(f, 14, h, 2);
     }},
};

class PictureFiles : public ::testing::Test {
  protected:
    // The image _LoadImage makes of the bytes.
    const ImageRecord &Load(const Bytes &bytes) {
        const std::string path = (fs::path(::testing::TempDir()) / "picture_header").string();
        sgitest::WriteFile(path, bytes);
        return ImageTable[_LoadImage(path.c_str())];
    }
};

TEST_F(PictureFiles, EachFormatIsSizedAsDecodedAndRefusedOutOfRangeOrShortOfData) {
    for (const FormatCase &c : kFormats) {
        const Bytes bytes = ReadPicture(c.file);
        ASSERT_FALSE(bytes.empty()) << c.file;
        MemoryBytes source(bytes);
        const PictureHeader header = ReadPictureHeader(source);
        EXPECT_EQ(header.fault, PictureFault::None) << c.file;
        EXPECT_EQ(header.format, c.format) << c.file;
        EXPECT_EQ(header.width, 3u) << c.file;
        EXPECT_EQ(header.height, 2u) << c.file;
        const ImageRecord &decoded = Load(bytes);
        EXPECT_EQ(decoded.Width, 3) << c.file << ": the decoder reads the file";
        EXPECT_EQ(decoded.Height, 2) << c.file;

        struct Size {
            std::uint32_t width, height;
            PictureFault fault;
        };
        for (const Size &size :
             {Size{16385, 2, PictureFault::BadSize}, Size{3, 16385, PictureFault::BadSize},
              Size{0, 2, PictureFault::BadSize}, Size{4096, 4096, PictureFault::TruncatedData}}) {
            Bytes claiming = bytes;
            c.claim(claiming, size.width, size.height);
            EXPECT_EQ(FaultOf(claiming), size.fault)
                << c.file << " claiming " << size.width << " x " << size.height;
            EXPECT_EQ(Load(claiming).Width, 0) << c.file << ": refused before decoding";
        }
        const Bytes cut(bytes.begin(), bytes.begin() + 10);
        EXPECT_NE(FaultOf(cut), PictureFault::None) << c.file << " cut";
    }
}

TEST(PictureHeader, FilesWhoseSizeCannotBeReadAreRefused) {
    const auto text = [](std::string_view s) { return Bytes(s.begin(), s.end()); };
    struct Case {
        const char *name;
        Bytes bytes;
        PictureFault fault;
    };
    Bytes bmpOfUnknownKind = ReadPicture("picture.bmp");
    PutLittleEndian(bmpOfUnknownKind, 14, 64, 4);
    Bytes dxt9 = ReadPicture("picture.dds");
    PutLittleEndian(dxt9, 80, 0x4, 4);
    dxt9[84] = 'D', dxt9[85] = 'X', dxt9[86] = 'T', dxt9[87] = '9';
    // Six faces of 3000 × 3000 stack to 18,000 rows; a plain 3000 × 3000 is merely short of data.
    Bytes cubeMap = ReadPicture("picture.dds");
    PutLittleEndian(cubeMap, 12, 3000, 4);
    PutLittleEndian(cubeMap, 16, 3000, 4);
    Bytes square = cubeMap;
    PutLittleEndian(cubeMap, 112, 0x200, 4);
    // Filtered RGBA rows of 16384 × 16384 come to 2^30 bytes and a row more: the decoder's
    // buffer would overflow.
    Bytes rgbaPng = ReadPicture("picture.png");
    rgbaPng[25] = 6;
    sgitest::PutBigEndian32(rgbaPng, 16, 16384);
    sgitest::PutBigEndian32(rgbaPng, 20, 16383);
    Bytes hugeRgbaPng = rgbaPng;
    sgitest::PutBigEndian32(hugeRgbaPng, 20, 16384);
    const Case cases[] = {
        {"empty", {}, PictureFault::UnknownFormat},
        {"text", text("not a picture at all"), PictureFault::UnknownFormat},
        {"BMP of an unknown kind", bmpOfUnknownKind, PictureFault::UnknownFormat},
        {"DXT9", dxt9, PictureFault::UnknownFormat},
        {"cube map", cubeMap, PictureFault::BadSize},
        {"RGBA PNG of 16384 x 16383", rgbaPng, PictureFault::TruncatedData},
        {"RGBA PNG of 16384 x 16384", hugeRgbaPng, PictureFault::BadSize},
        {"square", square, PictureFault::TruncatedData},
        {"JPEG cut after its start", text("\xFF\xD8"), PictureFault::TruncatedHeader},
        {"JPEG scan before a frame", text("\xFF\xD8\xFF\xDA"), PictureFault::UnknownFormat},
        {"JPEG junk between segments", text("\xFF\xD8\x12\x34"), PictureFault::UnknownFormat},
        {"HDR without its empty line", text("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n-Y 2 +X 3\n"),
         PictureFault::TruncatedHeader},
        {"HDR stored bottom up", text("#?RADIANCE\n\n+Y 2 +X 3\n"), PictureFault::UnknownFormat},
        {"HDR with a signed size", text("#?RADIANCE\n\n-Y -2 +X 3\n"), PictureFault::UnknownFormat},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FaultOf(c.bytes), c.fault) << c.name;
    }
}

}  // namespace
}  // namespace graphics
