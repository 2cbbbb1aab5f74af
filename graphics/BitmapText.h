// Bitmap text: the 8 x 13 font behind PrintAt. Internal header.
#pragma once

#include <array>

namespace graphics {

// A glyph as glBitmap takes it: 13 rows, bottom row first (rows 0 and 1 hang below the baseline),
// the leftmost of the 8 pixels in bit 7.
using BitmapGlyphRows = std::array<unsigned char, 13>;

// The rows of a printable character (32 to 126).
const BitmapGlyphRows &BitmapGlyph(char character);

// Builds the display lists of the 8 x 13 font; needs the current context.
void BuildBitmapFont();

}  // namespace graphics
