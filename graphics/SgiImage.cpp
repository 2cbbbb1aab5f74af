// SGI image reader. Only the first four channels of a file are ever read; the rest of the file is
// never touched, so a file with many channels costs no more than one with four.
#include "SgiImage.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ByteOrder.h"

namespace graphics {

namespace {

constexpr std::uint64_t kDataStart = 512;  // where the tables or the verbatim rows begin
constexpr std::size_t kHeaderSize = 12;
constexpr std::uint64_t kRowBufferFactor = 256;  // a compressed row fits in 256 × width bytes

// Expands one run-length row into `row`. A row that ends early leaves the rest of `row` zero; a
// packed row without the closing zero count ends where its bytes end.
SgiFault ExpandRow(std::span<const std::uint8_t> packed, std::span<std::uint8_t> row) {
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < packed.size()) {
        const std::uint8_t packet = packed[in++];
        const std::size_t count = packet & 0x7F;
        if (count == 0) break;
        if (count > row.size() - out) return SgiFault::RunPastRow;
        if (packet & 0x80) {
            if (count > packed.size() - in) return SgiFault::RunPastData;
            std::memcpy(row.data() + out, packed.data() + in, count);
            in += count;
        } else {
            if (in == packed.size()) return SgiFault::RunPastData;
            std::memset(row.data() + out, packed[in++], count);
        }
        out += count;
    }
    std::fill(row.begin() + static_cast<std::ptrdiff_t>(out), row.end(), std::uint8_t{0});
    return SgiFault::None;
}

// Interleaves the channel rows (each `width` bytes, one after the other) into one RGBA row.
void InterleaveRow(int components, const std::uint8_t *channels, std::size_t width,
                   std::uint8_t *rgba) {
    const std::uint8_t *c0 = channels;
    const std::uint8_t *c1 = channels + width;
    const std::uint8_t *c2 = channels + 2 * width;
    const std::uint8_t *c3 = channels + 3 * width;
    for (std::size_t x = 0; x < width; ++x, rgba += 4) {
        if (components >= 4) {
            rgba[0] = c0[x], rgba[1] = c1[x], rgba[2] = c2[x], rgba[3] = c3[x];
        } else if (components == 3) {
            rgba[0] = c0[x], rgba[1] = c1[x], rgba[2] = c2[x], rgba[3] = 255;
        } else if (components == 2) {
            rgba[0] = rgba[1] = rgba[2] = c0[x], rgba[3] = c1[x];
        } else {
            rgba[0] = rgba[1] = rgba[2] = c0[x], rgba[3] = 255;
        }
    }
}

struct SgiHeader {
    bool RunLength;
    std::uint32_t Width;
    std::uint32_t Height;
    int Components;
};

class Decoder {
  public:
    Decoder(ByteSource &source, const SgiHeader &header)
        : Source(source),
          FileHeader(header),
          // A file claiming no channels is read as one; its layout has room for one.
          LayoutChannels(static_cast<std::size_t>(std::max(header.Components, 1))),
          ReadChannels(std::min<std::size_t>(LayoutChannels, 4)) {}

    SgiReadResult Decode() {
        if (const SgiFault fault = FileHeader.RunLength ? ReadTables() : CheckVerbatimExtent();
            fault != SgiFault::None) {
            return {fault, {}};
        }
        const std::size_t width = FileHeader.Width;
        SgiImage image;
        image.Width = static_cast<int>(FileHeader.Width);
        image.Height = static_cast<int>(FileHeader.Height);
        image.Components = FileHeader.Components;
        image.Rgba.resize(width * FileHeader.Height * 4);
        ChannelRows.resize(width * ReadChannels);

        for (std::uint32_t y = 0; y < FileHeader.Height; ++y) {
            for (std::size_t channel = 0; channel < ReadChannels; ++channel) {
                const std::span<std::uint8_t> row(ChannelRows.data() + channel * width, width);
                if (const SgiFault fault = ReadRow(y, channel, row); fault != SgiFault::None) {
                    return {fault, {}};
                }
            }
            InterleaveRow(FileHeader.Components, ChannelRows.data(), width,
                          image.Rgba.data() + std::size_t{y} * width * 4);
        }
        return {SgiFault::None, std::move(image)};
    }

  private:
    std::size_t RowIndex(std::uint32_t y, std::size_t channel) const {
        return y + channel * FileHeader.Height;
    }

    SgiFault CheckVerbatimExtent() const {
        const std::uint64_t needed =
            kDataStart + std::uint64_t{FileHeader.Width} * FileHeader.Height * ReadChannels;
        return needed > Source.Size() ? SgiFault::RowOutsideFile : SgiFault::None;
    }

