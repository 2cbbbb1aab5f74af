// Reads what AddressSanitizer wrote about a learner's program that it stopped, and says it again
// in one plain sentence naming the line of the learner's file where the fault happened.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// The report without its map of shadow memory, which tells a learner nothing.
std::string_view TrimFaultReport(std::string_view report);

// One plain sentence for the fault in `report`, without a full stop, naming the first line of
// `sourcePath` on the fault's stack ("the program wrote outside an array at ball.c line 12");
// empty when the report names no fault.
std::string DescribeFault(std::string_view report, std::string_view sourcePath);

}  // namespace orvex
