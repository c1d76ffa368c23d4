// The heaviest immediate-mode drawing the demo does, at the tube's size, for timing the web
// layer against Mesa: the same calls on both sides.
#pragma once

// Makes the rings and the mipmapped picture; needs a current context.
void setUpTubeLoad();
// One 800 x 600 frame: the solid tube (textured triangles) or the wire frame (line loops and
// strips, one pixel wide). Ends with glFlush.
void drawTubeFrame(bool wire);
