// Sizing picture files the way the decoders will read them. Each format's reader takes the size
// fields the decoder takes and works out the fewest bytes any file of that size can hold, from
// the format's densest packing; what it cannot vouch for it refuses.
#include "PictureHeader.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "ByteOrder.h"

namespace graphics {

namespace {

using Prefix = std::span<const std::uint8_t>;

// The longest fixed header read here, DDS's.
constexpr std::size_t kPrefixSize = 128;
// Real JPEG files have a few dozen segments before the frame header.
constexpr int kMaxJpegSegmentsBeforeFrame = 1024;
// Radiance header lines are short; a header longer than this is not sized.
constexpr std::size_t kMaxHdrHeader = 65536;

PictureHeader Fail(PictureFault fault) {
    return {.Fault = fault};
}

// The size the header claims, checked, with the fewest bytes a file of that size holds; the
// least-size rule runs only on sides within the limit, so its arithmetic cannot overflow.
template <typename LeastFileSize>
PictureHeader Measured(PictureFormat format, std::int64_t width, std::int64_t height,
                       LeastFileSize leastFileSize) {
    const auto inRange = [](std::int64_t side) { return side >= 1 && side <= kMaxPictureSide; };
    if (!inRange(width) || !inRange(height)) return Fail(PictureFault::BadSize);
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    return {PictureFault::None, format, w, h, leastFileSize(std::uint64_t{w}, std::uint64_t{h})};
}

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t divisor) {
    return (value + divisor - 1) / divisor;
}

template <std::size_t N>
bool OneOf(unsigned value, const unsigned (&allowed)[N]) {
    return std::find(std::begin(allowed), std::end(allowed), value) != std::end(allowed);
}

// Segments from the start of image up to the first frame header, which holds height and width.
// The decoder codes every 8 × 8 block of the full-size component with a bit at least.
PictureHeader ReadJpeg(ByteSource &file, Prefix) {
    std::uint64_t at = 2;
    for (int segment = 0; segment < kMaxJpegSegmentsBeforeFrame; ++segment) {
        std::array<std::uint8_t, 2> marker{};
        if (!file.ReadAt(at, marker)) return Fail(PictureFault::TruncatedHeader);
        if (marker[0] != 0xFF) return Fail(PictureFault::UnknownFormat);
        const std::uint8_t code = marker[1];
        if (code == 0xFF) {  // a fill byte before the marker
            at += 1;
            continue;
        }
        at += 2;
        const bool standalone = code == 0x01 || (code >= 0xD0 && code <= 0xD8);
        if (standalone) continue;
        if (code == 0xD9 || code == 0xDA) return Fail(PictureFault::UnknownFormat);
        std::array<std::uint8_t, 7> segmentStart{};  // length, precision, height, width
        if (!file.ReadAt(at, std::span(segmentStart).first(2))) {
            return Fail(PictureFault::TruncatedHeader);
        }
        const std::uint16_t length = BigEndian16(segmentStart.data());
        if (length < 2) return Fail(PictureFault::UnknownFormat);
        const bool frame =
            code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
        if (!frame) {
            at += length;
            continue;
        }
        if (length < segmentStart.size() || !file.ReadAt(at, segmentStart)) {
            return Fail(PictureFault::TruncatedHeader);
        }
        return Measured(PictureFormat::Jpeg, BigEndian16(&segmentStart[5]),
                        BigEndian16(&segmentStart[3]), [](std::uint64_t w, std::uint64_t h) {
                            return CeilDiv(CeilDiv(w, 8) * CeilDiv(h, 8), 8);
                        });
    }
    return Fail(PictureFault::UnknownFormat);
}

// The IHDR chunk comes first: width, height, bit depth, colour type. Every row is a filter byte
// and its packed samples, and deflate packs at most 1032 bytes into one.
PictureHeader ReadPng(ByteSource &, Prefix p) {
    if (p.size() < 26) return Fail(PictureFault::TruncatedHeader);
    if (std::string_view(reinterpret_cast<const char *>(&p[12]), 4) != "IHDR") {
        return Fail(PictureFault::UnknownFormat);
    }
    const unsigned depth = p[24];
    static constexpr unsigned kChannelsOfColourType[] = {1, 0, 3, 1, 2, 0, 4};
    const unsigned channels =
        p[25] < std::size(kChannelsOfColourType) ? kChannelsOfColourType[p[25]] : 0;
    if (channels == 0 || !OneOf(depth, {1, 2, 4, 8, 16})) {
        return Fail(PictureFault::UnknownFormat);
    }
    return Measured(PictureFormat::Png, BigEndian32(&p[16]), BigEndian32(&p[20]),
                    [&](std::uint64_t w, std::uint64_t h) {
                        return CeilDiv(h * (1 + CeilDiv(w * channels * depth, 8)), 1032);
                    });
}

// The decoders know the 12-byte core header (16-bit sides) and the 40-, 56-, 108- and 124-byte
// ones (32-bit sides, a negative height for rows stored top down). They read no compressed BMP, so
// the file holds every row, padded to four bytes.
PictureHeader ReadBmp(ByteSource &, Prefix p) {
    if (p.size() < 30) return Fail(PictureFault::TruncatedHeader);
    const std::uint32_t infoSize = LittleEndian32(&p[14]);
    const bool core = infoSize == 12;
    if (!core && !OneOf(infoSize, {40, 56, 108, 124})) return Fail(PictureFault::UnknownFormat);
    const std::int64_t width =
        core ? LittleEndian16(&p[18])
             : std::int64_t{static_cast<std::int32_t>(LittleEndian32(&p[18]))};
    const std::int64_t height =
        core ? LittleEndian16(&p[20])
             : std::int64_t{static_cast<std::int32_t>(LittleEndian32(&p[22]))};
    const unsigned bits = LittleEndian16(&p[core ? 24 : 28]);
    if (!OneOf(bits, {1, 4, 8, 16, 24, 32})) return Fail(PictureFault::UnknownFormat);
    return Measured(PictureFormat::Bmp, width, height < 0 ? -height : height,
                    [&](std::uint64_t w, std::uint64_t h) {
                        return 14 + infoSize + h * CeilDiv(w * bits, 32) * 4;
                    });
}

// Channels, height and width; rows stored raw or in PackBits runs, two bytes for up to 128,
// after a two-byte length per row.
PictureHeader ReadPsd(ByteSource &, Prefix p) {
    if (p.size() < 26) return Fail(PictureFault::TruncatedHeader);
    return Measured(
        PictureFormat::Psd, BigEndian32(&p[18]), BigEndian32(&p[14]),
        [](std::uint64_t w, std::uint64_t h) { return 26 + h * (2 + 2 * CeilDiv(w, 128)); });
}

// The decoder stacks the six faces of a square cube map into one picture six times as high, and
// reads 4 × 4 blocks of 8 bytes (DXT1) or 16 (DXT2 to DXT5), or 3 or 4 bytes a pixel.
PictureHeader ReadDds(ByteSource &, Prefix p) {
    if (p.size() < kPrefixSize) return Fail(PictureFault::TruncatedHeader);
    if (LittleEndian32(&p[4]) != 124) return Fail(PictureFault::UnknownFormat);
    const std::uint32_t height = LittleEndian32(&p[12]);
    const std::uint32_t width = LittleEndian32(&p[16]);
    const std::uint32_t pixelFlags = LittleEndian32(&p[80]);
    constexpr std::uint32_t kAlphaPixels = 0x1, kFourCc = 0x4, kCubeMap = 0x200;
    const std::uint64_t faces = (LittleEndian32(&p[112]) & kCubeMap) && width == height ? 6 : 1;
    const bool blocks = pixelFlags & kFourCc;
    const unsigned dxt = p[87] - '0';  // the digit of "DXTn"
    if (blocks && (dxt < 1 || dxt > 5)) return Fail(PictureFault::UnknownFormat);
    const std::uint64_t blockBytes = dxt == 1 ? 8 : 16;
    const std::uint64_t pixelBytes = pixelFlags & kAlphaPixels ? 4 : 3;
    return Measured(
        PictureFormat::Dds, width, std::int64_t{height} * static_cast<std::int64_t>(faces),
        [&](std::uint64_t w, std::uint64_t stackedHeight) {
            const std::uint64_t h = stackedHeight / faces;
            const std::uint64_t face =
                blocks ? CeilDiv(w, 4) * CeilDiv(h, 4) * blockBytes : w * h * pixelBytes;
            return kPrefixSize + faces * face;
        });
}

// Reads "<sign> <digits>" at `text`, moving past it; -1 when it is not there or out of reach.
std::int64_t ReadHdrSide(std::string_view &text, std::string_view sign) {
    if (!text.starts_with(sign)) return -1;
    text.remove_prefix(sign.size());
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        // Leading zeros aside, anything over six digits is far above the limit anyway.
        value = std::min<std::int64_t>(value * 10 + (text[digits] - '0'), 10'000'000);
    }
    text.remove_prefix(digits);
    return digits == 0 ? -1 : value;
}

