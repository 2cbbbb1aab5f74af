// Bitmap text: a fixed 8 x 13 font for printable ASCII, compiled into display lists once per
// start, drawn at a raster position that goes through the current matrices. Each glyph moves the
// raster position 10 window pixels right whatever the transforms.
#include "BitmapText.h"

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "Graphics.h"
#include "GraphicsState.h"

namespace graphics {
namespace {

constexpr std::size_t kGlyphWidth = 8;
constexpr std::size_t kGlyphHeight = std::tuple_size_v<BitmapGlyphRows>;
constexpr unsigned kFirstGlyphCode = 32;
constexpr unsigned kGlyphCount = 95;
constexpr GLsizei kListCount = 128;
constexpr float kDescent = 2.0f;
constexpr float kAdvance = 10.0f;

#include "BitmapGlyphs.inc"
static_assert(std::size(kGlyphPictures) == kGlyphCount, "one picture per printable character");

constexpr bool PicturesAreWellFormed() {
    for (std::string_view picture : kGlyphPictures) {
        if (picture.size() != kGlyphWidth * kGlyphHeight) return false;
        if (picture.find_first_not_of(".#") != std::string_view::npos) return false;
    }
    return true;
}
static_assert(PicturesAreWellFormed(), "every glyph is 13 rows of 8 '.' or '#'");

// Turns a picture into glBitmap rows: bottom row first, leftmost pixel in bit 7.
constexpr BitmapGlyphRows ToBitmapRows(std::string_view picture) {
    BitmapGlyphRows rows{};
    for (std::size_t line = 0; line < kGlyphHeight; ++line) {
        unsigned char bits = 0;
        for (std::size_t column = 0; column < kGlyphWidth; ++column) {
            if (picture[line * kGlyphWidth + column] == '#') {
                bits = static_cast<unsigned char>(bits | 0x80u >> column);
            }
        }
        rows[kGlyphHeight - 1 - line] = bits;
    }
    return rows;
}

constexpr std::array<BitmapGlyphRows, kGlyphCount> BuildGlyphTable() {
    std::array<BitmapGlyphRows, kGlyphCount> table{};
    for (std::size_t index = 0; index < kGlyphCount; ++index) {
        table[index] = ToBitmapRows(kGlyphPictures[index]);
    }
    return table;
}

constexpr std::array<BitmapGlyphRows, kGlyphCount> kGlyphTable = BuildGlyphTable();

}  // namespace

const BitmapGlyphRows &BitmapGlyph(char character) {
    return kGlyphTable[static_cast<unsigned char>(character) - kFirstGlyphCode];
}

void BuildBitmapFont() {
    graphicsState.BitmapFontBase = glGenLists(kListCount);
    for (GLuint index = 0; index < kGlyphCount; ++index) {
        glNewList(graphicsState.BitmapFontBase + kFirstGlyphCode + index, GL_COMPILE);
        glBitmap(kGlyphWidth, kGlyphHeight, 0.0f, kDescent, kAdvance, 0.0f,
                 kGlyphTable[index].data());
        glEndList();
    }
}

}  // namespace graphics

using graphics::graphicsState;

extern "C" void PrintAt(float x, float y, const char *text) {
    if (text == nullptr) return;
    glRasterPos2f(x, y);
    glPushAttrib(GL_LIST_BIT);
    glListBase(graphicsState.BitmapFontBase);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}
