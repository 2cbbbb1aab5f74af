// Textures and images in a real window: which decoder a path reaches, the texels and OpenGL state
// each loader leaves, image rows and colour keys, handle tables, and what DrawImage and
// DrawTexturedRectangle put on screen.
#include "Textures.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Graphics.h"
#include "GraphicsTestSupport.h"
#include "RegularFile.h"
#include "SgiFileWriter.h"

namespace {

using graphics::imageTable;
using graphics::textureTable;
using sgitest::Bytes;
using ::testing::ElementsAreArray;

namespace fs = std::filesystem;

struct Color {
    unsigned char Red, Green, Blue;
};

constexpr Color kMagenta{255, 0, 255};
constexpr Color kBlack{0, 0, 0};
constexpr Color kRed{200, 10, 20};
constexpr Color kGreen{10, 200, 30};
constexpr Color kBlue{20, 40, 210};
constexpr Color kWhite{250, 250, 250};

// A 24-bit BMP from rows given top row first (BMP itself stores them bottom up, padded to 4).
Bytes Bmp(int width, const std::vector<std::vector<Color>> &rowsTopFirst) {
    const int height = static_cast<int>(rowsTopFirst.size());
    const int stride = (width * 3 + 3) & ~3;
    Bytes out(54 + static_cast<std::size_t>(stride) * height, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    out[0] = 'B', out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    out[26] = 1, out[28] = 24;
    for (int row = 0; row < height; ++row) {
        std::size_t at = 54 + static_cast<std::size_t>(height - 1 - row) * stride;
        for (const Color &c : rowsTopFirst[row]) {
            out[at++] = c.Blue, out[at++] = c.Green, out[at++] = c.Red;
        }
    }
    return out;
}

// The 2 × 3 picture of the image tests, top row first.
const std::vector<std::vector<Color>> kPicture = {
    {kRed, kMagenta},
    {kGreen, kBlack},
    {kBlue, kWhite},
};

Bytes RgbaBottomRowFirst(const std::vector<std::vector<Color>> &rowsTopFirst,
                         const std::vector<unsigned char> &alphas) {
    Bytes out;
    std::size_t pixel = 0;
    for (auto row = rowsTopFirst.rbegin(); row != rowsTopFirst.rend(); ++row) {
        for (const Color &c : *row)
            out.insert(out.end(), {c.Red, c.Green, c.Blue, alphas[pixel++]});
    }
    return out;
}

GLint BoundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint LevelParameter(int level, GLenum parameter) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
}

GLint TextureParameter(GLenum parameter) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

// Level 0 of the bound texture as RGBA bytes, row t = 0 first.
Bytes BoundTexels() {
    Bytes texels(static_cast<std::size_t>(LevelParameter(0, GL_TEXTURE_WIDTH)) *
                 LevelParameter(0, GL_TEXTURE_HEIGHT) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

class TexturesTest : public GraphicsWindowTest {
  protected:
    void SetUp() override {
        GraphicsWindowTest::SetUp();
        Folder = fs::path(::testing::TempDir()) /
                 ("textures_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(Folder);
        // One window pixel per unit, origin at the bottom-left.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWindowWidth, 0, kWindowHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    void TearDown() override { fs::remove_all(Folder); }

    std::string Write(const std::string &name, const Bytes &bytes) {
        const fs::path path = Folder / name;
        fs::create_directories(path.parent_path());
        sgitest::WriteFile(path.string(), bytes);
        return path.string();
    }

    std::string PictureBmp() { return Write("picture.bmp", Bmp(2, kPicture)); }

    fs::path Folder;
};

// A 4 × 2 SGI picture: channel z, row y (bottom first), column x.
std::uint8_t SgiSample(int x, int y, int z) {
    return static_cast<std::uint8_t>(50 * z + 20 * y + x + 3);
}

Bytes SgiPicture(int components, bool runLength) {
    Bytes planes;
    for (int z = 0; z < components; ++z)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) planes.push_back(SgiSample(x, y, z));
    return sgitest::Encode(4, 2, components, planes, runLength);
}

// GLU's mipmap builder crashed without a context. Before the window and after it has closed,
// loads name texture 0 and text draws nothing; text loaded before drawing waits for the window.
TEST(NoContext, LoadsNameTextureZeroAndFontsDrawOnceTheWindowIsUp) {
    const fs::path folder = fs::path(::testing::TempDir()) / "textures_no_context";
    fs::create_directories(folder);
    const std::string sgi = (folder / "p.rgb").string(), bmp = (folder / "p.bmp").string();
    sgitest::WriteFile(sgi, SgiPicture(3, true));
    sgitest::WriteFile(bmp, Bmp(2, kPicture));
    const int font = LoadVectorFont(DEJAVU_SANS_FONT, 48);
    const auto useWithoutContext = [&] {
        const int image = _LoadImage(bmp.c_str());
        EXPECT_EQ(imageTable[image].Width, 2) << "images need no context";
        for (int texture :
             {LoadTexture(sgi.c_str()), LoadTexture(bmp.c_str()), CreateTextureFromImage(image)}) {
            EXPECT_EQ(textureTable[texture].GlName, 0u) << texture;
            SetTexture(texture);
            DrawTexturedRectangle(texture, 0, 0, 1, 1);
            DeleteTexture(texture);
        }
        DrawImage(image, 0, 0, 1, 1);
        DrawVectorFont(font, "T");
    };
    useWithoutContext();

    RecordMessageBoxes();
    ASSERT_EQ(InitGraph(320, 240, 0, "no context"), 1);
    glOrtho(0, 320, 0, 240, -1, 1);
    glTranslatef(100, 100, 0);
    SetColorRGBA(0, 0, 0, 255);
    Clear();
    SetColorRGBA(255, 255, 255, 255);
    DrawVectorFont(font, "T");
    const std::vector<Rgb> pixels = ReadRegion(0, 0, 320, 240);
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](const Rgb &p) { return p.Red > 0; }),
              100);
    EXPECT_NE(textureTable[LoadTexture(sgi.c_str())].GlName, 0u);

    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(static_cast<SDL_Window *>(GetGraphicsWindowHandle()));
    SDL_PushEvent(&close);
    ASSERT_EQ(UpdateScreen(), 0);
    useWithoutContext();
    fs::remove_all(folder);
}

TEST_F(TexturesTest, ExtensionChoosesTheDecoder) {
    const Bytes sgi = SgiPicture(3, true);
    struct Case {
        std::string Name;
        bool SgiPath;
    };
    const Case cases[] = {
        {"a.rgb", true},      {"b.RGB", true},         {"c.rgba", true},
        {"d.RGBA", true},     {"e.tar.rgb", true},     {"ends.in.dot.RGBA", true},
        {"f.Rgba", false},    {"g.sgi", false},        {"maps.old/tree", false},
        {"h.rgb.bak", false}, {"no_extension", false}, {"i.", false},
    };
    for (const Case &c : cases) {
        const int handle = LoadTexture(Write(c.Name, sgi).c_str());
        ASSERT_GE(handle, 0) << c.Name;
        const GLuint name = textureTable[handle].GlName;
        ASSERT_NE(name, 0u) << c.Name << ": either decoder gives a texture object";
        SetTexture(handle);
        // Only the SGI reader builds mipmaps; SOIL rejects SGI bytes, so its texture has no image.
        EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER),
                  c.SgiPath ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR)
            << c.Name;
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), c.SgiPath ? 4 : 0) << c.Name;
    }
}