// Header lines up to an empty one, then "-Y <height> +X <width>". Scanlines 8 to 32767 pixels
// wide may be run-length coded: a 4-byte start, then each channel in runs of up to 127 pixels
// per two bytes. Other scanlines take 4 bytes a pixel.
PictureHeader ReadHdr(ByteSource &file, Prefix) {
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(file.Size(), kMaxHdrHeader));
    if (!file.ReadAt(0, bytes)) return Fail(PictureFault::TruncatedHeader);
    std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    for (bool emptyLineSeen = false; !emptyLineSeen;) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return Fail(PictureFault::TruncatedHeader);
        emptyLineSeen = end == 0;
        text.remove_prefix(end + 1);
    }
    const std::int64_t height = ReadHdrSide(text, "-Y ");
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const std::int64_t width = ReadHdrSide(text, "+X ");
    if (height < 0 || width < 0) return Fail(PictureFault::UnknownFormat);
    return Measured(PictureFormat::Hdr, width, height, [](std::uint64_t w, std::uint64_t h) {
        const bool runLength = w >= 8 && w < 32768;
        return h * (runLength ? 4 + 8 * CeilDiv(w, 127) : 4 * w);
    });
}

// TGA has no signature: the decoder takes a file for one when nothing else fits and the header
// looks right (colour-map type 0 or 1, a known image type, 8 to 32 bits a pixel). After the ID
// and the colour map come the pixels, raw or in runs of up to 128 with a count byte each.
PictureHeader ReadTga(ByteSource &, Prefix p) {
    if (p.size() < 18) return Fail(PictureFault::UnknownFormat);
    const unsigned colourMapType = p[1];
    const unsigned imageType = p[2];
    const unsigned bits = p[16];
    if (colourMapType > 1 || !OneOf(imageType, {1, 2, 3, 9, 10, 11}) ||
        !OneOf(bits, {8, 16, 24, 32})) {
        return Fail(PictureFault::UnknownFormat);
    }
    const std::uint64_t colourMapBytes =
        colourMapType == 1 ? std::uint64_t{LittleEndian16(&p[5])} * CeilDiv(p[7], 8) : 0;
    const std::uint64_t headerBytes = 18 + p[0] + colourMapBytes;
    return Measured(PictureFormat::Tga, LittleEndian16(&p[12]), LittleEndian16(&p[14]),
                    [&](std::uint64_t w, std::uint64_t h) {
                        const std::uint64_t pixelBytes = bits / 8;
                        const bool runLength = imageType >= 9;
                        return headerBytes + (runLength ? CeilDiv(w * h, 128) * (1 + pixelBytes)
                                                        : w * h * pixelBytes);
                    });
}

