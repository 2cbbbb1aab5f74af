// How the memory tests play a machine short of memory: a child process limits its own address
// space to what it uses already plus a little room.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace scrivo {

// Bytes of address space this process uses now.
inline long AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    statm >> pages;
    return pages * ::sysconf(_SC_PAGESIZE);
}

// From now on, no more than `inUse` plus `room` bytes of address space.
inline void LimitAddressSpace(long inUse, long room) {
    const auto bytes = static_cast<rlim_t>(inUse + room);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_AS, &limit);
}

}  // namespace scrivo
