// The signals that ask a program to end (SIGTERM at logout or from kill, SIGHUP when the terminal
// goes, SIGINT from Ctrl+C) arrive as a call on the event loop, where the program may still do
// anything, such as keeping the learner's text; a signal handler may do next to nothing. The
// handler writes the signal's number into a pipe whose other end the event loop watches.
#pragma once

#include <QObject>
#include <array>
#include <csignal>
#include <functional>

class QSocketNotifier;

namespace scrivo {

class QuitSignalWatch : public QObject {
  public:
    // One watch at a time; it takes the signals over until it is destroyed.
    explicit QuitSignalWatch(std::function<void(int signal)> onSignal);
    ~QuitSignalWatch() override;
    QuitSignalWatch(const QuitSignalWatch &) = delete;
    QuitSignalWatch &operator=(const QuitSignalWatch &) = delete;

  private:
    void Drain();

    std::function<void(int)> m_onSignal;
    QSocketNotifier *m_notifier = nullptr;
    std::array<struct sigaction, 3> m_previous = {};
};

}  // namespace scrivo
