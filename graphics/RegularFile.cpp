// Regular files for the loaders. O_NONBLOCK keeps open() from waiting for a FIFO's writer; the
// type is then checked on the open descriptor, so nothing can be swapped in between.
#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace graphics {

std::optional<RegularFile> RegularFile::Open(const char *path) {
    if (path == nullptr) return std::nullopt;
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) return std::nullopt;
    struct stat status = {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return std::nullopt;
    }
    return RegularFile(descriptor, static_cast<std::uint64_t>(status.st_size));
}

RegularFile::RegularFile(RegularFile &&other) noexcept
    : Descriptor(std::exchange(other.Descriptor, -1)), ByteCount(other.ByteCount) {}

RegularFile::~RegularFile() {
    if (Descriptor >= 0) close(Descriptor);
}

std::size_t RegularFile::ReadUpTo(std::uint64_t offset, std::span<std::uint8_t> destination) {
    std::size_t done = 0;
    while (done < destination.size()) {
        const ssize_t got = pread(Descriptor, destination.data() + done, destination.size() - done,
                                  static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool RegularFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> destination) {
    if (offset > ByteCount || destination.size() > ByteCount - offset) return false;
    return ReadUpTo(offset, destination) == destination.size();
}

std::FILE *RegularFile::IntoStream() && {
    const int descriptor = std::exchange(Descriptor, -1);
    if (lseek(descriptor, 0, SEEK_SET) == 0) {
        if (std::FILE *stream = fdopen(descriptor, "rb")) return stream;
    }
    close(descriptor);
    return nullptr;
}

}  // namespace graphics
