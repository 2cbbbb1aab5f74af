#include "FaultReport.h"

#include <cctype>

namespace orvex {

namespace {

constexpr std::string_view kFaultStart = "ERROR: AddressSanitizer";

struct FaultKind {
    std::string_view Marker;    // what the report says of the fault
    std::string_view Detail;    // further text that must be there too, or empty
    std::string_view Sentence;  // what the learner is told
};

// Checked in order: a kind with a detail comes before the same marker without one, and the
// catch-all kinds come last.
constexpr FaultKind kFaultKinds[] = {
    {"-buffer-", "WRITE of size", "the program wrote outside an array"},
    {"-buffer-", "", "the program read outside an array"},
    {"address points to the zero page", "WRITE memory access",
     "the program wrote through a NULL pointer"},
    {"points to the zero page", "", "the program read through a NULL pointer"},
    {"heap-use-after-free", "", "the program used memory after freeing it"},
    {"double-free", "", "the program freed the same memory twice"},
    {"bad-free", "", "the program freed memory that malloc had not given it"},
    {"stack-overflow", "",
     "the program ran out of stack, most often because a function calls itself without end"},
    {"stack-use-after-", "", "the program used a local variable after its block had ended"},
    {"SEGV on unknown address", "", "the program used a pointer that points nowhere valid"},
    {kFaultStart, "", "the program used memory that is not its own"},
};

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

std::string DescribeFault(std::string_view report, std::string_view sourcePath) {
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
        return sentence;
    }
    return {};
}

}  // namespace orvex