TEST_F(TexturesTest, SgiChannelCountsChooseTheInternalFormat) {
    const GLint formats[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    for (int components = 1; components <= 4; ++components) {
        for (const bool runLength : {false, true}) {
            const std::string name = sgitest::CaseName(components, runLength);
            const int handle =
                LoadTexture(Write(name + ".rgba", SgiPicture(components, runLength)).c_str());
            ASSERT_EQ(BoundTexture(), static_cast<GLint>(textureTable[handle].GlName))
                << name << ": the load leaves its texture bound";
            EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), formats[components - 1])
                << name;
            EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR) << name;
            EXPECT_EQ(LevelParameter(2, GL_TEXTURE_WIDTH), 1) << name << ": full mipmap chain";
            // Bottom row of the file at t = 0; luminance read back as RGBA comes in red alone.
            Bytes expected;
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < 4; ++x) {
                    const auto s = [&](int z) { return SgiSample(x, y, z); };
                    const bool grey = components <= 2;
                    expected.insert(
                        expected.end(),
                        {s(0), grey ? std::uint8_t{0} : s(1), grey ? std::uint8_t{0} : s(2),
                         components % 2 ? std::uint8_t{255} : s(components - 1)});
                }
            }
            EXPECT_THAT(BoundTexels(), ElementsAreArray(expected)) << name;
        }
    }
}

