// Starting a program that lives on its own: the editor neither waits for it nor is told when it
// ends, and no zombie is left behind. POSIX only, no Qt.
#pragma once

#include <string>
#include <vector>

namespace scrivo {

// Runs `program` (a path; no search of PATH) with exactly `arguments` after it, inheriting the
// environment and working directory. Returns 0 once the program has been executed, otherwise the
// system's error number (ENOENT when it does not exist, EACCES when it may not be run).
int StartDetachedProcess(const std::string &program, const std::vector<std::string> &arguments);

}  // namespace scrivo
