// Linux: libGL exports every call, there is nothing to look up.
#include "GLEntryPoints.h"

bool GLEntryPoints::load(std::string&) {
    return true;
}
