#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace orvex {

SignalWatch::SignalWatch() {
    sigemptyset(&watched_);
    // SIGCHLD wakes the wait; it is never ignored by default while it is blocked.
    sigaddset(&watched_, SIGCHLD);
    for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&watched_, signal);
        }
    }
    sigprocmask(SIG_BLOCK, &watched_, &original_);
}

void SignalWatch::note(int signal, pid_t child) {
    switch (signal) {
        case SIGINT:
        case SIGQUIT:
            // The terminal sent it to the child as well: its end is what gets reported.
            interruption_ = signal;
            break;
        case SIGHUP:
        case SIGTERM:
            ending_ = signal;
            if (child > 0) {
                kill(child, signal);
            }
            break;
        default:
            break;
    }
}

int SignalWatch::waitFor(pid_t child) {
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) {
            return status;
        }
        if (ended < 0 && errno != EINTR) {
            return -1;
        }
        siginfo_t info;
        const int signal = sigwaitinfo(&watched_, &info);
        if (signal > 0) {
            note(signal, child);
        }
    }
}

void SignalWatch::takePending() {
    const timespec now{};
    siginfo_t info;
    for (int signal; (signal = sigtimedwait(&watched_, &info, &now)) > 0;) {
        note(signal, 0);
    }
}

void SignalWatch::endByEndingSignal() {
    // Blocked, the raised signal waits until the mask opens, and then ends the process.
    raise(ending_);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, ending_);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::_Exit(128 + ending_);
}

void SignalWatch::release() {
    takePending();
    sigprocmask(SIG_SETMASK, &original_, nullptr);
}

int RunAndWait(const std::vector<std::string> &command, SignalWatch &signals, const char *folder,
               ChildOutput output) {
    std::vector<char *> argv;
    for (const std::string &word : command) {
        argv.push_back(const_cast<char *>(word.c_str()));
    }
    argv.push_back(nullptr);
    // The child writes errno here when it cannot start the program; exec closes it otherwise.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        errno = error;
        return -1;
    }
    if (child == 0) {
        sigprocmask(SIG_SETMASK, &signals.originalMask(), nullptr);
        if (output == ChildOutput::Discarded) {
            const int nowhere = open("/dev/null", O_WRONLY);
            dup2(nowhere, STDOUT_FILENO);
            dup2(nowhere, STDERR_FILENO);
        }
        if (folder == nullptr || chdir(folder) == 0) {
            execv(argv[0], argv.data());
        }
        const int error = errno;
        [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int error = 0;
    const bool failed = read(report[0], &error, sizeof error) == sizeof error;
    close(report[0]);
    const int status = signals.waitFor(child);
    if (failed) {
        errno = error;
        return -1;
    }
    return status;
}

}  // namespace orvex
