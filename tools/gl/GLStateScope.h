// The OpenGL state around a tool's own drawing (the capture's filter, the preview's kept frame
// and status line): the scenes set much of their state once, on their first frame, and keep
// it from frame to frame, so whatever a tool draws between their frames must give it back.
#pragma once

class GLStateScope {
  public:
    // Saves every attribute and client attribute, and the texture, projection and modelview
    // matrices, each then loaded with the identity (the modelview stack current); switches
    // off depth, stencil and alpha tests, blending, 2D textures and their coordinate
    // generation, fog, lighting, the scissor test, culling, logic operations and dithering;
    // polygons fill and every colour channel is written. What the tool needs it switches on.
    GLStateScope();
    // Gives all of it back as it was, the matrix mode included.
    ~GLStateScope();

    GLStateScope(const GLStateScope&) = delete;
    GLStateScope& operator=(const GLStateScope&) = delete;
};
