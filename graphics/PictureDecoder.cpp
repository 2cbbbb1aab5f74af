// Choosing a picture's decoder and feeding it. SOIL's decoder reads a file through stdio one byte
// per call, and once the driver's threads exist every such call takes the stream's lock: reading
// the file with a few large reads and decoding it in memory costs a fraction of that.
#include "PictureDecoder.h"

#include <SOIL/stb_image_aug.h>

#include <algorithm>
#include <array>
#include <climits>
#include <new>
#include <optional>
#include <vector>

#include "ByteOrder.h"
#include "PictureHeader.h"
#include "PngDecoder.h"
#include "RegularFile.h"

namespace graphics {

namespace {

const char *HeaderFaultText(PictureFault fault) {
    switch (fault) {
        case PictureFault::None:
            break;
        case PictureFault::UnknownFormat:
            return "not a kind of picture the library reads (PNG, JPEG, BMP, TGA, PSD, HDR or "
                   "DDS); save it as PNG";
        case PictureFault::TruncatedHeader:
            return "the file ends inside its header; it is damaged or not a picture";
        case PictureFault::BadSize:
            return "its header gives a width or height of 0 or over 16384 pixels";
        case PictureFault::TruncatedData:
            return "the file is shorter than its pixels need; it is damaged or was not copied "
                   "whole";
    }
    return "";
}

// Plain BMP rows: 24 bits a pixel, uncompressed, stored B, G, R and padded to four bytes, bottom
// row first unless the height is negative. This is what most programs write, and SOIL's decoder
// would take it a byte at a time; any other kind goes to SOIL. Among the header kinds, the
// 124-byte one is ImageMagick's, which SOIL does not know. The rows are read a block at a time
// straight from the file, so no copy of the whole file is ever made. None when the file is not
// such a BMP.
std::optional<DecodedPicture> DecodePlainBmp(ByteSource &file, const PictureHeader &header) {
    constexpr std::size_t kFileHeaderSize = 14;
    constexpr std::size_t kBlockBytes = 64 * 1024;
    std::array<std::uint8_t, 34> fields{};  // up to the compression field
    if (!file.ReadAt(0, fields)) return std::nullopt;
    const std::uint32_t infoSize = LittleEndian32(&fields[14]);
    if (infoSize < 40 || LittleEndian16(&fields[26]) != 1 || LittleEndian16(&fields[28]) != 24 ||
        LittleEndian32(&fields[30]) != 0) {
        return std::nullopt;
    }
    const std::uint64_t dataStart = LittleEndian32(&fields[10]);
    const std::size_t width = header.Width, height = header.Height;
    const std::size_t stride = (width * 3 + 3) & ~std::size_t{3};
    if (dataStart < kFileHeaderSize + infoSize || dataStart + stride * height > file.Size()) {
        return std::nullopt;
    }
    const bool topDown = static_cast<std::int32_t>(LittleEndian32(&fields[22])) < 0;
    DecodedPicture picture;
    picture.Pixels.reset(static_cast<unsigned char *>(std::malloc(width * height * 3)));
    if (!picture.Pixels) return NoPicture("there is not enough memory for its pixels");
    const std::size_t blockRows = std::max<std::size_t>(1, kBlockBytes / stride);
    std::vector<std::uint8_t> block(blockRows * stride);
    for (std::size_t fileRow = 0; fileRow < height; fileRow += blockRows) {
        const std::size_t rows = std::min(blockRows, height - fileRow);
        if (!file.ReadAt(dataStart + fileRow * stride, std::span(block).first(rows * stride))) {
            return NoPicture("the file could not be read to its end; it shrank while being read");
        }
        for (std::size_t r = 0; r < rows; ++r) {
            const std::size_t row = topDown ? fileRow + r : height - 1 - (fileRow + r);
            const std::uint8_t *in = block.data() + r * stride;
            unsigned char *out = picture.Pixels.get() + row * width * 3;
            for (std::size_t x = 0; x < width; ++x, in += 3, out += 3) {
                out[0] = in[2], out[1] = in[1], out[2] = in[0];
            }
        }
    }
    picture.Width = static_cast<int>(width);
    picture.Height = static_cast<int>(height);
    picture.Channels = 3;
    return picture;
}

DecodedPicture DecodeWithSoil(std::span<const std::uint8_t> bytes) {
    DecodedPicture picture;
    picture.Pixels = PixelBuffer(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &picture.Width,
                              &picture.Height, &picture.Channels, STBI_rgb),
        PixelBufferDeleter{stbi_image_free});
    if (!picture.Pixels) {
        return NoPicture(std::string("its decoder gave up (") + stbi_failure_reason() +
                         "); save it as PNG");
    }
    return picture;
}

// Reads the whole file into memory for the decoder of its format.
DecodedPicture DecodeSized(ByteSource &file, const PictureHeader &header) {
    if (header.Format == PictureFormat::Bmp) {
        if (std::optional<DecodedPicture> picture = DecodePlainBmp(file, header)) {
            return std::move(*picture);
        }
    }
    // SOIL's decoder takes the length as an int; no picture within the size limit needs more.
    if (file.Size() > INT_MAX) return NoPicture("the file is larger than 2 GiB");
    const auto size = static_cast<std::size_t>(file.Size());
    std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[size]);
    if (!bytes) return NoPicture("there is not enough memory to read the file");
    if (!file.ReadAt(0, {bytes.get(), size})) {
        return NoPicture("the file could not be read to its end; it shrank while being read");
    }
    const std::span<const std::uint8_t> whole(bytes.get(), size);
    return header.Format == PictureFormat::Png ? DecodePng(whole) : DecodeWithSoil(whole);
}

}  // namespace

DecodedPicture NoPicture(std::string reason) {
    DecodedPicture picture;
    picture.Failure = std::move(reason);
    return picture;
}

DecodedPicture DecodeSource(ByteSource &file) {
    const PictureHeader header = ReadPictureHeader(file);
    if (!header.Ok()) return NoPicture(HeaderFaultText(header.Fault));
    return DecodeSized(file, header);
}

DecodedPicture DecodePictureFile(const char *path) {
    std::string whyNot;
    std::optional<RegularFile> file = RegularFile::Open(path, &whyNot);
    return file ? DecodeSource(*file) : NoPicture(std::move(whyNot));
}

}  // namespace graphics
