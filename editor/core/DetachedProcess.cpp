#include "DetachedProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace scrivo {

namespace {

void writeError(int fd, int error) {
    [[maybe_unused]] const ssize_t written = write(fd, &error, sizeof error);
}

}  // namespace

int startDetachedProcess(const std::string &program, const std::vector<std::string> &arguments) {
    // Built before forking: between fork and exec only async-signal-safe calls are allowed.
    std::vector<char *> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);

    // The pipe closes on a successful exec; otherwise it carries the error number back.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return errno;
    }
    const pid_t middle = fork();
    if (middle < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return error;
    }
    if (middle == 0) {
        // The middle process exits at once, so the program is adopted by init and reaped there.
        const pid_t programPid = fork();
        if (programPid == 0) {
            setsid();
            execv(argv[0], argv.data());
            writeError(report[1], errno);
            _exit(127);
        }
        if (programPid < 0) {
            writeError(report[1], errno);
        }
        _exit(0);
    }
    close(report[1]);
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace scrivo
