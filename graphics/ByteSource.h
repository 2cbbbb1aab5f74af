// Random access to the bytes of a picture or font, so that the readers run alike on an open file
// and, in tests and fuzzing, on bytes in memory. Internal header.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

namespace graphics {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills `destination` with the bytes at `offset`; false when they are not all there.
    virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> destination) = 0;
};

class MemoryBytes final : public ByteSource {
  public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes) : Bytes(bytes) {}
    std::uint64_t Size() const override { return Bytes.size(); }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> destination) override {
        if (offset > Bytes.size() || destination.size() > Bytes.size() - offset) return false;
        std::copy_n(Bytes.begin() + static_cast<std::ptrdiff_t>(offset), destination.size(),
                    destination.begin());
        return true;
    }

  private:
    std::span<const std::uint8_t> Bytes;
};

}  // namespace graphics
