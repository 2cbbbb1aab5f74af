#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "ForkExec.h"

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
    const process::StartResult started = process::startProgram(command, [&signals, folder, output] {
        sigprocmask(SIG_SETMASK, &signals.originalMask(), nullptr);
        if (output == ChildOutput::Discarded) {
            const int nowhere = open("/dev/null", O_WRONLY);
            dup2(nowhere, STDOUT_FILENO);
            dup2(nowhere, STDERR_FILENO);
        }
        return folder == nullptr || chdir(folder) == 0;
    });
    if (started.pid < 0) {
        errno = started.error;
        return -1;
    }
    const int status = signals.waitFor(started.pid);
    if (started.error != 0) {
        errno = started.error;
        return -1;
    }
    return status;
}

}  // namespace orvex
