// The capture's default environment (headless), set before SDL starts. One source per
// operating system.
#pragma once

class Environment {
  public:
    // Sets name to value unless it is set already: a value the caller gave wins.
    static void setDefault(const char* name, const char* value);
};