TEST_F(TexturesTest, UnreadableSgiFilesGiveAHandleNamingTextureZero) {
    Bytes runPastRow = sgitest::RunLengthFile(4, 1, 1, {{0x85, 1, 2, 3, 4, 5, 0}});
    Bytes truncated = SgiPicture(4, true);
    truncated.resize(truncated.size() - 3);
    Bytes huge = SgiPicture(1, false);
    sgitest::PutBigEndian16(huge, 6, 65535);
    sgitest::PutBigEndian16(huge, 8, 65535);
    const std::pair<std::string, std::string> pathsAndReasons[] = {
        {(Folder / "missing.rgb").string(), "No such file or directory"},
        {Write("run_past_row.rgb", runPastRow),
         "damaged SGI picture (run writes past the end of its row)"},
        {Write("truncated.rgba", truncated),
         "damaged SGI picture (row data reaches past the end of the file)"},
        {Write("huge.RGB", huge), "damaged SGI picture (width or height zero or too large)"},
        {Write("empty.rgb", {}), "damaged SGI picture (truncated header)"},
    };
    GLint before = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &before);
    int expectedHandle = 0;
    for (const auto &[path, reason] : pathsAndReasons) {
        testing::internal::CaptureStderr();
        const int handle = LoadTexture(path.c_str());
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "cannot load picture " + path + ": " + reason + "\n");
        EXPECT_EQ(handle, expectedHandle++) << path;
        EXPECT_FALSE(textureTable[handle].Free) << path;
        EXPECT_EQ(textureTable[handle].GlName, 0u) << path;
    }
    EXPECT_EQ(BoundTexture(), before) << "no texture object was created or bound";
    SetTexture(0);
    EXPECT_EQ(BoundTexture(), 0);
}

TEST_F(TexturesTest, FifosAndFoldersFailAtOnceLikeMissingFiles) {
    // Opening a FIFO to read waits for a writer that never comes.
    const auto fifo = [&](const char *name) {
        const std::string path = (Folder / name).string();
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
        return path;
    };
    const auto folder = [&](const char *name) {
        fs::create_directories(Folder / name);
        return (Folder / name).string();
    };
    for (const std::string &path : {fifo("pipe.rgb"), folder("folder.rgba")}) {
        EXPECT_EQ(textureTable[LoadTexture(path.c_str())].GlName, 0u) << path;
    }
    for (const std::string &path : {fifo("pipe.bmp"), folder("folder.png")}) {
        LoadTexture(path.c_str());
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 0) << path;
        EXPECT_EQ(imageTable[_LoadImage(path.c_str())].Width, 0) << path;
    }
    for (const std::string &path : {fifo("pipe.ttf"), folder("folder.ttf")}) {
        testing::internal::CaptureStderr();
        EXPECT_GE(LoadVectorFont(path.c_str(), 16), 0) << path;
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "failed to open font file: " + path + "\n");
    }
}

TEST_F(TexturesTest, DecodedFilesUploadLevelZeroTopRowFirst) {
    const int handle = LoadTexture(PictureBmp().c_str());

    ASSERT_EQ(BoundTexture(), static_cast<GLint>(textureTable[handle].GlName));
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 3);
    EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 0) << "no mipmaps";
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    const Bytes topFirst = {200, 10, 20, 255, 255, 0,  255, 255, 10,  200, 30,  255,
                            0,   0,  0,  255, 20,  40, 210, 255, 250, 250, 250, 255};
    EXPECT_THAT(BoundTexels(), ElementsAreArray(topFirst));
}

