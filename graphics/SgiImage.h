// The library's reader of SGI image files, behind LoadTexture's "rgb"/"rgba" path. A file is a
// 512-byte header (big-endian 16-bit fields at its start) followed by planar channel data, one
// row after the other, bottom row first: either verbatim, or run-length encoded rows found
// through two tables (row offsets, then compressed row lengths) at byte 512.
//
// Everything read from the file is checked before it is used: a malformed or truncated file is a
// failed read with a reason, never an access outside the file or the buffers. Internal header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ByteSource.h"

namespace graphics {

// A decoded picture: width × height pixels of R, G, B, A bytes, bottom row first.
struct SgiImage {
    int Width = 0;
    int Height = 0;
    int Components = 0;  // the file's own channel count (z size), 0 to 65,535
    std::vector<std::uint8_t> Rgba;
};

// Why a read failed; None for a good file.
enum class SgiFault {
    None,
    TruncatedHeader,   // fewer than the 12 header bytes
    BadDimensions,     // width or height 0, or a picture larger than the pixel limit
    TableOutsideFile,  // the offset or length tables reach past the end of the file
    RowOutsideFile,    // a row's data reaches past the end of the file
    RowTooLong,        // a compressed row longer than the reader's row buffer (256 × width)
    RunPastRow,        // a run would write past the end of its row
    RunPastData,       // a literal run would read past the end of its compressed row
};

const char *SgiFaultText(SgiFault fault);

struct SgiReadResult {
    SgiFault Fault = SgiFault::None;
    SgiImage Image;  // empty unless Fault is None

    bool Ok() const { return Fault == SgiFault::None; }
};

// Pictures up to this many pixels (16,384 × 16,384, 1 GiB of RGBA) are read; larger ones are
// refused before anything is allocated.
inline constexpr std::uint64_t kSgiMaxPixels = std::uint64_t{16384} * 16384;

// Decodes a file held in memory. Throws std::bad_alloc when the picture cannot be allocated.
SgiReadResult DecodeSgiImage(std::span<const std::uint8_t> bytes);
SgiReadResult DecodeSgiImage(ByteSource &source);

// Reads an open file. Ends the process with status 1 after "Out of memory!" on standard error
// when the buffers of a valid file cannot be allocated; a malformed file is a failed result.
SgiReadResult ReadSgiImage(ByteSource &file);

}  // namespace graphics
