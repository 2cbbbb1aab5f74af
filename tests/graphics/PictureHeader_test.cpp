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
    return ReadPictureHeader(source).Fault;
}

void PutField(Bytes &out, std::size_t at, std::uint32_t value, int bytes, bool bigEndian) {
    for (int i = 0; i < bytes; ++i) {
        out[at + (bigEndian ? bytes - 1 - i : i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

struct FormatCase {
    const char *file;
    PictureFormat format;
    std::size_t widthAt, heightAt;  // where this file keeps its size; HDR keeps it as text
    int fieldBytes;
    bool bigEndian;
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
    if (c.format == PictureFormat::Hdr) {
        const std::string_view old = "-Y 2 +X 3";
        const auto at = std::search(file.begin(), file.end(), old.begin(), old.end());
        const std::string size = "-Y " + std::to_string(height) + " +X " + std::to_string(width);
        file.insert(file.erase(at, at + static_cast<std::ptrdiff_t>(old.size())), size.begin(),
                    size.end());
        return file;
    }
    PutField(file, c.widthAt, width, c.fieldBytes, c.bigEndian);
    PutField(file, c.heightAt, height, c.fieldBytes, c.bigEndian);
    return file;
}

class PictureFiles : public ::testing::Test {
  protected:
    // The image _LoadImage makes of the bytes.
    const ImageRecord &Load(const Bytes &bytes) {
        const std::string path = (fs::path(::testing::TempDir()) / "picture_header").string();
        sgitest::WriteFile(path, bytes);
        return imageTable[_LoadImage(path.c_str())];
    }
};

TEST_F(PictureFiles, EachFormatIsSizedAsDecodedAndRefusedOutOfRangeOrShortOfData) {
    for (const FormatCase &c : kFormats) {
        const Bytes bytes = ReadPicture(c.file);
        ASSERT_FALSE(bytes.empty()) << c.file;
        MemoryBytes source(bytes);
        const PictureHeader header = ReadPictureHeader(source);
        EXPECT_EQ(header.Fault, PictureFault::None) << c.file;
        EXPECT_EQ(header.Format, c.format) << c.file;
        EXPECT_EQ(header.Width, 3u) << c.file;
        EXPECT_EQ(header.Height, 2u) << c.file;
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
            const Bytes claiming = Claiming(bytes, c, size.width, size.height);
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
        EXPECT_EQ(FaultOf(c.bytes), c.fault) << c.name;
    }
}

}  // namespace
}  // namespace graphics
