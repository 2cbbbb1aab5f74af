// Files are replaced through a temporary file beside them and a rename, so a crash or a full disk
// never leaves half a file behind. Only a folder that takes no new file forces a write in place,
// and that write begins only once the space for the new content is reserved, with the old bytes
// kept to be written back should a write fail all the same.
#include "FileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

namespace scrivo {
namespace {

namespace fs = std::filesystem;

// The limit the system itself puts on a chain of links.
constexpr int kMaximumLinkHops = 40;

FileResult Failure(int error) {
    return {std::strerror(error)};
}

FileResult NotRegularFile() {
    return {"It is not a regular file"};
}

// The path of the file that `path` names once every symbolic link on the way is followed; a link
// to nothing yields the path where its file would be.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < kMaximumLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            break;
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target.string()
                                    : (fs::path(path).parent_path() / target).string();
    }
    return path;
}

FileResult WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // A write that places nothing without an error would otherwise loop for ever.
            return Failure(written < 0 ? errno : ENOSPC);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// Reads what the open regular file held when `opened` was taken of it. Reading stops there: a file
// that another program keeps appending to would otherwise be read for as long as it grows.
FileResult ReadOpened(int fd, const struct stat &opened, std::string &bytes) {
    std::string().swap(bytes);
    const auto size = static_cast<std::size_t>(opened.st_size);
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc &) {
        return {kNotEnoughMemory};
    }
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, bytes.data() + filled, size - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            std::string().swap(bytes);
            return Failure(error);
        }
        if (got == 0) {
            break;  // cut short since it was opened
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return {};
}

// Puts `bytes` at the start of the open file and cuts it after them, durably.
FileResult Overwrite(int fd, std::string_view bytes) {
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        return Failure(errno);
    }
    FileResult result = WriteAll(fd, bytes);
    if (result.Ok() && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        result = Failure(errno);
    }
    if (result.Ok() && ::fsync(fd) != 0) {
        result = Failure(errno);
    }
    return result;
}

FileResult WriteInPlace(const std::string &target, std::string_view bytes) {
    bool created = false;
    int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
        created = fd >= 0;
    }
    if (fd < 0) {
        return Failure(errno);
    }
    struct stat opened = {};
    std::string old;
    FileResult result = ::fstat(fd, &opened) != 0  ? Failure(errno)
                        : !S_ISREG(opened.st_mode) ? NotRegularFile()
                                                   : ReadOpened(fd, opened, old);
    if (result.Ok() && bytes.size() > old.size()) {
        // Reserved before the first byte changes: a disk too full for the new content refuses it
        // here, while the file still holds the old one.
        if (const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()))) {
            // Where the file system cannot reserve, the system's stand-in grows the file block by
            // block and may stop half-way; the old length comes back.
            [[maybe_unused]] const int trimmed = ::ftruncate(fd, static_cast<off_t>(old.size()));
            result = Failure(error);
        }
    }
    if (result.Ok()) {
        result = Overwrite(fd, bytes);
        // The old content fitted where it stood, so it fits again.
        if (!result.Ok() && !Overwrite(fd, old).Ok()) {
            result.failure += " (and the old content could not be written back)";
        }
    }
    ::close(fd);
    if (!result.Ok() && created) {
        ::unlink(target.c_str());
    }
    return result;
}

}  // namespace

FileResult ReadRegularFile(const std::string &path, std::string &bytes, std::size_t maximumSize) {
    bytes.clear();
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return Failure(errno);
    }
    struct stat opened = {};
    FileResult result = ::fstat(fd, &opened) != 0  ? Failure(errno)
                        : !S_ISREG(opened.st_mode) ? NotRegularFile()
                        : static_cast<std::size_t>(opened.st_size) > maximumSize
                            ? FileResult{"It is too large"}
                            : ReadOpened(fd, opened, bytes);
    ::close(fd);
    return result;
}

int MakeTemporaryBeside(const std::string &target, std::string &temporaryPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath =
            target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

FileResult ReplaceFileContents(const std::string &path, std::string_view bytes,
                               const ReplaceOptions &options) {
    const std::string target = FollowLinks(path);
    struct stat existing = {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        return Failure(errno);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return NotRegularFile();
    }
    // The rename would replace a file the user made read-only; honour the protection instead.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return Failure(errno);
    }

    std::string temporaryPath;
    const int fd = options.makeTemporary(target, temporaryPath);
    if (fd < 0) {
        const int refusal = errno;
        return options.inPlaceWhenFolderRefuses ? WriteInPlace(target, bytes) : Failure(refusal);
    }
    if (exists) {
        // Another user's file stays theirs where the system allows it; where it does not, the
        // file is still saved.
        [[maybe_unused]] const int ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid);
        ::fchmod(fd, existing.st_mode & 07777);
    }
    FileResult result = WriteAll(fd, bytes);
    if (result.Ok() && ::fsync(fd) != 0) {
        result = Failure(errno);
    }
    if (::close(fd) != 0 && result.Ok()) {
        result = Failure(errno);
    }
    if (result.Ok() && std::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        result = Failure(errno);
    }
    if (!result.Ok()) {
        ::unlink(temporaryPath.c_str());
    }
    return result;
}

}  // namespace scrivo