TEST_F(TexturesTest, UndecodableFileGivesATextureObjectWithoutImage) {
    for (const std::string &path :
         {Write("garbage.png", Bytes(64, 0x5A)), (Folder / "missing.png").string()}) {
        const int handle = LoadTexture(path.c_str());
        const GLuint name = textureTable[handle].GlName;
        ASSERT_NE(name, 0u) << path;
        EXPECT_TRUE(glIsTexture(name)) << path;
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 0) << path;
    }
    EXPECT_EQ(LoadTexture(nullptr), 2) << "a null path is a file that cannot be decoded";
}

TEST_F(TexturesTest, LoadImageStoresRowsBottomFirstWithOpaqueAlpha) {
    const int handle = _LoadImage(PictureBmp().c_str());
    ASSERT_EQ(handle, 0);
    const graphics::ImageRecord &image = imageTable[handle];

    EXPECT_FALSE(image.Free);
    EXPECT_EQ(image.Width, 2);
    EXPECT_EQ(image.Height, 3);
    EXPECT_EQ(image.Channels, 3);
    const Bytes rgba = RgbaBottomRowFirst(kPicture, std::vector<unsigned char>(6, 255));
    EXPECT_THAT(image.Rgba, ElementsAreArray(rgba));
    Bytes rgb;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        rgb.insert(rgb.end(), {rgba[i], rgba[i + 1], rgba[i + 2]});
    EXPECT_THAT(Bytes(image.Pixels.get(), image.Pixels.get() + 18), ElementsAreArray(rgb));
}

TEST_F(TexturesTest, UndecodableImageIsEmptyAndHarmless) {
    const int handle = _LoadImage(Write("garbage.jpg", Bytes(40, 1)).c_str());
    ASSERT_EQ(handle, 0);
    const graphics::ImageRecord &image = imageTable[handle];
    EXPECT_FALSE(image.Free);
    EXPECT_EQ(image.Width, 0);
    EXPECT_EQ(image.Height, 0);
    EXPECT_FALSE(image.Pixels);
    EXPECT_TRUE(image.Rgba.empty());

    SetImageColorKey(handle, 0, 0, 0);
    DrawImage(handle, 10, 10, 1, 1);
    const int texture = CreateTextureFromImage(handle);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(BoundTexture(), static_cast<GLint>(textureTable[texture].GlName));
    EXPECT_EQ(_LoadImage(nullptr), 1);
}

TEST_F(TexturesTest, ColorKeyReplacesTheEarlierKeyAndUsesLowEightBits) {
    const int handle = _LoadImage(PictureBmp().c_str());
    const auto alphas = [&] {
        std::vector<unsigned char> out;
        for (std::size_t i = 3; i < imageTable[handle].Rgba.size(); i += 4)
            out.push_back(imageTable[handle].Rgba[i]);
        return out;
    };
    // Pixels bottom row first: blue, white, green, black, red, magenta.
    SetImageColorKey(handle, 255, 0, 255);
    EXPECT_THAT(alphas(), ElementsAreArray({255, 255, 255, 255, 255, 0}));
    SetImageColorKey(handle, 0, 0, 0);
    EXPECT_THAT(alphas(), ElementsAreArray({255, 255, 255, 0, 255, 255}));
    SetImageColorKey(handle, 511, 256, -1);
    EXPECT_THAT(alphas(), ElementsAreArray({255, 255, 255, 255, 255, 0}));
    SetImageColorKey(handle, 256, 256, 256);
    EXPECT_THAT(alphas(), ElementsAreArray({255, 255, 255, 0, 255, 255}));
    SetImageColorKey(handle, 255, 0, 254);
    EXPECT_THAT(alphas(), ElementsAreArray({255, 255, 255, 255, 255, 255})) << "no tolerance";
}

TEST_F(TexturesTest, TextureFromImageIsASnapshotBottomRowAtTZero) {
    const int image = _LoadImage(PictureBmp().c_str());
    SetImageColorKey(image, 255, 0, 255);

    const int texture = CreateTextureFromImage(image);
    SetImageColorKey(image, 0, 0, 0);

    ASSERT_EQ(BoundTexture(), static_cast<GLint>(textureTable[texture].GlName));
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_THAT(BoundTexels(),
                ElementsAreArray(RgbaBottomRowFirst(kPicture, {255, 255, 255, 255, 255, 0})));
}

