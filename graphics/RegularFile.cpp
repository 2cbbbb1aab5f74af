// Regular files for the loaders. O_NONBLOCK keeps open() from waiting for a FIFO's writer; the
// type and the size are then taken from the open descriptor, so nothing can be swapped in between.
#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

namespace graphics {

namespace {

// A relative path is looked up from the program's working folder, which is not always the folder
// the learner thinks of; naming it shows where the file was looked for.
std::string OpenFailureText(const char *path, int error) {
    std::string text = std::strerror(error);
    std::error_code ignored;
    if (error == ENOENT && path[0] != '/') {
        text += " in " + std::filesystem::current_path(ignored).string() +
                ", the folder the program runs in";
    }
    return text;
}

}  // namespace

std::optional<RegularFile> RegularFile::Open(const char *path, std::string *whyNot) {
    const auto fail = [whyNot](std::string reason) {
        if (whyNot) *whyNot = std::move(reason);
        return std::nullopt;
    };
    if (path == nullptr) return fail("no file name was given (a null path)");
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) return fail(OpenFailureText(path, errno));
    struct stat status;
    const bool statted = fstat(descriptor, &status) == 0;
    const int error = errno;
    if (statted && S_ISREG(status.st_mode)) {
        return RegularFile(descriptor, static_cast<std::uint64_t>(status.st_size));
    }
    close(descriptor);
    if (!statted) return fail(OpenFailureText(path, error));
    return fail(S_ISDIR(status.st_mode) ? "it is a folder, not a file"
                                        : "it is not a regular file (a pipe or a device)");
}

RegularFile::RegularFile(RegularFile &&other) noexcept
    : Descriptor(std::exchange(other.Descriptor, -1)), ByteCount(other.ByteCount) {}

RegularFile::~RegularFile() {
    if (Descriptor >= 0) close(Descriptor);
}

std::size_t RegularFile::ReadUpTo(std::uint64_t offset, std::span<std::uint8_t> destination) {
    if (offset >= ByteCount) return 0;
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(destination.size(), ByteCount - offset));
    std::size_t done = 0;
    while (done < wanted) {
        const ssize_t got = pread(Descriptor, destination.data() + done, wanted - done,
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

}  // namespace graphics
