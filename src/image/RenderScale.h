// The render scale: where the picture's 800 x 600 pixel units land in the framebuffer drawn into.
#pragma once

// The scenes draw an 800 x 600 picture. Every OpenGL call that takes pixel units (viewports,
// scissor boxes, line widths, point sizes) goes through here, so the same picture can be drawn
// into a frame of any size: it fills the frame's largest centred 4:3 region, and lines and
// points keep their width relative to it. Nothing else changes: orthographic projections are in
// the scenes' own units and follow the viewport.
//
// One frame at a time is drawn, so the scale is process-wide state, like the timer's tick
// source. Until setFrame is called the frame is 800 x 600 at scale 1, offset 0: the demo never
// calls it and draws exactly as without it. When the frame changes (a page's canvas resized
// mid-scene), the last viewport, scissor box, line width and point size set through here are
// set again at the new scale: a scene sets some of them once, in its set-up.
class RenderScale {
  public:
    // The picture's size in pixel units.
    static const int WIDTH = 800;
    static const int HEIGHT = 600;

    // A rectangle in framebuffer pixels, (x, y) its lower-left corner.
    struct Region {
        int x;
        int y;
        int width;
        int height;
    };

    // The frame drawn into is width x height pixels: the picture fills its largest centred
    // 4:3 region (pillarboxed when the frame is wider, letterboxed when taller). Sizes below
    // 1 x 1 are ignored and return false.
    static bool setFrame(int width, int height);
    // The picture exactly into the given region of the framebuffer (a supersampled target
    // that is all picture); a region below 1 x 1 is ignored and returns false.
    static bool setRegion(const Region& region);
    // Back to 800 x 600 at scale 1, with nothing set through here remembered (nothing is set
    // again: the next draw sets what it needs).
    static void reset();

    // The region of the frame the picture fills, for clearing or reading it back.
    static Region region();
    // The largest centred 4:3 region of a width x height frame (at least 1 x 1).
    static Region fit(int width, int height);
    // Framebuffer pixels per pixel unit, vertically (the same horizontally within rounding).
    static float scale();

    // A rectangle in pixel units, lower-left at (x, y), mapped onto the framebuffer: its
    // edges are rounded to whole pixels so that adjacent rectangles still meet.
    static Region toPixels(int x, int y, int width, int height);

    // glViewport of a rectangle in pixel units.
    static void viewport(int x, int y, int width, int height);
    // glScissor of a rectangle in pixel units; the scissor test itself is left as it is.
    static void scissor(int x, int y, int width, int height);
    // glLineWidth of a width in pixel units.
    static void lineWidth(float width);
    // glPointSize of a size in pixel units.
    static void pointSize(float size);

  private:
    // Where the picture goes now: when that changes, the state below is set again for it.
    static void place(const Region& region);

    static Region picture; // where the 800 x 600 units go
    // The last of each set through here, in pixel units; a width or size of 0 was never set.
    static Region viewportUnits;
    static Region scissorUnits;
    static float lineWidthUnits;
    static float pointSizeUnits;
};