TEST_F(TexturesTest, DeletedSlotsAreReusedLowestFirst) {
    const std::string bmp = PictureBmp();
    for (int expected = 0; expected < 3; ++expected) EXPECT_EQ(LoadTexture(bmp.c_str()), expected);
    const GLuint deletedName = textureTable[1].GlName;
    DeleteTexture(1);
    EXPECT_TRUE(textureTable[1].Free);
    EXPECT_EQ(textureTable[1].GlName, graphics::kNoTextureName);
    EXPECT_FALSE(glIsTexture(deletedName));
    EXPECT_EQ(LoadTexture(bmp.c_str()), 1);
    EXPECT_EQ(LoadTexture(bmp.c_str()), 3);

    for (int expected = 0; expected < 3; ++expected) EXPECT_EQ(_LoadImage(bmp.c_str()), expected);
    DeleteImage(0);
    const graphics::ImageRecord &deleted = imageTable[0];
    EXPECT_TRUE(deleted.Free);
    EXPECT_EQ(deleted.Width, 0);
    EXPECT_FALSE(deleted.Pixels);
    EXPECT_TRUE(deleted.Rgba.empty());
    EXPECT_EQ(_LoadImage(bmp.c_str()), 0);
    EXPECT_EQ(_LoadImage(bmp.c_str()), 3);
}

TEST_F(TexturesTest, FullTablesGiveMinusOne) {
    const std::string missing = (Folder / "missing.rgb").string();
    for (int i = 0; i < graphics::kTextureTableSize; ++i)
        ASSERT_EQ(LoadTexture(missing.c_str()), i);
    EXPECT_EQ(LoadTexture(missing.c_str()), -1);
    const std::string noImage = (Folder / "missing.png").string();
    for (int i = 0; i < graphics::kImageTableSize; ++i) ASSERT_EQ(_LoadImage(noImage.c_str()), i);
    EXPECT_EQ(_LoadImage(noImage.c_str()), -1);
    EXPECT_EQ(CreateTextureFromImage(0), -1);
    DeleteTexture(8191);
    EXPECT_EQ(CreateTextureFromImage(0), 8191);
}

TEST_F(TexturesTest, HandlesOutsideTheTablesDoNothing) {
    const int image = _LoadImage(PictureBmp().c_str());
    const int texture = CreateTextureFromImage(image);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    for (const int handle : {-1, INT_MIN, 8192, INT_MAX}) {
        EXPECT_EQ(CreateTextureFromImage(handle), -1) << handle;
        SetTexture(handle);
        DrawTexturedRectangle(handle, 0, 0, 50, 50);
        DeleteTexture(handle);
        SetImageColorKey(handle, 0, 0, 0);
        DrawImage(handle, 10, 10, 1, 1);
        DeleteImage(handle);
    }
    EXPECT_EQ(BoundTexture(), static_cast<GLint>(textureTable[texture].GlName));
    EXPECT_EQ(ReadPixel(20, 20), (Rgb{0, 0, 0})) << "nothing was drawn";
    EXPECT_EQ(CreateTextureFromImage(image), 1) << "no slot was taken";
}

TEST_F(TexturesTest, DrawImagePutsTheBottomLeftPixelAtTheRasterPosition) {
    const int handle = _LoadImage(PictureBmp().c_str());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetImageColorKey(handle, 255, 0, 255);

    DrawImage(handle, 10, 20, 1, 1);
    DrawImage(handle, 100, 100, 3, 2);

    const auto rgb = [](Color c) { return Rgb{c.Red, c.Green, c.Blue}; };
    EXPECT_EQ(ReadPixel(10, 20), rgb(kBlue)) << "bottom-left";
    EXPECT_EQ(ReadPixel(11, 20), rgb(kWhite));
    EXPECT_EQ(ReadPixel(10, 22), rgb(kRed)) << "top-left";
    EXPECT_EQ(ReadPixel(11, 22), (Rgb{0, 0, 0})) << "the keyed magenta pixel is dropped";
    EXPECT_EQ(ReadPixel(12, 20), (Rgb{0, 0, 0})) << "nothing right of the picture";
    // Zoomed 3 × 2: the green pixel (column 0, row 1) covers x 100..102, y 102..103.
    EXPECT_EQ(ReadPixel(102, 103), rgb(kGreen));
    EXPECT_EQ(ReadPixel(103, 103), rgb(kBlack));
    GLfloat zoom[2] = {0, 0};
    glGetFloatv(GL_ZOOM_X, &zoom[0]);
    glGetFloatv(GL_ZOOM_Y, &zoom[1]);
    EXPECT_EQ(zoom[0], 3.0f);
    EXPECT_EQ(zoom[1], 2.0f) << "the zoom stays set";

    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    DrawImage(handle, 10, 20, 1, 1);
    EXPECT_EQ(ReadPixel(11, 22), rgb(kMagenta)) << "without alpha test and blend keys show";

    DeleteImage(handle);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawImage(handle, 10, 20, 1, 1);
    EXPECT_EQ(ReadPixel(10, 20), (Rgb{0, 0, 0})) << "a deleted image draws nothing";
}

