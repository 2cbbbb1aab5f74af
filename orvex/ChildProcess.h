// Runs Orvex's children (the compiler, the learner's program) so that no signal from outside can
// end Orvex before its child has ended and its scratch folder is gone.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// Ctrl+C, Ctrl+\, the terminal closing (SIGHUP) and SIGTERM stay blocked until Release() and are
// taken in turn while Orvex waits. A child starts with Orvex's original mask, so it meets them as
// usual: Ctrl+C reaches it through the terminal, SIGHUP and SIGTERM are handed on to it. A signal
// that Orvex was started ignoring (nohup) stays ignored.
class SignalWatch {
  public:
    SignalWatch();
    ~SignalWatch();
    SignalWatch(const SignalWatch &) = delete;
    SignalWatch &operator=(const SignalWatch &) = delete;

    const sigset_t &OriginalMask() const { return Original; }
    // Readable whenever a watched signal is pending; -1 when the system gave none.
    int Descriptor() const { return Pending; }

    // Takes the signals that have arrived, handing the ending ones on to `child` (and to its
    // group when it has one of its own); 0 while no child runs.
    void TakePending(pid_t child = 0, bool childHasOwnGroup = false);
    // SIGINT or SIGQUIT when one has arrived, else 0.
    int Interruption() const { return InterruptionSignal; }
    // SIGHUP or SIGTERM when one has arrived, else 0: Orvex is to end by it once clean.
    int Ending() const { return EndingSignal; }
    // Ends this process by the ending signal, as whoever sent it expects.
    [[noreturn]] void EndByEndingSignal();
    // Gives back the original mask: from here on the signals act on Orvex directly.
    void Release();

  private:
    void Note(int signal, pid_t child, bool childHasOwnGroup);

    sigset_t Watched;
    sigset_t Original;
    int Pending = -1;
    int InterruptionSignal = 0;
    int EndingSignal = 0;
};

enum class ChildOutput { Inherited, Discarded, Captured };

struct ChildOptions {
    const char *Folder = nullptr;  // where the child runs; Orvex's own folder when null
    ChildOutput Output = ChildOutput::Inherited;
    // Called with each piece of captured output (standard output and error together) as it comes.
    std::function<void(std::string_view)> OnOutput;
    // A process group of its own, so that every process it starts ends with it. Only for children
    // that need no terminal: the terminal's keys reach its foreground group only. Standard input
    // is then /dev/null.
    bool OwnGroup = false;
    rlim_t AddressSpaceLimit = RLIM_INFINITY;
    rlim_t StackLimit = RLIM_INFINITY;  // raised to at most this; never lowered
    std::chrono::seconds TimeLimit{0};  // killed after this long; 0 for no limit
    // The program to run when command[0] is only the name it is to see as argv[0].
    std::string Path;
};

struct ChildEnd {
    int Status = -1;  // the wait status, or -1 when the child could not be started (see Error)
    int Error = 0;
    pid_t Pid = -1;
    bool TimedOut = false;
    std::string Output;  // what it wrote, when captured
};

// Runs a program to its end.
ChildEnd RunAndWait(const std::vector<std::string> &command, SignalWatch &signals,
                    const ChildOptions &options = {});

}  // namespace orvex
