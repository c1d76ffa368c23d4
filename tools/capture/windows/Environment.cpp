// Windows: the C runtime has no setenv; _putenv_s, unless a value is set already.
#include "capture/Environment.h"

#include <cstdlib>

void Environment::setDefault(const char* name, const char* value) {
    if (!getenv(name)) {
        _putenv_s(name, value);
    }
}
