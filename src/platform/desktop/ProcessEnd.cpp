// A program on a desktop: exit flushes the standard streams and ends the process.
#include "platform/ProcessEnd.h"

#include <cstdlib>

void ProcessEnd::now(int status) {
    exit(status);
}
