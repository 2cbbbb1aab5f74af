#include "DetachedProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "ForkExec.h"

namespace scrivo {

int StartDetachedProcess(const std::string &program, const std::vector<std::string> &arguments) {
    std::vector<std::string> command{program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    // The child only forks the program's own process and ends, so the program is adopted by init,
    // which reaps it when it ends.
    const process::StartResult started = process::StartProgram(command, [] {
        const pid_t programPid = ::fork();
        if (programPid < 0) {
            return false;
        }
        if (programPid > 0) {
            ::_exit(0);
        }
        ::setsid();
        return true;
    });
    if (started.pid > 0) {
        while (::waitpid(started.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    return started.error;
}

}  // namespace scrivo