    // Reads the table entries of the channels that are used and checks every row they name.
    SgiFault ReadTables() {
        const std::size_t entries = std::size_t{FileHeader.Height} * ReadChannels;
        const std::uint64_t lengthsStart =
            kDataStart + std::uint64_t{FileHeader.Height} * LayoutChannels * 4;
        std::vector<std::uint8_t> raw(entries * 4);
        RowOffsets.resize(entries);
        RowLengths.resize(entries);
        if (!Source.ReadAt(kDataStart, raw)) return SgiFault::TableOutsideFile;
        for (std::size_t i = 0; i < entries; ++i) RowOffsets[i] = BigEndian32(&raw[i * 4]);
        if (!Source.ReadAt(lengthsStart, raw)) return SgiFault::TableOutsideFile;
        for (std::size_t i = 0; i < entries; ++i) RowLengths[i] = BigEndian32(&raw[i * 4]);

        const std::uint64_t longestAllowed = kRowBufferFactor * FileHeader.Width;
        std::uint32_t longest = 0;
        for (std::size_t i = 0; i < entries; ++i) {
            if (RowLengths[i] > longestAllowed) return SgiFault::RowTooLong;
            if (std::uint64_t{RowOffsets[i]} + RowLengths[i] > Source.Size()) {
                return SgiFault::RowOutsideFile;
            }
            longest = std::max(longest, RowLengths[i]);
        }
        PackedRow.resize(longest);
        return SgiFault::None;
    }

    SgiFault ReadRow(std::uint32_t y, std::size_t channel, std::span<std::uint8_t> row) {
        const std::size_t index = RowIndex(y, channel);
        if (!FileHeader.RunLength) {
            return Source.ReadAt(kDataStart + std::uint64_t{index} * FileHeader.Width, row)
                       ? SgiFault::None
                       : SgiFault::RowOutsideFile;
        }
        const std::span<std::uint8_t> packed(PackedRow.data(), RowLengths[index]);
        if (!Source.ReadAt(RowOffsets[index], packed)) return SgiFault::RowOutsideFile;
        return ExpandRow(packed, row);
    }

    ByteSource &Source;
    SgiHeader FileHeader;
    std::size_t LayoutChannels;
    std::size_t ReadChannels;
    std::vector<std::uint32_t> RowOffsets;
    std::vector<std::uint32_t> RowLengths;
    std::vector<std::uint8_t> PackedRow;
    std::vector<std::uint8_t> ChannelRows;
};

}  // namespace

const char *SgiFaultText(SgiFault fault) {
    switch (fault) {
        case SgiFault::None:
            return "no fault";
        case SgiFault::TruncatedHeader:
            return "truncated header";
        case SgiFault::BadDimensions:
            return "width or height zero or too large";
        case SgiFault::TableOutsideFile:
            return "row tables reach past the end of the file";
        case SgiFault::RowOutsideFile:
            return "row data reaches past the end of the file";
        case SgiFault::RowTooLong:
            return "compressed row longer than 256 times the width";
        case SgiFault::RunPastRow:
            return "run writes past the end of its row";
        case SgiFault::RunPastData:
            return "run reads past the end of its compressed row";
    }
    return "unknown fault";
}

SgiReadResult DecodeSgiImage(ByteSource &source) {
    std::array<std::uint8_t, kHeaderSize> bytes{};
    if (!source.ReadAt(0, bytes)) return {SgiFault::TruncatedHeader, {}};
    // Fields: magic, storage type, dimension, x size, y size, z size. Magic and dimension are
    // not checked, so files with a wrong magic number still load.
    const SgiHeader header{
        .RunLength = (BigEndian16(&bytes[2]) & 0xFF00) == 0x0100,
        .Width = BigEndian16(&bytes[6]),
        .Height = BigEndian16(&bytes[8]),
        .Components = BigEndian16(&bytes[10]),
    };
    if (header.Width == 0 || header.Height == 0 ||
        std::uint64_t{header.Width} * header.Height > kSgiMaxPixels) {
        return {SgiFault::BadDimensions, {}};
    }
    return Decoder(source, header).Decode();
}

SgiReadResult DecodeSgiImage(std::span<const std::uint8_t> bytes) {
    MemoryBytes source(bytes);
    return DecodeSgiImage(source);
}

SgiReadResult ReadSgiImage(ByteSource &file) {
    try {
        return DecodeSgiImage(file);
    } catch (const std::bad_alloc &) {
        std::fputs("Out of memory!\n", stderr);
        std::exit(1);
    }
}

}  // namespace graphics
