// Multi-byte fields of file headers, read from bytes that the caller has checked are there.
// Internal header.
#pragma once

#include <cstdint>

namespace graphics {

inline std::uint16_t BigEndian16(const std::uint8_t *bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

inline std::uint32_t BigEndian32(const std::uint8_t *bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

inline std::uint16_t LittleEndian16(const std::uint8_t *bytes) {
    return static_cast<std::uint16_t>(bytes[1] << 8 | bytes[0]);
}

inline std::uint32_t LittleEndian32(const std::uint8_t *bytes) {
    return std::uint32_t{bytes[3]} << 24 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[0]};
}

}  // namespace graphics
