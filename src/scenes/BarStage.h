// The spectrum bars on their mirroring marble floor under the scripted camera: everything the
// Intro and Spectrum scenes share, each of them owning one.
#pragma once

class Music;
class Texture;
class Timer;

class BarStage {
  public:
    // 50 boxes, 0.45 wide and deep, every 0.5 units leftwards from x = 0.
    static const int BAR_COUNT = 100 / 2;
    static const int GAIN_COUNT = 100;
    static const int SPECTRUM_STRIDE = 512 / BAR_COUNT; // bar i reads spectrum[10 i]
    static constexpr float BAR_PITCH = 0.5f;
    static constexpr float BAR_SIZE = 0.45f;
    static constexpr float BASE_HEIGHT = 0.1f;
    static constexpr float HEIGHT_FACTOR = 3.0f;
    // The last two seconds before the identity camera, which are the end of Intro's slot.
    static constexpr float FADE_START = 62.0f;
    static constexpr float FADE_END = 64.0f;

    // Loads the overlay, then the floor's marble, and fills the gain table.
    BarStage(Timer* timer, Music* music);
    ~BarStage();

    BarStage(const BarStage&) = delete;
    BarStage& operator=(const BarStage&) = delete;

    // The lazy set-up: camera at (0, 0, 10) on the origin, and the scene clock restarted.
    void init();
    // One frame: the bars and their reflection under the shot's camera, the closing fade, the
    // overlay. Leaves blending and texturing off, depth test and culling on, counter-clockwise
    // front faces, matrix mode modelview and both stacks as found.
    void render();

    // Multiplies the modelview by the camera of the shot running at scene time t (seconds);
    // from 64 s on nothing is applied.
    void applyCamera(float t) const;
    // The bars below the floor plane: y mirrored, front faces switched to clockwise so the
    // outward faces stay the ones drawn. Leaves the modelview and counter-clockwise fronts.
    void drawReflection() const;
    // All bars in one GL_QUADS batch in the current modelview, without texture or blending.
    // Leaves the current colour opaque white (the last top face).
    void drawSpectrum() const;
    // The marble square at y = 0, 65 % opaque, so the reflection shows through at 35 %.
    // Leaves blending and texturing off.
    void drawFloor() const;
    // The closing fade: black at the given opacity over the whole 800 x 600 frame. Writes no
    // depth, so the overlay after it still lands on top, and leaves the current colour opaque
    // white, blending off and both matrix stacks as found.
    void drawOverlay(float alpha) const;

    Timer* timer;
    Music* music;
    Timer* local_timer;
    bool initialized;
    // The music's spectrum of this frame, read in place; fetched at the start of render.
    const float* spectrum;
    float* barGain;
    Texture* overlayTexture;
    Texture* floorTexture;
};
