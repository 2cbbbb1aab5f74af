// Starting a program in a child process and learning whether it started. The child runs the
// caller's preparation and then the program; when either fails, it sends the system's error number
// back through a pipe that closes by itself once the program runs. Shared by the editor (which
// starts Orvex detached) and Orvex (which waits for its children). POSIX only, no Qt.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace process {

// What the child does between fork and exec. It runs in a copy of a process that may have other
// threads, so it may make async-signal-safe calls only (no allocation, no locks). Answering false,
// with errno set, abandons the start.
using ChildPreparation = std::function<bool()>;

struct StartResult {
    pid_t pid;  // the child, or -1 when none was made; the caller reaps any child
    int error;  // 0 once the program runs, otherwise the system's error number
};

// Runs command[0] (a path: PATH is not searched) with the rest of `command` as its arguments, in a
// child process with the caller's environment. Returns only once the program runs or has failed
// to start; an empty command starts nothing (EINVAL). A non-empty `path` is the program to run
// instead, and command[0] only the name it gets as its argv[0].
StartResult StartProgram(const std::vector<std::string> &command,
                         const ChildPreparation &prepare = {}, const std::string &path = {});

}  // namespace process
