#include "SaveAsFolder.h"

#include <filesystem>

namespace scrivo {
namespace {

namespace fs = std::filesystem;

bool SameFolder(const std::string &a, const std::string &b) {
    // "/a/b/" and "/a/./b" are the folder "/a/b" too.
    const auto normal = [](const std::string &path) {
        fs::path folder = fs::path(path).lexically_normal();
        return folder.has_filename() ? folder : folder.parent_path();
    };
    return normal(a) == normal(b);
}

}  // namespace

std::string SaveAsFolder(const SaveAsPlaces &places) {
    if (!places.currentPath.empty()) {
        return fs::path(places.currentPath).parent_path().string();
    }
    for (const std::string *folder : {&places.lastSavedFolder, &places.workingDirectory}) {
        if (!folder->empty() && !SameFolder(*folder, places.examplesFolder)) {
            return *folder;
        }
    }
    return places.homeFolder;
}

}  // namespace scrivo
