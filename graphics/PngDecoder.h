// PNG files through libpng: every bit depth (1 to 16) and colour type (grey, grey with alpha,
// palette, RGB, RGBA), interlaced or not, decoded to three 8-bit channels, top row first. Sixteen
// bits are scaled to eight, grey is copied into red, green and blue, a palette is looked up, and
// alpha is dropped, as SOIL's decoder drops it. Internal header.
#pragma once

#include <cstdint>
#include <span>

#include "PictureDecoder.h"

namespace graphics {

DecodedPicture DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace graphics
