// Reads what AddressSanitizer wrote about a learner's program that it stopped, and says it again
// in one plain sentence naming the line of the learner's file where the fault happened.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvex {

struct FaultDescription {
    // One plain sentence without a full stop, naming the first line of the learner's file on the
    // fault's stack ("the program wrote outside an array at ball.c line 12"); empty when the
    // report names no fault, or one of a kind that Orvex has no sentence for.
    std::string Sentence;
    // The signal that the fault would have ended the program with without the sanitizer (what
    // the program's status then tells), or 0 when the report names no fault.
    int Signal = 0;
};

// The report without its map of shadow memory, which tells a learner nothing.
std::string_view TrimFaultReport(std::string_view report);

FaultDescription DescribeFault(std::string_view report, std::string_view sourcePath);

struct FaultReports {
    std::string Program;  // what the sanitizers wrote about the program itself
    std::string Others;   // about processes it started
};

// The report files in `folder`, those whose name ends in ".<program>" (the program's own) first,
// up to `limit` bytes in all; a line at the end says what was left out.
FaultReports ReadFaultReports(const std::filesystem::path &folder, int program, std::size_t limit);

}  // namespace orvex
