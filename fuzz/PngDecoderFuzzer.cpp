// libFuzzer entry for the PNG decoder behind libpng: any byte string that the header reader lets
// through must decode or fail with a reason, and a decoded picture holds exactly the three bytes a
// pixel its header promised.
#include <cstdint>
#include <cstdlib>

#include "PictureHeader.h"
#include "PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    graphics::MemoryBytes bytes({data, size});
    const graphics::PictureHeader header = graphics::ReadPictureHeader(bytes);
    if (!header.Ok() || header.Format != graphics::PictureFormat::Png) return 0;
    const graphics::DecodedPicture picture = graphics::DecodePng({data, size});
    if (!picture.Pixels) {
        if (picture.Failure.empty()) std::abort();
        return 0;
    }
    if (picture.Width != static_cast<int>(header.Width) ||
        picture.Height != static_cast<int>(header.Height)) {
        std::abort();
    }
    // AddressSanitizer knows the buffer's size: touching its last byte checks it.
    const std::size_t last = std::size_t{header.Width} * header.Height * 3 - 1;
    volatile unsigned char lastByte = picture.Pixels.get()[last];
    (void)lastByte;
    return 0;
}
