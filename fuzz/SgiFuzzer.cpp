// libFuzzer entry for the SGI reader: any byte string must decode or fail cleanly, and a decoded
// picture must be exactly width × height RGBA pixels.
#include <cstdint>
#include <cstdlib>
#include <numeric>

#include "SgiImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const graphics::SgiReadResult result = graphics::DecodeSgiImage({data, size});
    if (!result.Ok()) {
        if (!result.Image.Rgba.empty()) std::abort();
        return 0;
    }
    const graphics::SgiImage &image = result.Image;
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Rgba.size() != std::size_t(image.Width) * image.Height * 4) {
        std::abort();
    }
    // Reading every byte lets the sanitizers see any byte the decoder left unwritten.
    volatile unsigned sum = std::accumulate(image.Rgba.begin(), image.Rgba.end(), 0u);
    (void)sum;
    return 0;
}
