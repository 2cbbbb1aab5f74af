#include "FaultReport.h"

#include <signal.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

namespace orvex {

namespace {

constexpr std::string_view kFaultStart = "ERROR: AddressSanitizer";

struct FaultKind {
    std::string_view Marker;    // what the report says of the fault
    std::string_view Detail;    // further text that must be there too, or empty
    std::string_view Sentence;  // what the learner is told
    int Signal;
};

// Checked in order: a kind with a detail comes before the same marker without one. A fault of a
// kind not listed gets no sentence: a vague one would mislead more than none.
constexpr FaultKind kFaultKinds[] = {
    {"-buffer-", "WRITE of size", "the program wrote outside an array", SIGSEGV},
    {"-buffer-", "READ of size", "the program read outside an array", SIGSEGV},
    {"pc points to the zero page", "", "the program called a function through a NULL pointer",
     SIGSEGV},
    {"address points to the zero page", "WRITE memory access",
     "the program wrote through a NULL pointer", SIGSEGV},
    {"address points to the zero page", "READ memory access",
     "the program read through a NULL pointer", SIGSEGV},
    {"heap-use-after-free", "", "the program used memory after freeing it", SIGSEGV},
    {"double-free", "", "the program freed the same memory twice", SIGABRT},
    {"bad-free", "", "the program freed memory that malloc had not given it", SIGABRT},
    {"stack-overflow", "",
     "the program ran out of stack, most often because a function calls itself without end",
     SIGSEGV},
    {"stack-use-after-", "", "the program used a local variable after its block had ended",
     SIGSEGV},
    {"SEGV on unknown address", "", "the program used a pointer that points nowhere valid",
     SIGSEGV},
    // On this processor only an integer division raises it: by zero, or INT_MIN by -1.
    {"FPE on unknown address", "",
     "the program divided an integer by zero (or the smallest int by -1)", SIGFPE},
};

// The signals the runtime names when it caught one, for the kinds without a sentence.
constexpr struct {
    std::string_view Name;
    int Signal;
} kCaughtSignals[] = {{"BUS on unknown address", SIGBUS}, {"ILL on unknown address", SIGILL}};

// The first line of the source file named on the report's stacks; 0 when there is none. Frames
// name the file as it was compiled, followed by the line and perhaps a column ("/src/ball.c:12").
int FirstSourceLine(std::string_view report, std::string_view sourcePath) {
    const std::string needle = std::string(sourcePath) + ":";
    for (std::size_t at = report.find(needle); at != std::string_view::npos;
         at = report.find(needle, at + 1)) {
        int line = 0;
        std::size_t digit = at + needle.size();
        while (digit < report.size() && std::isdigit(static_cast<unsigned char>(report[digit]))) {
            line = line * 10 + (report[digit] - '0');
            ++digit;
        }
        if (line > 0) {
            return line;
        }
    }
    return 0;
}

}  // namespace

std::string_view TrimFaultReport(std::string_view report) {
    const std::size_t map = report.find("Shadow bytes around the buggy address");
    return map == std::string_view::npos ? report : report.substr(0, map);
}

FaultDescription DescribeFault(std::string_view report, std::string_view sourcePath) {
    const std::size_t start = report.find(kFaultStart);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::string_view fault = report.substr(start);
    for (const FaultKind &kind : kFaultKinds) {
        if (fault.find(kind.Marker) == std::string_view::npos ||
            fault.find(kind.Detail) == std::string_view::npos) {
            continue;
        }
        std::string sentence(kind.Sentence);
        if (const int line = FirstSourceLine(fault, sourcePath)) {
            const std::size_t slash = sourcePath.rfind('/');
            const std::string_view name =
                slash == std::string_view::npos ? sourcePath : sourcePath.substr(slash + 1);
            sentence += " at " + std::string(name) + " line " + std::to_string(line);
        }
        return {sentence, kind.Signal};
    }
    for (const auto &caught : kCaughtSignals) {
        if (fault.find(caught.Name) != std::string_view::npos) {
            return {{}, caught.Signal};
        }
    }
    return {{}, SIGSEGV};
}

FaultReports ReadFaultReports(const std::filesystem::path &folder, int program, std::size_t limit) {
    std::vector<std::filesystem::path> reports;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
        // The program may have put anything there: a named pipe would never end a read.
        if (entry.is_regular_file(error)) {
            reports.push_back(entry.path());
        }
    }
    const std::string own = '.' + std::to_string(program);
    const auto isOwn = [&own](const std::filesystem::path &report) {
        const std::string name = report.filename().string();
        return name.size() > own.size() &&
               name.compare(name.size() - own.size(), own.size(), own) == 0;
    };
    std::sort(reports.begin(), reports.end(), [&isOwn](const auto &left, const auto &right) {
        return std::make_pair(!isOwn(left), left) < std::make_pair(!isOwn(right), right);
    });
    FaultReports read;
    std::size_t room = limit;
    std::uintmax_t leftOut = 0;
    for (const std::filesystem::path &report : reports) {
        std::ifstream file(report, std::ios::binary);
        std::string part(room, '\0');
        file.read(part.data(), static_cast<std::streamsize>(part.size()));
        part.resize(static_cast<std::size_t>(file.gcount()));
        room -= part.size();
        (isOwn(report) ? read.Program : read.Others) += part;
        const std::uintmax_t size = std::filesystem::file_size(report, error);
        if (!error && size > part.size()) {
            leftOut += size - part.size();
        }
    }
    if (leftOut > 0) {
        read.Others +=
            "\n[Orvex left out the rest of the sanitizers' reports: " + std::to_string(leftOut) +
            " bytes]\n";
    }
    return read;
}

}  // namespace orvex
