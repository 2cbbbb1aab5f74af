// Runs Orvex's children (the compiler, the learner's program) so that no signal from outside can
// end Orvex before its child has ended and its scratch folder is gone.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace orvex {

// Ctrl+C, Ctrl+\, the terminal closing (SIGHUP) and SIGTERM stay blocked until Release() and are
// taken in turn while Orvex waits. A child starts with Orvex's original mask, so it meets them as
// usual: Ctrl+C reaches it through the terminal, SIGHUP and SIGTERM are handed on to it. A signal
// that Orvex was started ignoring (nohup) stays ignored.
class SignalWatch {
  public:
    SignalWatch();
    SignalWatch(const SignalWatch &) = delete;
    SignalWatch &operator=(const SignalWatch &) = delete;

    const sigset_t &OriginalMask() const { return Original; }

    // Waits for `child` to end and gives its wait status; -1 with errno set when it cannot.
    int WaitFor(pid_t child);
    // Takes the signals that arrived while no child ran.
    void TakePending();
    // SIGINT or SIGQUIT when one has arrived, else 0.
    int Interruption() const { return InterruptionSignal; }
    // SIGHUP or SIGTERM when one has arrived, else 0: Orvex is to end by it once clean.
    int Ending() const { return EndingSignal; }
    // Ends this process by the ending signal, as whoever sent it expects.
    [[noreturn]] void EndByEndingSignal();
    // Gives back the original mask: from here on the signals act on Orvex directly.
    void Release();

  private:
    void Note(int signal, pid_t child);

    sigset_t Watched;
    sigset_t Original;
    int InterruptionSignal = 0;
    int EndingSignal = 0;
};

enum class ChildOutput { Inherited, Discarded };

// Runs a program to its end, in `folder` when one is given; its wait status, or -1 with errno set
// when it could not be started.
int RunAndWait(const std::vector<std::string> &command, SignalWatch &signals,
               const char *folder = nullptr, ChildOutput output = ChildOutput::Inherited);

}  // namespace orvex
