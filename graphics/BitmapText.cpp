// Bitmap text: a fixed 8 x 13 font for printable ASCII, compiled into display lists once per
// start, drawn at a raster position that goes through the current matrices. Each glyph moves the
// raster position 10 window pixels right whatever the transforms.
#include "BitmapText.h"

#include <GL/gl.h>

#include <array>
#include <cstring>
#include <string_view>

#include "Graphics.h"
#include "GraphicsState.h"

namespace {

constexpr int glyphWidth = 8;
constexpr int glyphHeight = std::tuple_size_v<BitmapGlyphRows>;
constexpr int firstGlyphCode = 32;
constexpr int glyphCount = 95;
constexpr int listCount = 128;
constexpr float descent = 2.0f;
constexpr float advance = 10.0f;

#include "BitmapGlyphs.inc"
static_assert(std::size(glyphPictures) == glyphCount, "one picture per printable character");

constexpr bool PicturesAreWellFormed() {
    for (std::string_view picture : glyphPictures) {
        if (picture.size() != glyphWidth * glyphHeight) return false;
        if (picture.find_first_not_of(".#") != std::string_view::npos) return false;
    }
    return true;
}
static_assert(PicturesAreWellFormed(), "every glyph is 13 rows of 8 '.' or '#'");

// Turns a picture into glBitmap rows: bottom row first, leftmost pixel in bit 7.
constexpr BitmapGlyphRows ToBitmapRows(std::string_view picture) {
    BitmapGlyphRows rows{};
    for (int line = 0; line < glyphHeight; ++line) {
        unsigned char bits = 0;
        for (int column = 0; column < glyphWidth; ++column) {
            if (picture[line * glyphWidth + column] == '#') bits |= 0x80 >> column;
        }
        rows[glyphHeight - 1 - line] = bits;
    }
    return rows;
}

constexpr std::array<BitmapGlyphRows, glyphCount> BuildGlyphTable() {
    std::array<BitmapGlyphRows, glyphCount> table{};
    for (int index = 0; index < glyphCount; ++index) {
        table[index] = ToBitmapRows(glyphPictures[index]);
    }
    return table;
}

constexpr std::array<BitmapGlyphRows, glyphCount> glyphTable = BuildGlyphTable();

}  // namespace

const BitmapGlyphRows &BitmapGlyph(char character) {
    return glyphTable[character - firstGlyphCode];
}

void BuildBitmapFont() {
    graphicsState.BitmapFontBase = glGenLists(listCount);
    for (int index = 0; index < glyphCount; ++index) {
        glNewList(graphicsState.BitmapFontBase + firstGlyphCode + index, GL_COMPILE);
        glBitmap(glyphWidth, glyphHeight, 0.0f, descent, advance, 0.0f, glyphTable[index].data());
        glEndList();
    }
}

extern "C" void PrintAt(float x, float y, const char *text) {
    if (text == nullptr) return;
    glRasterPos2f(x, y);
    glPushAttrib(GL_LIST_BIT);
    glListBase(graphicsState.BitmapFontBase);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}
