// Reading and replacing the user's files without ever losing one. Paths are the file system's bytes
// and symbolic links are followed to the file they name, which is the one read and replaced. Only
// regular files are read or replaced: a FIFO, a device or a folder is refused, never opened for
// long and never given a mode. No window-system code here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace scrivo {

// The reason given when a file does not fit in the memory left.
inline constexpr const char *kNotEnoughMemory =
    "There is not enough free memory for it. Close other programs, then try again";

// The end of a file operation: an empty reason on success, otherwise the system's reason.
struct FileResult {
    std::string failure;
    bool Ok() const { return failure.empty(); }
};

// Reads the regular file at `path` into `bytes`: the bytes it held when it was opened, however
// much is appended while it is read. Never waits: a FIFO without a writer is refused like any other
// file that is not regular. A file larger than `maximumSize`, or one that does not fit in memory,
// is refused unread; `bytes` is then empty.
FileResult ReadRegularFile(const std::string &path, std::string &bytes,
                           std::size_t maximumSize = SIZE_MAX);

// Opens a new, empty file beside `target` for writing and names it in `temporaryPath`; -1 with
// errno set when the folder takes none.
using TemporaryFileMaker =
    std::function<int(const std::string &target, std::string &temporaryPath)>;
int MakeTemporaryBeside(const std::string &target, std::string &temporaryPath);

struct ReplaceOptions {
    // When the folder takes no temporary file, write the existing file in place: the space for the
    // new content is reserved first and the old bytes are written back if a write still fails.
    bool inPlaceWhenFolderRefuses = true;
    TemporaryFileMaker makeTemporary = MakeTemporaryBeside;
};

// Makes `bytes` the content of the file at `path`, creating it when there is none. The new content
// goes to a temporary file that replaces the old one only once it is wholly written, keeping the
// old file's permissions and owner. A file the user may not write is refused. Whatever fails, the
// old content is what the file holds afterwards.
FileResult ReplaceFileContents(const std::string &path, std::string_view bytes,
                               const ReplaceOptions &options = {});

}  // namespace scrivo
