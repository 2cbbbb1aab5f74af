#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "ForkExec.h"

namespace orvex {

using Clock = std::chrono::steady_clock;

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
    Pending = signalfd(-1, &Watched, SFD_CLOEXEC | SFD_NONBLOCK);
}

SignalWatch::~SignalWatch() {
    if (Pending >= 0) {
        close(Pending);
    }
}

void SignalWatch::Note(int signal, pid_t child, bool childHasOwnGroup) {
    const pid_t target = childHasOwnGroup ? -child : child;
    switch (signal) {
        case SIGINT:
        case SIGQUIT:
            // The terminal sent it to its foreground group; a child in a group of its own is not in
            // it and gets it from here. The child's end is what gets reported.
            InterruptionSignal = signal;
            if (child > 0 && childHasOwnGroup) {
                kill(target, signal);
            }
            break;
        case SIGHUP:
        case SIGTERM:
            EndingSignal = signal;
            if (child > 0) {
                kill(target, signal);
            }
            break;
        default:
            break;
    }
}

void SignalWatch::TakePending(pid_t child, bool childHasOwnGroup) {
    const timespec now{};
    siginfo_t info;
    for (int signal; (signal = sigtimedwait(&Watched, &info, &now)) > 0;) {
        Note(signal, child, childHasOwnGroup);
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

namespace {

// Runs in the child between fork and exec: system calls only.
bool PrepareChild(const ChildOptions &options, const sigset_t &mask, int output) {
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    if (options.OwnGroup) {
        setpgid(0, 0);
        // Out of the terminal's foreground group, a read from it would stop the child for good.
        const int nothing = open("/dev/null", O_RDONLY);
        dup2(nothing, STDIN_FILENO);
    }
    if (output >= 0) {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
    }
    if (options.AddressSpaceLimit != RLIM_INFINITY) {
        rlimit limit;
        getrlimit(RLIMIT_AS, &limit);
        if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > options.AddressSpaceLimit) {
            limit.rlim_cur = options.AddressSpaceLimit;
            setrlimit(RLIMIT_AS, &limit);
        }
    }
    if (options.StackLimit != RLIM_INFINITY) {
        rlimit limit;
        if (getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
            limit.rlim_cur < options.StackLimit) {
            limit.rlim_cur = limit.rlim_max == RLIM_INFINITY || limit.rlim_max > options.StackLimit
                                 ? options.StackLimit
                                 : limit.rlim_max;
            setrlimit(RLIMIT_STACK, &limit);
        }
    }
    return options.Folder == nullptr || chdir(options.Folder) == 0;
}

// Where the child's output goes: [0] is Orvex's end when captured, [1] the child's, or -1.
bool OpenOutput(ChildOutput output, int (&ends)[2]) {
    ends[0] = ends[1] = -1;
    switch (output) {
        case ChildOutput::Inherited:
            return true;
        case ChildOutput::Discarded:
            ends[1] = open("/dev/null", O_WRONLY | O_CLOEXEC);
            return ends[1] >= 0;
        case ChildOutput::Captured:
            return pipe2(ends, O_CLOEXEC) == 0;
    }
    return false;
}

// Reads what is there into `into`: what read() gave.
ssize_t ReadOutput(int from, const ChildOptions &options, std::string &into) {
    char buffer[4096];
    const ssize_t got = read(from, buffer, sizeof buffer);
    if (got > 0) {
        const std::string_view piece(buffer, static_cast<std::size_t>(got));
        into.append(piece);
        if (options.OnOutput) {
            options.OnOutput(piece);
        }
    }
    return got;
}

}  // namespace

ChildEnd RunAndWait(const std::vector<std::string> &command, SignalWatch &signals,
                    const ChildOptions &options) {
    ChildEnd end;
    int output[2];
    if (!OpenOutput(options.Output, output)) {
        end.Error = errno;
        return end;
    }
    const sigset_t &mask = signals.OriginalMask();
    const int childOutput = output[1];
    const process::StartResult started = process::StartProgram(
        command,
        [&options, &mask, childOutput] { return PrepareChild(options, mask, childOutput); },
        options.Path);
    if (output[1] >= 0) {
        close(output[1]);
    }
    end.Pid = started.pid;
    end.Error = started.error;
    if (started.pid < 0) {
        if (output[0] >= 0) {
            close(output[0]);
        }
        return end;
    }
    const pid_t target = options.OwnGroup ? -started.pid : started.pid;
    const auto deadline = Clock::now() + options.TimeLimit;
    int from = output[0];
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(started.pid, &status, WNOHANG);
        if (ended == started.pid) {
            end.Status = status;
            break;
        }
        if (ended < 0 && errno != EINTR) {
            end.Error = errno;
            break;
        }
        int wait = -1;
        if (options.TimeLimit.count() > 0 && !end.TimedOut) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<long>(left.count(), 0));
        }
        if (signals.Descriptor() < 0) {
            // Without a descriptor for the signals, look for them and the child's end now and then.
            wait = wait < 0 ? 50 : std::min(wait, 50);
        }
        pollfd watch[2] = {{signals.Descriptor(), POLLIN, 0}, {from, POLLIN, 0}};
        const int ready = poll(watch, from >= 0 ? 2 : 1, wait);
        if (ready == 0 && options.TimeLimit.count() > 0 && Clock::now() >= deadline) {
            end.TimedOut = true;
            kill(target, SIGKILL);
        }
        signals.TakePending(started.pid, options.OwnGroup);
        if (ready > 0 && from >= 0 && watch[1].revents != 0) {
            const ssize_t got = ReadOutput(from, options, end.Output);
            if (got == 0 || (got < 0 && errno != EINTR)) {
                close(from);
                from = -1;
            }
        }
    }
    // What is left once the child has ended; a grandchild that keeps the pipe open is not waited
    // for.
    if (from >= 0) {
        fcntl(from, F_SETFL, O_NONBLOCK);
        while (ReadOutput(from, options, end.Output) > 0) {
        }
        close(from);
    }
    if (started.error != 0) {
        end.Status = -1;
    }
    return end;
}

}  // namespace orvex
