// Writes SGI image files byte by byte for tests, benchmarks and the fuzz corpus: verbatim or
// run-length encoded, from planar channel data stored bottom row first.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace sgitest {

using Bytes = std::vector<std::uint8_t>;

inline void PutBigEndian16(Bytes &out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value >> 8);
    out[at + 1] = static_cast<std::uint8_t>(value);
}

inline void PutBigEndian32(Bytes &out, std::size_t at, std::uint32_t value) {
    PutBigEndian16(out, at, value >> 16);
    PutBigEndian16(out, at + 2, value & 0xFFFF);
}

// The 512-byte header: magic 474, storage type (0x0101 for run-length, 0x0001 verbatim), three
// dimensions, sizes.
inline Bytes Header(int width, int height, int components, bool runLength) {
    Bytes out(512, 0);
    PutBigEndian16(out, 0, 474);
    PutBigEndian16(out, 2, runLength ? 0x0101 : 0x0001);
    PutBigEndian16(out, 4, 3);
    PutBigEndian16(out, 6, static_cast<std::uint32_t>(width));
    PutBigEndian16(out, 8, static_cast<std::uint32_t>(height));
    PutBigEndian16(out, 10, static_cast<std::uint32_t>(components));
    return out;
}

// Packs one row: repeats of three or more become repeat packets, the rest literal packets; a zero
// count closes the row.
inline Bytes PackRow(const std::uint8_t *row, std::size_t width) {
    Bytes packed;
    std::size_t x = 0;
    while (x < width) {
        std::size_t repeat = 1;
        while (x + repeat < width && repeat < 127 && row[x + repeat] == row[x]) ++repeat;
        if (repeat >= 3) {
            packed.push_back(static_cast<std::uint8_t>(repeat));
            packed.push_back(row[x]);
            x += repeat;
            continue;
        }
        std::size_t literal = 0;
        while (x + literal < width && literal < 127) {
            const std::size_t at = x + literal;
            if (at + 2 < width && row[at] == row[at + 1] && row[at] == row[at + 2]) break;
            ++literal;
        }
        packed.push_back(static_cast<std::uint8_t>(0x80 | literal));
        packed.insert(packed.end(), row + x, row + x + literal);
        x += literal;
    }
    packed.push_back(0);
    return packed;
}

// A run-length file from already packed rows, one per row and channel, indexed y + z × height.
inline Bytes RunLengthFile(int width, int height, int components, const std::vector<Bytes> &rows) {
    // The header, then where each row starts and how long it is, then the rows.
    const std::size_t entries = rows.size();
    const Bytes header = Header(width, height, components, true);
    Bytes out(header.size() + entries * 8, 0);
    std::copy(header.begin(), header.end(), out.begin());
    for (std::size_t i = 0; i < entries; ++i) {
        PutBigEndian32(out, 512 + i * 4, static_cast<std::uint32_t>(out.size()));
        PutBigEndian32(out, 512 + (entries + i) * 4, static_cast<std::uint32_t>(rows[i].size()));
        out.insert(out.end(), rows[i].begin(), rows[i].end());
    }
    return out;
}

// A file from planar data: channel z, row y, column x at planes[(z × height + y) × width + x].
inline Bytes Encode(int width, int height, int components, const Bytes &planes, bool runLength) {
    const std::size_t rowCount = static_cast<std::size_t>(height) * components;
    if (!runLength) {
        Bytes out = Header(width, height, components, false);
        out.insert(out.end(), planes.begin(),
                   planes.begin() + static_cast<std::ptrdiff_t>(rowCount * width));
        return out;
    }
    std::vector<Bytes> rows;
    for (std::size_t i = 0; i < rowCount; ++i) rows.push_back(PackRow(&planes[i * width], width));
    return RunLengthFile(width, height, components, rows);
}

// A test name for a file of that many channels in that storage, such as "RunLength3".
inline std::string CaseName(int components, bool runLength) {
    return (runLength ? "RunLength" : "Verbatim") + std::to_string(components);
}

inline void WriteFile(const std::string &path, const Bytes &bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace sgitest
