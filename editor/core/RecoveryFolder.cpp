// Copies are written through FileStore's replace, so a crash in the middle of a periodic copy
// leaves the previous copy whole. Names are reserved with O_EXCL, so two editors running at once
// never write into each other's copies.
#include "RecoveryFolder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace scrivo {
namespace {

namespace fs = std::filesystem;

// Longer extensions are taken for part of the name, so that the time always fits.
constexpr std::size_t kLongestExtension = 16;
constexpr int kNamesTriedPerSecond = 100;

FileResult systemFailure(int error) {
    return {std::strerror(error)};
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The first `length` bytes of `text`, shortened further so no UTF-8 character is cut.
std::string_view utf8Prefix(std::string_view text, std::size_t length) {
    if (length >= text.size()) {
        return text;
    }
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return text.substr(0, length);
}

}  // namespace

std::string recoveryFolderPath(const char *stateHome, const char *home) {
    if (stateHome != nullptr && stateHome[0] == '/') {
        return withoutTrailingSlashes(stateHome) + "/scrivo/recovered";
    }
    if (home != nullptr && home[0] != '\0') {
        return withoutTrailingSlashes(home) + "/.local/state/scrivo/recovered";
    }
    return {};
}

std::string userRecoveryFolder() {
    const char *home = std::getenv("HOME");
    // A session without HOME (a service, sudo -i with a stripped environment) still has a home.
    std::vector<char> buffer(16384);
    passwd entry = {};
    passwd *found = nullptr;
    if ((home == nullptr || *home == '\0') &&
        ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr) {
        home = found->pw_dir;
    }
    return recoveryFolderPath(std::getenv("XDG_STATE_HOME"), home);
}

std::string recoveryFileName(std::string_view sourcePath, const std::tm &localTime, int sequence) {
    std::string_view base = sourcePath.substr(sourcePath.rfind('/') + 1);
    if (base.empty()) {
        // An untitled text is C too, and shows among the C files of the Load dialog.
        base = "Untitled.c";
    }
    std::string_view stem = base;
    std::string_view extension;
    if (const std::size_t dot = base.rfind('.');
        dot != std::string_view::npos && dot > 0 && base.size() - dot <= kLongestExtension) {
        stem = base.substr(0, dot);
        extension = base.substr(dot);
    }
    char stamp[64];
    const std::size_t stampLength =
        std::strftime(stamp, sizeof stamp, " %Y-%m-%d %H-%M-%S", &localTime);
    std::string suffix(stamp, stampLength);
    if (sequence > 1) {
        suffix += " (" + std::to_string(sequence) + ")";
    }
    suffix += extension;
    std::string name(utf8Prefix(stem, NAME_MAX - suffix.size()));
    return name + suffix;
}

RecoveryFolder::RecoveryFolder(std::string folder, std::size_t keep)
    : folder_(withoutTrailingSlashes(std::move(folder))), keep_(keep) {}

FileResult RecoveryFolder::keep(std::string &name, std::string_view sourcePath,
                                std::string_view bytes) {
    // Made every time: the learner may have cleared the folder away since the last copy.
    if (FileResult made = makeFolder(); !made.ok()) {
        return made;
    }
    std::string chosen = name;
    const bool fresh = chosen.empty();
    if (fresh) {
        if (FileResult reserved = reserveName(sourcePath, chosen); !reserved.ok()) {
            return reserved;
        }
    }
    const FileResult written =
        replaceFileContents(folder_ + "/" + chosen, bytes, {.inPlaceWhenFolderRefuses = false});
    if (!written.ok()) {
        if (fresh) {
            discard(chosen);
        }
        return written;
    }
    name = chosen;
    if (fresh) {
        prune(chosen);
    }
    return {};
}

void RecoveryFolder::discard(const std::string &name) const {
    if (!name.empty()) {
        ::unlink((folder_ + "/" + name).c_str());
    }
}

FileResult RecoveryFolder::makeFolder() const {
    if (folder_.empty()) {
        return {"There is no folder for recovered texts: neither XDG_STATE_HOME nor HOME is set"};
    }
    // Each missing level private to the user, as the state folder should be.
    for (std::size_t slash = folder_.find('/', 1);; slash = folder_.find('/', slash + 1)) {
        const std::string level = folder_.substr(0, slash);
        if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) {
            return systemFailure(errno);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat made;
    if (::stat(folder_.c_str(), &made) != 0) {
        return systemFailure(errno);
    }
    return S_ISDIR(made.st_mode) ? FileResult{} : systemFailure(ENOTDIR);
}

FileResult RecoveryFolder::reserveName(std::string_view sourcePath, std::string &name) const {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    ::localtime_r(&now, &local);
    for (int sequence = 1; sequence <= kNamesTriedPerSecond; ++sequence) {
        const std::string candidate = recoveryFileName(sourcePath, local, sequence);
        const int fd = ::open((folder_ + "/" + candidate).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0) {
            ::close(fd);
            name = candidate;
            return {};
        }
        if (errno != EEXIST) {
            return systemFailure(errno);
        }
    }
    return systemFailure(EEXIST);
}

void RecoveryFolder::prune(const std::string &current) const {
    struct Entry {
        fs::file_time_type written;
        std::string name;
    };
    std::vector<Entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        std::error_code entryError;
        if (it->is_regular_file(entryError)) {
            const fs::file_time_type written = it->last_write_time(entryError);
            if (!entryError) {
                entries.push_back({written, it->path().filename().string()});
            }
        }
    }
    if (entries.size() <= keep_) {
        return;
    }
    // Newest first; within one tick of the clock the later name (a higher sequence) is newer.
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.written != b.written ? a.written > b.written : a.name > b.name;
    });
    std::size_t kept = 1;  // the current copy, wherever it stands
    for (const Entry &entry : entries) {
        if (entry.name == current) {
            continue;
        }
        if (kept < keep_) {
            ++kept;
        } else {
            discard(entry.name);
        }
    }
}

}  // namespace scrivo
