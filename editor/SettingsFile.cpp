// The settings file. The document is kept whole between read and write so that comments, the
// declaration and any elements a user added survive a run. Saving goes through a temporary file
// beside the target and a rename, so a crash or a full disk never leaves half a file behind.
#include "SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "ColorSchemes.h"

namespace scrivo {
namespace {

using tinyxml2::XMLElement;
using tinyxml2::XMLError;

constexpr const char *kRootName = "ScrivoSettings";
constexpr const char *kColorSchemeName = "ColorScheme";
constexpr const char *kKeyClickName = "KeyClick";

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a number the way atoi does (leading white space, optional sign, digits up to the first
// other character, 0 without digits), but saturates instead of overflowing.
int leadingInt(const char *text) {
    while (isCSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

const char *childText(const XMLElement *root, const char *name) {
    const XMLElement *child = root == nullptr ? nullptr : root->FirstChildElement(name);
    return child == nullptr ? nullptr : child->GetText();
}

XMLElement *childOrNew(XMLElement &parent, const char *name) {
    if (XMLElement *child = parent.FirstChildElement(name)) return child;
    return parent.InsertNewChildElement(name);
}

bool somethingExistsAt(const std::string &path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

// Creates a file no one else can have opened, beside `target`. Returns -1 when none can be made.
int createTemporaryBeside(const std::string &target, std::string &tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

EditorSettings SettingsFile::read() {
    EditorSettings settings{kFallbackSchemeId, true};
    const XMLError result = document_.LoadFile(path_.c_str());
    if (result == XMLError::XML_SUCCESS) {
        origin_ = Origin::Parsed;
    } else if (result == XMLError::XML_ERROR_EMPTY_DOCUMENT ||
               (result == XMLError::XML_ERROR_FILE_NOT_FOUND && !somethingExistsAt(path_))) {
        origin_ = Origin::Nothing;
    } else {
        origin_ = Origin::Unusable;
    }
    if (origin_ != Origin::Parsed) {
        document_.Clear();
        return settings;
    }
    const XMLElement *root = document_.FirstChildElement();
    if (const char *text = childText(root, kColorSchemeName)) {
        settings.colorSchemeId = leadingInt(text);
    }
    if (const char *text = childText(root, kKeyClickName)) {
        settings.keyClick = leadingInt(text) == 1;
    }
    return settings;
}

bool SettingsFile::write(const EditorSettings &settings) {
    if (origin_ == Origin::Unusable) return false;
    if (document_.NoChildren()) document_.InsertEndChild(document_.NewDeclaration());
    XMLElement *root = document_.FirstChildElement();
    if (root == nullptr) {
        root = document_.InsertEndChild(document_.NewElement(kRootName))->ToElement();
    }
    childOrNew(*root, kColorSchemeName)->SetText(settings.colorSchemeId);
    childOrNew(*root, kKeyClickName)->SetText(settings.keyClick ? "1" : "0");
    return saveReplacing();
}

bool SettingsFile::saveReplacing() {
    struct stat existing {};
    const bool targetExists = ::stat(path_.c_str(), &existing) == 0;
    // rename() would replace a file the user made read-only; honour the protection instead.
    if (targetExists && ::access(path_.c_str(), W_OK) != 0) return false;

    std::string tempPath;
    const int fd = createTemporaryBeside(path_, tempPath);
    if (fd < 0) return false;
    if (targetExists) ::fchmod(fd, existing.st_mode & 07777);
    std::FILE *file = ::fdopen(fd, "w");
    if (file == nullptr) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return false;
    }
    document_.SaveFile(file, false);
    bool written = std::fflush(file) == 0 && !std::ferror(file) && ::fsync(fd) == 0;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(tempPath.c_str(), path_.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return false;
    }
    return true;
}

}  // namespace scrivo
