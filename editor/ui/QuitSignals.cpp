#include "QuitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace scrivo {
namespace {

constexpr std::array<int, 3> kQuitSignals = {SIGTERM, SIGHUP, SIGINT};

// Read end, write end; the handler reaches them only through this global.
int gPipe[2] = {-1, -1};

void WriteSignalToPipe(int signal) {
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal the loop has yet to read; one is enough.
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &number, 1);
    errno = savedErrno;
}

}  // namespace

QuitSignalWatch::QuitSignalWatch(std::function<void(int signal)> onSignal)
    : m_onSignal(std::move(onSignal)) {
    // Not inherited by the programs the editor starts, and never blocking the handler.
    if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::fprintf(stderr, "Scrivo: cannot watch for termination signals: %s\n",
                     std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignalWatch::Drain);
    struct sigaction action = {};
    action.sa_handler = WriteSignalToPipe;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume, so no file operation of the editor fails with EINTR.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        ::sigaction(kQuitSignals[i], &action, &m_previous[i]);
    }
}

QuitSignalWatch::~QuitSignalWatch() {
    if (m_notifier == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        ::sigaction(kQuitSignals[i], &m_previous[i], nullptr);
    }
    delete m_notifier;
    ::close(gPipe[0]);
    ::close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

void QuitSignalWatch::Drain() {
    unsigned char first = 0;
    unsigned char rest[64];
    if (::read(gPipe[0], &first, 1) != 1) {
        return;
    }
    // Signals that came together are one request to end.
    while (::read(gPipe[0], rest, sizeof rest) > 0) {
    }
    m_onSignal(first);
}

}  // namespace scrivo
