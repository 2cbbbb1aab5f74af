// What the library reads of a picture file before a decoder may see it: the format, from its
// signature, and the picture's size, from its header. SOIL's decoder trusts headers: a file of a
// few bytes that claims 65535 × 65535 pixels costs it gigabytes and half a minute, or crashes it.
// So a picture is refused when a side is 0 or above the limit, when the file is shorter than the
// least its pixels can be packed into, and when its format cannot be sized at all. Platform-free.
// Internal header.
#pragma once

#include <cstdint>

#include "ByteSource.h"

namespace graphics {

// Decoded pictures are at most this many pixels wide and high.
inline constexpr std::uint32_t kMaxPictureSide = 16384;

// The formats of SOIL's decoder, in the order in which it tries them.
enum class PictureFormat { Jpeg, Png, Bmp, Psd, Dds, Hdr, Tga };

enum class PictureFault {
    None,
    UnknownFormat,    // no format the decoder reads, or a variant whose size cannot be read
    TruncatedHeader,  // the file ends before the fields that give the size
    BadSize,          // a side of 0 or above kMaxPictureSide
    TruncatedData,    // the file is shorter than the least its pixels take
};

struct PictureHeader {
    PictureFault Fault = PictureFault::None;
    PictureFormat Format = PictureFormat::Tga;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;  // as decoded: a cube map's six faces stacked
    std::uint64_t LeastFileSize = 0;

    bool Ok() const { return Fault == PictureFault::None; }
};

PictureHeader ReadPictureHeader(ByteSource &file);

}  // namespace graphics
