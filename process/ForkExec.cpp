#include "ForkExec.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace process {
namespace {

void ReportError(int fd, int error) {
    [[maybe_unused]] const ssize_t written = ::write(fd, &error, sizeof error);
}

// The error number the child sent, or 0 when every write end closed without one.
int ReadReport(int fd) {
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(fd, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace

StartResult StartProgram(const std::vector<std::string> &command, const ChildPreparation &prepare,
                         const std::string &path) {
    if (command.empty()) {
        return {-1, EINVAL};
    }
    // Built before forking: the child may not allocate.
    std::vector<char *> argv;
    argv.reserve(command.size() + 1);
    for (const std::string &word : command) {
        argv.push_back(const_cast<char *>(word.c_str()));
    }
    argv.push_back(nullptr);
    const char *program = path.empty() ? argv[0] : path.c_str();

    // Close-on-exec: a successful exec closes the child's end, so the read below ends empty.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return {-1, errno};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return {-1, error};
    }
    if (child == 0) {
        if (!prepare || prepare()) {
            ::execv(program, argv.data());
        }
        ReportError(report[1], errno);
        ::_exit(127);
    }
    ::close(report[1]);
    const int error = ReadReport(report[0]);
    ::close(report[0]);
    return {child, error};
}

}  // namespace process