TEST_F(TexturesTest, TexturedRectangleIsUprightTintedAndOutlinedInOutlineMode) {
    const int texture = CreateTextureFromImage(_LoadImage(PictureBmp().c_str()));
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    EnableTexturing();

    SetFilledMode();
    glColor4f(1, 1, 1, 1);
    DrawTexturedRectangle(texture, 0, 0, 60, 90);
    glColor4f(1, 0, 0, 1);
    DrawTexturedRectangle(texture, 100, 0, 60, 90);
    SetOutlineMode();
    glColor4f(1, 1, 1, 1);
    DrawTexturedRectangle(texture, 200.5f, 20.5f, 60, 90);

    EXPECT_EQ(BoundTexture(), static_cast<GLint>(textureTable[texture].GlName));
    // Each texel covers 30 × 30 pixels; the picture's bottom row (blue, white) is at the bottom.
    EXPECT_EQ(ReadPixel(15, 15), (Rgb{20, 40, 210}));
    EXPECT_EQ(ReadPixel(45, 75), (Rgb{255, 0, 255}));
    EXPECT_EQ(ReadPixel(145, 15), (Rgb{250, 0, 0})) << "white tinted red";
    EXPECT_EQ(ReadPixel(200, 40), (Rgb{20, 40, 210})) << "the left edge, textured";
    EXPECT_EQ(ReadPixel(230, 65), (Rgb{0, 0, 0})) << "outline mode leaves the inside empty";
}

// A failed load still gives a handle, so the reason goes to standard error, one line naming the
// file as the program gave it; the same line is not repeated, and control characters in a name
// are escaped.
TEST(LoadFailures, EachFailedLoadWritesOneLineWithTheFileAndTheReason) {
    const fs::path folder = fs::path(::testing::TempDir()) / "load_failures";
    fs::create_directories(folder / "folder.png");
    const auto file = [&](const char *name, const Bytes &bytes) {
        sgitest::WriteFile((folder / name).string(), bytes);
        return (folder / name).string();
    };
    Bytes hugeBmp = Bmp(2, kPicture);
    hugeBmp[18] = 0xFF, hugeBmp[19] = 0xFF;
    const std::string folderPath = (folder / "folder.png").string();
    const std::string garbage = file("garbage.png", Bytes(64, 0x5A));
    const std::string huge = file("huge.bmp", hugeBmp);
    const std::string controls = (folder / "two\nlines\x1B[31m.png").string();
    const std::string picture = file("picture.bmp", Bmp(2, kPicture));
    const std::string cwd = fs::current_path().string();
    struct Case {
        std::string Path;
        int (*Load)(const char *);
        std::string Line;  // empty when nothing is written
    };
    const Case cases[] = {
        {"no_such_ball.png", _LoadImage,
         "no_such_ball.png: No such file or directory in " + cwd +
             ", the folder the program runs in"},
        {folderPath, _LoadImage, folderPath + ": it is a folder, not a file"},
        {garbage, _LoadImage,
         garbage + ": not a kind of picture the library reads (PNG, JPEG, BMP, TGA, PSD, HDR or "
                   "DDS); save it as PNG"},
        {huge, _LoadImage, huge + ": its header gives a width or height of 0 or over 16384 pixels"},
        {controls, _LoadImage,
         (folder / "two\\x0Alines\\x1B[31m.png").string() + ": No such file or directory"},
        {garbage, _LoadImage, ""},
        {picture, _LoadImage, ""},
        {picture, LoadTexture,
         picture + ": there is no open graphics window to hold the texture; load textures after "
                   "InitGraph"},
    };
    for (const Case &c : cases) {
        testing::internal::CaptureStderr();
        c.Load(c.Path.c_str());
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  c.Line.empty() ? "" : "cannot load picture " + c.Line + "\n")
            << c.Path;
    }
    fs::remove_all(folder);
}

