// The sentence Orvex adds to a sanitizer's report: the kind of fault and the first line of the
// learner's file on its stack.
#include "FaultReport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Frame(int number, const std::string &function, const std::string &place) {
    return "    #" + std::to_string(number) + " 0x55f8b6359453 in " + function + " " + place + "\n";
}

TEST(FaultReportTest, NamesTheFaultAndTheLearnersLine) {
    const std::string ball = "/home/me/src/ball.c";
    const std::string spaced = "/home/me/My Programs/ball.c";
    const struct {
        const char *what;
        std::string report;
        std::string source;
        const char *sentence;
    } cases[] = {
        {"array write",
         "==1==ERROR: AddressSanitizer: stack-buffer-overflow on address 0x7ffe\n"
         "WRITE of size 4 at 0x7ffe thread T0\n" +
             Frame(0, "main", ball + ":12") + Frame(1, "__libc_start_main", "x.c:3"),
         ball, "the program wrote outside an array at ball.c line 12"},
        {"array read inside the library, called from the learner's line",
         "==1==ERROR: AddressSanitizer: heap-buffer-overflow on address 0x6020\n"
         "READ of size 4 at 0x6020 thread T0\n" +
             Frame(0, "DrawLine", "/build/graphics/Primitives.cpp:40") +
             Frame(1, "main", ball + ":30:7") + "allocated by thread T0 here:\n" +
             Frame(0, "main", ball + ":8"),
         ball, "the program read outside an array at ball.c line 30"},
        {"NULL write, folder with a space",
         "==1==ERROR: AddressSanitizer: SEGV on unknown address 0x000000000000\n"
         "==1==The signal is caused by a WRITE memory access.\n"
         "==1==Hint: address points to the zero page.\n" +
             Frame(0, "main", spaced + ":7"),
         spaced, "the program wrote through a NULL pointer at ball.c line 7"},
        {"earlier messages name other lines",
         ball + ":3:5: runtime error: signed integer overflow\n" +
             "==1==ERROR: AddressSanitizer: heap-use-after-free on address 0x6020\n" +
             Frame(0, "main", ball + ":9"),
         ball, "the program used memory after freeing it at ball.c line 9"},
        {"no frame in the learner's file",
         "==1==ERROR: AddressSanitizer: attempting double-free on 0x6020\n" +
             Frame(0, "free", "asan_malloc_linux.cpp:52"),
         ball, "the program freed the same memory twice"},
        {"a file of the same name elsewhere",
         "==1==ERROR: AddressSanitizer: stack-overflow on address 0x7ffe\n" +
             Frame(0, "walk", "/other/ball.c:4"),
         ball,
         "the program ran out of stack, most often because a function calls itself without end"},
        {"only undefined-behaviour messages", ball + ":3:5: runtime error: division by zero\n",
         ball, ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(orvex::DescribeFault(c.report, c.source), c.sentence) << c.what;
    }
}

}  // namespace
