// POSIX: setenv, keeping a value already set.
#include "capture/Environment.h"

#include <cstdlib>

void Environment::setDefault(const char* name, const char* value) {
    setenv(name, value, 0);
}
