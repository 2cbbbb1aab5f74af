// The loaders' messages. Paths come from the program and may hold anything; control characters
// are written escaped so that a message stays one line and cannot drive the terminal.
#include "LoadReports.h"

#include <cstdio>
#include <unordered_set>

namespace graphics {

namespace {

std::string Printable(const char *path) {
    std::string out;
    for (const char *c = path; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += *c;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        out += escaped;
    }
    return out;
}

void WriteLine(const std::string &line) {
    std::fputs(line.c_str(), stderr);
    std::fputc('\n', stderr);
}

}  // namespace

void ReportFailedPictureLoad(const char *path, std::string_view reason) {
    static std::unordered_set<std::string> written;
    std::string line = "cannot load picture " + (path ? Printable(path) : "(null)") + ": ";
    line += reason;
    if (written.insert(line).second) WriteLine(line);
}

RepeatedLoadWatch::RepeatedLoadWatch(const char *things, int handleCount)
    : Things(things), HandlePaths(static_cast<std::size_t>(handleCount), nullptr) {}

void RepeatedLoadWatch::Loaded(int handle, const char *path) {
    if (path == nullptr) return;
    PathEntry &entry = *Paths.try_emplace(path).first;
    HandlePaths[static_cast<std::size_t>(handle)] = &entry;
    PathLoads &loads = entry.second;
    if (++loads.InUse < kRepeatedLoadsWarned || loads.Warned) return;
    loads.Warned = true;
    WriteLine("loading \"" + Printable(path) +
              "\" again and again: " + std::to_string(loads.InUse) + " " + Things +
              " from it are in use. Load it once, before the frame loop, and use that handle in "
              "every frame.");
}

void RepeatedLoadWatch::Released(int handle) {
    PathEntry *&entry = HandlePaths[static_cast<std::size_t>(handle)];
    if (entry == nullptr) return;
    // A path that was warned about stays, so that the warning is written only once.
    if (--entry->second.InUse == 0 && !entry->second.Warned) Paths.erase(entry->first);
    entry = nullptr;
}

}  // namespace graphics
