// Pictures decoded for LoadTexture's and _LoadImage's non-SGI path: read with a few large reads,
// never past the size the file had when it was opened, sized from their header before any decoder
// sees them (PictureHeader), then decoded to three 8-bit channels, top row first. PNG files go to
// libpng, which reads every bit depth and colour type; plain 24-bit BMP files are unpacked here;
// every other format goes to SOIL's decoder. A picture that cannot be decoded comes with the
// reason, in words a learner can act on. Internal header.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "ByteSource.h"

namespace graphics {

// Releases a pixel buffer the way its decoder allocated it.
struct PixelBufferDeleter {
    void (*Release)(void *) = std::free;
    void operator()(unsigned char *buffer) const { Release(buffer); }
};
using PixelBuffer = std::unique_ptr<unsigned char, PixelBufferDeleter>;

struct DecodedPicture {
    PixelBuffer Pixels;  // R, G, B, top row first; null when the picture could not be decoded
    int Width = 0, Height = 0;
    int Channels = 0;     // the file's own channel count
    std::string Failure;  // why there are no pixels
};

DecodedPicture DecodePictureFile(const char *path);
// The header is checked first, so a large file that is no picture costs a few small reads.
DecodedPicture DecodeSource(ByteSource &file);

// A picture that could not be decoded, and why.
DecodedPicture NoPicture(std::string reason);

}  // namespace graphics
