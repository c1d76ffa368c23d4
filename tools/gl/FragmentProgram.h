// One fragment shader linked into a program, the driver's own log kept when it fails.
#pragma once

#include <GL/gl.h>

#include <string>

class FragmentProgram {
  public:
    // outputs: the fragment outputs bound to draw buffers 0, 1, ... in order (none: the shader
    // writes gl_FragColor). what names the program in the error: "the driver cannot build WHAT".
    static bool build(const char* source, const char* const* outputs, int outputCount,
                      const char* what, GLuint& into, std::string& error);
    // One quad over the whole viewport with identity matrices: every pixel runs the bound
    // program once.
    static void drawOverViewport();
};
