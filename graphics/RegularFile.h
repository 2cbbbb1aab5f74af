// The files that C programs name to the loaders, opened once and without ever blocking: a FIFO, a
// device or a directory is refused like a missing file, and what is checked is what is read,
// since every later read goes through the same descriptor. Reads stop at the size the file had
// when it was opened, so a file that another program keeps appending to is read to that size and
// no further. Internal header.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ByteSource.h"

namespace graphics {

class RegularFile final : public ByteSource {
  public:
    // None when the path is null, cannot be opened for reading or names no regular file; then
    // `whyNot`, if given, receives the reason in words a learner can act on.
    static std::optional<RegularFile> Open(const char *path, std::string *whyNot = nullptr);

    RegularFile(RegularFile &&other) noexcept;
    RegularFile &operator=(RegularFile &&) = delete;
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;
    ~RegularFile() override;

    // The size at opening.
    std::uint64_t Size() const override { return ByteCount; }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> destination) override;
    // Reads what there is of `destination` at `offset`, within Size(); the number of bytes read.
    std::size_t ReadUpTo(std::uint64_t offset, std::span<std::uint8_t> destination);

  private:
    RegularFile(int descriptor, std::uint64_t size) : Descriptor(descriptor), ByteCount(size) {}

    int Descriptor = -1;
    std::uint64_t ByteCount = 0;
};

}  // namespace graphics
