// F5 against compiling by hand: from the start of the command to the program's first output, for
// a console hello and for hello_window.c to its first frame. Each iteration runs every way once,
// in a rotating order, so that the load of a shared machine falls on all of them alike; the
// counters give the minimum and the median of each way in milliseconds and Orvex's ratios to the
// hand-made build. Orvex keeps its cache of the compiler's answers in a folder of the benchmark's
// own, filled by a first run that is not counted. Needs an X server (xvfb-run -a).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Way {
    const char *Name;
    std::string Command;  // for /bin/sh, in the program's folder
    std::vector<double> Milliseconds;
};

// An app folder beside the programs, laid out as the installed one, and Orvex's scratch and cache
// folders; removed at the end.
class Workbench {
  public:
    Workbench() {
        char folder[] = "/tmp/orvex-benchmark-XXXXXX";
        if (mkdtemp(folder) == nullptr) {
            std::abort();
        }
        Root = folder;
        fs::create_directories(Root / "app" / "include");
        fs::create_directories(Root / "app" / "lib");
        fs::create_directories(Root / "tmp");
        fs::copy_file(ORVEX_EXECUTABLE, Root / "app" / "Orvex");
        fs::create_symlink(GRAPHICS_HEADER, Root / "app" / "include" / "Graphics.h");
        fs::create_symlink(GRAPHICS_LIBRARY, Root / "app" / "lib" / "libGraphics.so");
        fs::create_symlink(TACTIL_LIBRARY, Root / "app" / "lib" / "libTactil.so");
        std::ofstream(Root / "hello.c") << "#include <stdio.h>\n"
                                           "int main(void) { puts(\"first output\"); return 0; }\n";
        // The example as it stands, ending once its first frame is on the screen.
        std::ostringstream example;
        example << std::ifstream(HELLO_WINDOW_SOURCE).rdbuf();
        std::string text = example.str();
        const std::string loop = "} while (UpdateScreen());";
        const std::size_t at = text.find(loop);
        if (at == std::string::npos) {
            std::abort();
        }
        text.replace(at, loop.size(),
                     "} while (UpdateScreen() && (puts(\"first output\"), fflush(stdout), 0));");
        std::ofstream(Root / "window.c") << text;
    }
    ~Workbench() { fs::remove_all(Root); }
    Workbench(const Workbench &) = delete;
    Workbench &operator=(const Workbench &) = delete;

    std::string Orvex(const std::string &settings, const char *file) const {
        return "TMPDIR='" + (Root / "tmp").string() + "' XDG_CACHE_HOME='" +
               (Root / "cache").string() + "' ORVEX_TERMINAL=none " + settings + " '" +
               (Root / "app" / "Orvex").string() + "' " + file;
    }
    std::string ByHand(const char *file, const std::string &libraries) const {
        return "gcc " + std::string(file) + " -o '" + (Root / "tmp" / "by-hand").string() + "' " +
               libraries + " && '" + (Root / "tmp" / "by-hand").string() + "'";
    }
    std::string GraphicsLibraries() const {
        const std::string app = (Root / "app").string();
        return "-I'" + app + "/include' -L'" + app + "/lib' -Wl,-rpath,'" + app +
               "/lib' -lGraphics -lTactil -lm";
    }

    fs::path Root;
};

// Milliseconds from starting `command` to its first output line; waits for its end uncounted.
double TimeToFirstOutput(const std::string &command, const fs::path &folder) {
    int output[2];
    if (pipe(output) != 0) {
        std::abort();
    }
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        const int nowhere = open("/dev/null", O_RDWR);
        dup2(nowhere, STDIN_FILENO);
        dup2(nowhere, STDERR_FILENO);
        if (chdir(folder.c_str()) == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
        }
        _exit(127);
    }
    close(output[1]);
    std::string seen;
    char buffer[256];
    Clock::time_point first = start;
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;) {
        seen.append(buffer, static_cast<std::size_t>(got));
        if (first == start && seen.find("first output\n") != std::string::npos) {
            first = Clock::now();
        }
    }
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (first == start || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::abort();
    }
    return std::chrono::duration<double, std::milli>(first - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The first way is Orvex with the sanitizers, whose time the benchmark reports; the last is the
// hand-made build the ratios compare against.
void Compare(benchmark::State &state, const Workbench &bench, std::vector<Way> ways) {
    TimeToFirstOutput(ways.front().Command, bench.Root);
    std::size_t turn = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < ways.size(); ++i) {
            Way &way = ways[(turn + i) % ways.size()];
            way.Milliseconds.push_back(TimeToFirstOutput(way.Command, bench.Root));
        }
        state.SetIterationTime(ways.front().Milliseconds.back() / 1000);
        ++turn;
    }
    for (const Way &way : ways) {
        const auto least = *std::min_element(way.Milliseconds.begin(), way.Milliseconds.end());
        state.counters[std::string(way.Name) + "_min_ms"] = least;
        state.counters[std::string(way.Name) + "_median_ms"] = Median(way.Milliseconds);
    }
    const Way &orvex = ways.front();
    const Way &byHand = ways.back();
    state.counters["ratio_min"] =
        *std::min_element(orvex.Milliseconds.begin(), orvex.Milliseconds.end()) /
        *std::min_element(byHand.Milliseconds.begin(), byHand.Milliseconds.end());
    state.counters["ratio_median"] = Median(orvex.Milliseconds) / Median(byHand.Milliseconds);
}

void BM_ConsoleHello(benchmark::State &state) {
    const Workbench bench;
    Compare(state, bench,
            {{"orvex", bench.Orvex("", "hello.c"), {}},
             {"orvex_plain", bench.Orvex("ORVEX_SANITIZE=0", "hello.c"), {}},
             {"gcc", bench.ByHand("hello.c", ""), {}}});
}
BENCHMARK(BM_ConsoleHello)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

void BM_HelloWindowFirstFrame(benchmark::State &state) {
    const Workbench bench;
    Compare(state, bench,
            {{"orvex", bench.Orvex("", "window.c"), {}},
             {"orvex_plain", bench.Orvex("ORVEX_SANITIZE=0", "window.c"), {}},
             {"gcc", bench.ByHand("window.c", bench.GraphicsLibraries()), {}}});
}
BENCHMARK(BM_HelloWindowFirstFrame)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