// The classic of a load inside the frame loop: the 20th handle from one path that is still in
// use brings one warning, for each kind of loader; deleted handles no longer count.
TEST(RepeatedLoads, TheTwentiethLiveHandleFromOnePathWarnsOnce) {
    const fs::path folder = fs::path(::testing::TempDir()) / "repeated_loads";
    fs::create_directories(folder);
    const std::string bmp = (folder / "ball.bmp").string();
    sgitest::WriteFile(bmp, Bmp(2, kPicture));
    struct Loader {
        const char *Things;
        std::string Path;
        int (*Load)(const char *);
        void (*Remove)(int);
    };
    const Loader loaders[] = {
        {"textures", bmp, LoadTexture, DeleteTexture},
        {"images", bmp, _LoadImage, DeleteImage},
        {"fonts", DEJAVU_SANS_FONT, [](const char *path) { return LoadVectorFont(path, 0); },
         DeleteVectorFont},
    };
    const auto warnings = [](const std::string &written) {
        std::size_t count = 0;
        for (std::size_t at = written.find("again and again"); at != std::string::npos;
             at = written.find("again and again", at + 1)) {
            ++count;
        }
        return count;
    };
    for (const Loader &loader : loaders) {
        const char *path = loader.Path.c_str();
        testing::internal::CaptureStderr();
        for (int i = 0; i < 19; ++i) loader.Load(path);
        loader.Remove(3);
        loader.Load(path);
        EXPECT_EQ(warnings(testing::internal::GetCapturedStderr()), 0u) << loader.Things;

        testing::internal::CaptureStderr();
        loader.Load(path);
        const std::string written = testing::internal::GetCapturedStderr();
        EXPECT_THAT(written,
                    ::testing::HasSubstr(
                        "loading \"" + loader.Path + "\" again and again: 20 " + loader.Things +
                        " from it are in use. Load it once, before the frame loop, and "
                        "use that handle in every frame.\n"));
        testing::internal::CaptureStderr();
        for (int i = 0; i < 30; ++i) loader.Load(path);
        EXPECT_EQ(warnings(written + testing::internal::GetCapturedStderr()), 1u) << loader.Things;
    }
    fs::remove_all(folder);
}

// A file that another program keeps appending to is read to the size it had when it was opened.
TEST(RegularFileReads, StopAtTheSizeTheFileHadWhenOpened) {
    const std::string path = (fs::path(::testing::TempDir()) / "growing_file").string();
    sgitest::WriteFile(path, Bytes(100, 1));
    std::optional<graphics::RegularFile> file = graphics::RegularFile::Open(path.c_str());
    ASSERT_TRUE(file);
    std::FILE *writer = std::fopen(path.c_str(), "ab");
    ASSERT_NE(writer, nullptr);
    const Bytes more(50, 2);
    std::fwrite(more.data(), 1, more.size(), writer);
    std::fclose(writer);
    EXPECT_EQ(fs::file_size(path), 150u);

    Bytes buffer(200, 0);
    EXPECT_EQ(file->Size(), 100u);
    EXPECT_EQ(file->ReadUpTo(0, buffer), 100u);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 2), 0) << "nothing past the first size";
    EXPECT_EQ(file->ReadUpTo(90, buffer), 10u);
    EXPECT_EQ(file->ReadUpTo(100, buffer), 0u);
    EXPECT_FALSE(file->ReadAt(60, std::span(buffer).first(41)));
    EXPECT_TRUE(file->ReadAt(60, std::span(buffer).first(40)));
    fs::remove(path);
}

}  // namespace
