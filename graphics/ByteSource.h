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
    virtual std::uint64_t size() const = 0;
    // Fills `destination` with the bytes at `offset`; false when they are not all there.
    virtual bool readAt(std::uint64_t offset, std::span<std::uint8_t> destination) = 0;
};

class MemoryBytes final : public ByteSource {
  public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> destination) override {
        if (offset > bytes_.size() || destination.size() > bytes_.size() - offset) return false;
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), destination.size(),
                    destination.begin());
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace graphics
