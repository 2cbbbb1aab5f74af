// The sentence and the status Orvex takes from a sanitizer's report, over real reports of real
// programs (fault-reports/NAME.txt, from /tmp/learner/NAME.c built with gcc, or clang where the
// name says so, shadow maps and deep stacks cut), and how much of the report folder it reads.
#include "FaultReport.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Report(const std::string &name) {
    std::ostringstream text;
    text << std::ifstream(fs::path(FAULT_REPORTS) / (name + ".txt")).rdbuf();
    EXPECT_FALSE(text.str().empty()) << name;
    return text.str();
}

TEST(FaultReportTest, NamesOnlyTheFaultsTheReportShowsAndTheirCrashSignal) {
    const struct {
        const char *Report;
        const char *Sentence;
        int Signal;
    } cases[] = {
        {"stack_write", "the program wrote outside an array at stack_write.c line 5", SIGSEGV},
        {"heap_read", "the program read outside an array at heap_read.c line 5", SIGSEGV},
        {"heap_read_clang", "the program read outside an array at heap_read_clang.c line 5",
         SIGSEGV},
        // In strcpy: the first frame in the learner's file is the call.
        {"global_write", "the program wrote outside an array at global_write.c line 4", SIGSEGV},
        {"null_write", "the program wrote through a NULL pointer at null_write.c line 4", SIGSEGV},
        {"null_read", "the program read through a NULL pointer at null_read.c line 5", SIGSEGV},
        // A call through NULL leaves no frame of the caller.
        {"null_call", "the program called a function through a NULL pointer", SIGSEGV},
        {"wild_pointer",
         "the program used a pointer that points nowhere valid at wild_pointer.c line 4", SIGSEGV},
        {"use_after_free", "the program used memory after freeing it at use_after_free.c line 6",
         SIGSEGV},
        {"use_after_scope",
         "the program used a local variable after its block had ended at use_after_scope.c line 8",
         SIGSEGV},
        {"double_free", "the program freed the same memory twice at double_free.c line 5", SIGABRT},
        {"bad_free", "the program freed memory that malloc had not given it at bad_free.c line 4",
         SIGABRT},
        {"stack_overflow",
         "the program ran out of stack, most often because a function calls itself without end at "
         "stack_overflow.c line 1",
         SIGSEGV},
        {"divide_by_zero",
         "the program divided an integer by zero (or the smallest int by -1) at divide_by_zero.c "
         "line 5",
         SIGFPE},
        {"overflow_division",
         "the program divided an integer by zero (or the smallest int by -1) at "
         "overflow_division.c line 6",
         SIGFPE},
        // A kind without a sentence: the report speaks for itself, the status is still a crash's.
        {"negative_size", "", SIGSEGV},
    };
    for (const auto &c : cases) {
        const std::string source = std::string("/tmp/learner/") + c.Report + ".c";
        const orvex::FaultDescription fault = orvex::DescribeFault(Report(c.Report), source);
        EXPECT_EQ(fault.Sentence, c.Sentence) << c.Report;
        EXPECT_EQ(fault.Signal, c.Signal) << c.Report;
    }
    // The same name in another folder is another file: no line is named.
    EXPECT_EQ(orvex::DescribeFault(Report("stack_write"), "/home/me/stack_write.c").Sentence,
              "the program wrote outside an array");
    // Undefined behaviour the program went on after is no fault that stopped it.
    const orvex::FaultDescription none = orvex::DescribeFault(
        "ball.c:3:5: runtime error: signed integer overflow\n", "/tmp/learner/ball.c");
    EXPECT_EQ(none.Sentence, "");
    EXPECT_EQ(none.Signal, 0);
}

TEST(FaultReportTest, ReadsTheProgramsOwnReportFirstAndNoMoreThanTheLimit) {
    char folder[] = "/tmp/orvex-reports-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const fs::path reports = folder;
    std::ofstream(reports / "report.100") << "child's report\n";
    std::ofstream(reports / "report.200") << "program's report\n";
    std::ofstream(reports / "report.2000") << std::string(5000, 'x');
    fs::create_directory(reports / "report.300");

    const orvex::FaultReports all = orvex::ReadFaultReports(reports, 200, 100000);
    EXPECT_EQ(all.Program, "program's report\n");
    EXPECT_EQ(all.Others, "child's report\n" + std::string(5000, 'x'));

    const orvex::FaultReports bounded = orvex::ReadFaultReports(reports, 200, 40);
    EXPECT_EQ(bounded.Program, "program's report\n");
    EXPECT_EQ(bounded.Others, "child's report\n" + std::string(40 - 17 - 15, 'x') +
                                  "\n[Orvex left out the rest of the sanitizers' reports: " +
                                  std::to_string(5000 - 8) + " bytes]\n");
    fs::remove_all(reports);
}

}  // namespace
