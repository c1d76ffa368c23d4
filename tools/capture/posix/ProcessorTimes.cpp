// POSIX: the process's and its waited-for children's times, from getrusage.
#include "capture/ProcessorTimes.h"

#include <sys/resource.h>

#include <cstdio>

namespace {

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
}

} // namespace

void ProcessorTimes::print() {
    struct rusage self, children;
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    printf("processor: capture %.2f s, encoder %.2f s\n",
           seconds(self.ru_utime) + seconds(self.ru_stime),
           seconds(children.ru_utime) + seconds(children.ru_stime));
}