struct SignedFormat {
    std::string_view Signature;
    PictureHeader (*Read)(ByteSource &file, Prefix prefix);
};

constexpr SignedFormat kSignedFormats[] = {
    {"\xFF\xD8", ReadJpeg}, {"\x89PNG\r\n\x1A\n", ReadPng}, {"BM", ReadBmp}, {"8BPS", ReadPsd},
    {"DDS ", ReadDds},      {"#?RADIANCE\n", ReadHdr},
};

}  // namespace

PictureHeader ReadPictureHeader(ByteSource &file) {
    std::array<std::uint8_t, kPrefixSize> buffer{};
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), kPrefixSize));
    if (!file.ReadAt(0, std::span(buffer).first(length))) {
        return Fail(PictureFault::TruncatedHeader);
    }
    const Prefix prefix(buffer.data(), length);
    const std::string_view start(reinterpret_cast<const char *>(buffer.data()), length);
    const auto match = std::find_if(
        std::begin(kSignedFormats), std::end(kSignedFormats),
        [&](const SignedFormat &format) { return start.starts_with(format.Signature); });
    PictureHeader header =
        match != std::end(kSignedFormats) ? match->Read(file, prefix) : ReadTga(file, prefix);
    if (header.Ok() && file.Size() < header.LeastFileSize) {
        header.Fault = PictureFault::TruncatedData;
    }
    return header;
}

}  // namespace graphics
