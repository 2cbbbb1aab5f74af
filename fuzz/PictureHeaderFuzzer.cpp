// libFuzzer entry for the picture-header reader: any byte string must be sized or refused
// cleanly, and a sized picture must lie within the limit and fit in the bytes given.
#include <cstdint>
#include <cstdlib>

#include "PictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    graphics::MemoryBytes bytes({data, size});
    const graphics::PictureHeader header = graphics::ReadPictureHeader(bytes);
    if (!header.Ok()) return 0;
    const auto inRange = [](std::uint32_t side) {
        return side >= 1 && side <= graphics::kMaxPictureSide;
    };
    if (!inRange(header.Width) || !inRange(header.Height) || header.LeastFileSize > size) {
        std::abort();
    }
    return 0;
}
