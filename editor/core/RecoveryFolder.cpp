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

FileResult SystemFailure(int error) {
    return {std::strerror(error)};
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The first `length` bytes of `text`, shortened further so no UTF-8 character is cut.
std::string_view Utf8Prefix(std::string_view text, std::size_t length) {
    if (length >= text.size()) {
        return text;
    }
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return text.substr(0, length);
}

}  // namespace

std::string RecoveryFolderPath(const char *stateHome, const char *home) {
    if (stateHome != nullptr && stateHome[0] == '/') {
        return WithoutTrailingSlashes(stateHome) + "/scrivo/recovered";
    }
    if (home != nullptr && home[0] != '\0') {
        return WithoutTrailingSlashes(home) + "/.local/state/scrivo/recovered";
    }
    return {};
}

std::string UserRecoveryFolder() {
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
    return RecoveryFolderPath(std::getenv("XDG_STATE_HOME"), home);
}

std::string RecoveryFileName(std::string_view sourcePath, const std::tm &localTime, int sequence) {
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
    std::string name(Utf8Prefix(stem, NAME_MAX - suffix.size()));
    return name + suffix;
}

RecoveryFolder::RecoveryFolder(std::string folder, std::size_t keep)
    : m_folder(WithoutTrailingSlashes(std::move(folder))), m_keep(keep) {}

FileResult RecoveryFolder::Keep(std::string &name, std::string_view sourcePath,
                                std::string_view bytes) {
    // Made every time: the learner may have cleared the folder away since the last copy.
    if (FileResult made = MakeFolder(); !made.Ok()) {
        return made;
    }
    std::string chosen = name;
    const bool fresh = chosen.empty();
    if (fresh) {
        if (FileResult reserved = ReserveName(sourcePath, chosen); !reserved.Ok()) {
            return reserved;
        }
    }
    const FileResult written =
        ReplaceFileContents(m_folder + "/" + chosen, bytes, {.inPlaceWhenFolderRefuses = false});
    if (!written.Ok()) {
        if (fresh) {
            Discard(chosen);
        }
        return written;
    }
    name = chosen;
    if (fresh) {
        Prune(chosen);
    }
    return {};
}

void RecoveryFolder::Discard(const std::string &name) const {
    if (!name.empty()) {
        ::unlink((m_folder + "/" + name).c_str());
    }
}

FileResult RecoveryFolder::MakeFolder() const {
    if (m_folder.empty()) {
        return {"There is no folder for recovered texts: neither XDG_STATE_HOME nor HOME is set"};
    }
    // Each missing level private to the user, as the state folder should be.
    for (std::size_t slash = m_folder.find('/', 1);; slash = m_folder.find('/', slash + 1)) {
        const std::string level = m_folder.substr(0, slash);
        if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) {
            return SystemFailure(errno);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat made;
    if (::stat(m_folder.c_str(), &made) != 0) {
        return SystemFailure(errno);
    }
    return S_ISDIR(made.st_mode) ? FileResult{} : SystemFailure(ENOTDIR);
}

FileResult RecoveryFolder::ReserveName(std::string_view sourcePath, std::string &name) const {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    ::localtime_r(&now, &local);
    for (int sequence = 1; sequence <= kNamesTriedPerSecond; ++sequence) {
        const std::string candidate = RecoveryFileName(sourcePath, local, sequence);
        const int fd = ::open((m_folder + "/" + candidate).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0) {
            ::close(fd);
            name = candidate;
            return {};
        }
        if (errno != EEXIST) {
            return SystemFailure(errno);
        }
    }
    return SystemFailure(EEXIST);
}

void RecoveryFolder::Prune(const std::string &current) const {
    struct Entry {
        fs::file_time_type written;
        std::string name;
    };
    std::vector<Entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code entryError;
        if (it->is_regular_file(entryError)) {
            const fs::file_time_type written = it->last_write_time(entryError);
            if (!entryError) {
                entries.push_back({written, it->path().filename().string()});
            }
        }
    }
    if (entries.size() <= m_keep) {
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
        if (kept < m_keep) {
            ++kept;
        } else {
            Discard(entry.name);
        }
    }
}

}  // namespace scrivo
