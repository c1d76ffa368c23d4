// Windows: the process's own times; Windows keeps no sum of an ended child's.
#include "capture/ProcessorTimes.h"

#include <windows.h>

#include <cstdio>

namespace {

double seconds(const FILETIME& t) {
    const ULONGLONG ticks = (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return static_cast<double>(ticks) * 1e-7; // 100 ns units
}

} // namespace

void ProcessorTimes::print() {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) {
        return;
    }
    printf("processor: capture %.2f s\n", seconds(user) + seconds(kernel));
}
