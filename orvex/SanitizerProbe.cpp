#include "SanitizerProbe.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "BuildFlags.h"

namespace orvex {

namespace fs = std::filesystem;

namespace {

// Tried after the compiler's own linker, fastest first: GNU ld spends most of a sanitized build's
// time on the sanitizers' runtime libraries, gold and lld a fraction of it.
constexpr const char *kFasterLinkers[] = {"-fuse-ld=gold", "-fuse-ld=lld"};
constexpr std::string_view kOwnLinker = "default";

// No real cache file comes near this; a larger one is not read.
constexpr std::uintmax_t kLargestCache = 64 * 1024;

std::optional<fs::path> CacheFile() {
    const char *cache = std::getenv("XDG_CACHE_HOME");
    fs::path folder;
    // The convention ignores a relative path.
    if (cache != nullptr && cache[0] == '/') {
        folder = cache;
    } else if (const char *home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        folder = fs::path(home) / ".cache";
    } else {
        return std::nullopt;
    }
    return folder / "orvex" / "sanitizers";
}

// The compiler as the cache knows it: "size modification-time path", the path with its links
// followed, so that switching what `cc` points at asks again. Empty when it cannot be known.
std::string CompilerKey(const std::string &compiler) {
    std::error_code error;
    const fs::path real = fs::canonical(compiler, error);
    struct stat status;
    if (error || stat(real.c_str(), &status) != 0 ||
        real.string().find('\n') != std::string::npos) {
        return {};
    }
    return std::to_string(status.st_size) + " " + std::to_string(status.st_mtim.tv_sec) + "." +
           std::to_string(status.st_mtim.tv_nsec) + " " + real.string();
}

// The cache's lines other than those of `key`'s compiler (under any key); the linker remembered
// for `key` into `linker`, if it is there.
std::string ReadCache(const fs::path &file, const std::string &key,
                      std::optional<std::string> &linker) {
    std::error_code error;
    if (fs::file_size(file, error) > kLargestCache || error) {
        return {};
    }
    const std::string path = key.substr(key.find(' ', key.find(' ') + 1));
    std::ifstream in(file);
    std::string others;
    for (std::string line; std::getline(in, line);) {
        const std::size_t space = line.find(' ');
        if (space != std::string::npos && line.compare(space + 1, std::string::npos, key) == 0) {
            linker = line.substr(0, space);
        } else if (line.size() < path.size() ||
                   line.compare(line.size() - path.size(), path.size(), path) != 0) {
            others += line + "\n";
        }
    }
    return others;
}

// Replaced whole, so that a reader never sees half a file.
void WriteCache(const fs::path &file, const std::string &contents) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    std::string temporary = file.string() + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        return;
    }
    const bool written = write(descriptor, contents.data(), contents.size()) ==
                         static_cast<ssize_t>(contents.size());
    if (close(descriptor) != 0 || !written || rename(temporary.c_str(), file.c_str()) != 0) {
        unlink(temporary.c_str());
    }
}

// Whether `compiler` builds a sanitized program, linking with `linker` unless it is empty; none
// when a signal cut the answer short.
std::optional<bool> Probe(const std::string &compiler, const fs::path &scratch,
                          SignalWatch &signals, const std::string &linker) {
    const fs::path probe = scratch / "sanitizer-probe.c";
    std::ofstream(probe) << "int main(void) { return 0; }\n";
    std::vector<std::string> command = {compiler};
    command.insert(command.end(), std::begin(kSanitizerFlags), std::end(kSanitizerFlags));
    if (!linker.empty()) {
        command.push_back(linker);
    }
    command.insert(command.end(), {"-o", (scratch / "sanitizer-probe").string(), probe.string()});
    ChildOptions options;
    options.Output = ChildOutput::Discarded;
    options.OwnGroup = true;
    const ChildEnd end = RunAndWait(command, signals, options);
    if (end.Status < 0 || !WIFEXITED(end.Status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(end.Status) == 0;
}

}  // namespace

SanitizerAnswer CompilerOffersSanitizers(const std::string &compiler, const fs::path &scratch,
                                         SignalWatch &signals, bool askAgain) {
    const std::optional<fs::path> cache = CacheFile();
    const std::string key = CompilerKey(compiler);
    std::optional<std::string> remembered;
    const std::string others = cache && !key.empty() ? ReadCache(*cache, key, remembered) : "";
    if (remembered && !askAgain) {
        return {true, true, *remembered == kOwnLinker ? "" : *remembered};
    }
    const std::optional<bool> offered = Probe(compiler, scratch, signals, "");
    if (!offered || !*offered) {
        if (offered && remembered && cache) {
            WriteCache(*cache, others);
        }
        return {};
    }
    std::string linker;
    for (const char *faster : kFasterLinkers) {
        const std::optional<bool> links = Probe(compiler, scratch, signals, faster);
        if (!links) {
            return {true, false, ""};
        }
        if (*links) {
            linker = faster;
            break;
        }
    }
    if (cache && !key.empty()) {
        WriteCache(*cache,
                   others + (linker.empty() ? std::string(kOwnLinker) : linker) + " " + key + "\n");
    }
    return {true, false, linker};
}

}  // namespace orvex
