// OpenGL's error flags read and named: after each scene's frame in the builds that check, and
// by the tests.
#pragma once

#include <string>

class GLErrorCheck {
  public:
    // Whether this build checks after every scene's frame (the debug and sanitizer builds).
    static const bool ENABLED;

    // Reads every pending error flag, which clears them: "" when none was set, else their names
    // joined by ", " (for example "GL_INVALID_ENUM").
    static std::string takeErrors();
    // When ENABLED and the frame just drawn left an error: one line on standard error naming
    // the scene and the errors. Otherwise nothing, not even a read of the flags.
    static void afterFrame(const char* scene);
};
