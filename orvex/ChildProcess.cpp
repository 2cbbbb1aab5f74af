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
    sigemptyset(&Watched);
    // SIGCHLD wakes the wait; it is never ignored by default while it is blocked.
    sigaddset(&Watched, SIGCHLD);
    for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
        struct sigaction current = {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&Watched, signal);
        }
    }
    sigprocmask(SIG_BLOCK, &Watched, &Original);
}

void SignalWatch::Note(int signal, pid_t child) {
    switch (signal) {
        case SIGINT:
        case SIGQUIT:
            // The terminal sent it to the child as well: its end is what gets reported.
            InterruptionSignal = signal;
            break;
        case SIGHUP:
        case SIGTERM:
            EndingSignal = signal;
            if (child > 0) {
                kill(child, signal);
            }
            break;
        default:
            break;
    }
}

int SignalWatch::WaitFor(pid_t child) {
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
        const int signal = sigwaitinfo(&Watched, &info);
        if (signal > 0) {
            Note(signal, child);
        }
    }
}

void SignalWatch::TakePending() {
    const timespec now{};
    siginfo_t info;
    for (int signal; (signal = sigtimedwait(&Watched, &info, &now)) > 0;) {
        Note(signal, 0);
    }
}

void SignalWatch::EndByEndingSignal() {
    // Blocked, the raised signal waits until the mask opens, and then ends the process.
    raise(EndingSignal);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, EndingSignal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::_Exit(128 + EndingSignal);
}

void SignalWatch::Release() {
    TakePending();
    sigprocmask(SIG_SETMASK, &Original, nullptr);
}

int RunAndWait(const std::vector<std::string> &command, SignalWatch &signals, const char *folder,
               ChildOutput output) {
    const process::StartResult started = process::startProgram(command, [&signals, folder, output] {
        sigprocmask(SIG_SETMASK, &signals.OriginalMask(), nullptr);
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
    const int status = signals.WaitFor(started.pid);
    if (started.error != 0) {
        errno = started.error;
        return -1;
    }
    return status;
}

}  // namespace orvex
