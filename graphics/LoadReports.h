// What the loaders tell a learner on standard error, one line each: that a picture could not be
// loaded and why (the handle alone cannot say so), and that a program keeps loading the same file
// while its earlier copies are still in use, which is a load inside the frame loop: every frame
// adds a texture, image or font until memory runs out. Internal header.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace graphics {

// "cannot load picture <path>: <reason>". A line already written is not written again, so a
// failing load inside the frame loop does not bury everything else in the terminal.
void ReportFailedPictureLoad(const char *path, std::string_view reason);

// Live loads of this many handles from one path make the warning.
inline constexpr int kRepeatedLoadsWarned = 20;

// Counts, per path, the handles loaded from it that are still in use, and warns once per path
// when they reach kRepeatedLoadsWarned.
class RepeatedLoadWatch {
  public:
    // `things` names what the handles stand for, in the plural ("textures").
    RepeatedLoadWatch(const char *things, int handleCount);

    void Loaded(int handle, const char *path);
    void Released(int handle);

  private:
    struct PathLoads {
        int InUse = 0;
        bool Warned = false;
    };
    using PathEntry = std::unordered_map<std::string, PathLoads>::value_type;

    const char *Things;
    std::unordered_map<std::string, PathLoads> Paths;
    std::vector<PathEntry *> HandlePaths;  // the entry of each live handle's path; null if none
};

}  // namespace graphics
