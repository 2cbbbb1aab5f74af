// The files that C programs name to the loaders, opened once and without ever blocking: a FIFO, a
// device or a directory is refused like a missing file, and what is checked is what is read,
// since every later read goes through the same descriptor. Internal header.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>

#include "ByteSource.h"

namespace graphics {

class RegularFile final : public ByteSource {
  public:
    // None when the path is null, cannot be opened for reading or names no regular file.
    static std::optional<RegularFile> Open(const char *path);

    RegularFile(RegularFile &&other) noexcept;
    RegularFile &operator=(RegularFile &&) = delete;
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;
    ~RegularFile() override;

    std::uint64_t Size() const override { return ByteCount; }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> destination) override;
    // Reads what there is of `destination` at `offset`; the number of bytes read.
    std::size_t ReadUpTo(std::uint64_t offset, std::span<std::uint8_t> destination);

    // Hands the descriptor to a stdio stream at the start of the file (closed by fclose); null
    // when no stream can be made, and the file is closed either way.
    std::FILE *IntoStream() &&;

  private:
    RegularFile(int descriptor, std::uint64_t size) : Descriptor(descriptor), ByteCount(size) {}

    int Descriptor = -1;
    std::uint64_t ByteCount = 0;
};

}  // namespace graphics
