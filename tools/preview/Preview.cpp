// The preview's frame loop, keys, sound and status line.
#include "preview/Preview.h"

#include <GL/gl.h>

#include <cctype>
#include <cmath>
#include <cstdio>

#include "frames/FrameStepper.h"
#include "cli/PngWriter.h"
#include "image/RenderScale.h"
#include "preview/StatusLine.h"

namespace {

// While paused the kept frame is shown again at this pace, so a window uncovered is drawn.
const int PAUSED_FRAME_MS = 30;

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

Preview::Preview(const PreviewOptions& options)
    : options(options), timeline(), navigation(FrameClock(FrameClock::DEFAULT_FPS)),
      stepper(nullptr), shown(options.width, options.height), paused(options.paused),
      statusVisible(false), drawnNow(false), tick(0), anchorTick(0), anchorWall(0), loopEndTick(-1),
      frameMs(0.0), seekMs(0.0), framesPerSecond(0.0), framesCounted(0), countFrom(0),
      origin(std::chrono::steady_clock::now()) {}

Preview::~Preview() {
    delete stepper;
}

long long Preview::wallMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 origin)
        .count();
}

void Preview::start() {
    // The demo's own start-up on the virtual clock: loading takes no time on it, and the
    // tunnels' clocks start at tick 0 as in a capture.
    FrameClock::install();
    // Seeks and pauses follow the keys: the demo's long buffers would play on for a third of
    // a second after each.
    Music::useShortBuffers(true);
    timeline.start(options.width, options.height, options.fullScreen);
    // A larger window draws the picture through the render scale, as the capture does.
    RenderScale::setFrame(options.width, options.height);
    SDL_WM_SetCaption("Vorrel Quisp preview", nullptr);
    stepper = new FrameStepper(&timeline, FrameClock::DEFAULT_FPS);
    if (options.loop) {
        loopEndTick = std::llround(options.loopTo * 1000.0);
    }
    seek(navigation.clamp(navigation.clock.frameAt(options.startTime())));
}

void Preview::run() {
    start();
    for (;;) {
        handleEvents();
        if (!paused) {
            play();
        }
        present();
        if (paused) {
            SDL_Delay(PAUSED_FRAME_MS);
        }
    }
}

void Preview::handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN) {
            handleKey(&event.key.keysym);
        } else if (event.type == SDL_QUIT) {
            timeline.window->quit(0);
        }
    }
}

void Preview::handleKey(SDL_keysym* key) {
    const bool shift = (key->mod & KMOD_SHIFT) != 0;
    const bool ctrl = (key->mod & KMOD_CTRL) != 0;
    switch (key->sym) {
    case SDLK_SPACE:
        setPaused(!paused);
        break;
    case SDLK_LEFT:
    case SDLK_RIGHT: {
        const int direction = key->sym == SDLK_RIGHT ? 1 : -1;
        if (ctrl) {
            setPaused(true);
            seek(navigation.step(tick, direction));
        } else {
            seek(navigation.by(tick, direction * (shift ? 1000 : 5000)));
        }
        break;
    }
    case SDLK_PAGEUP:
        seek(navigation.previousScene(tick));
        break;
    case SDLK_PAGEDOWN: {
        const long long next = navigation.nextScene(tick);
        if (next >= 0) {
            seek(next);
        }
        break;
    }
    case SDLK_HOME:
        seek(0);
        break;
    case SDLK_r:
        reload();
        break;
    case SDLK_h:
        statusVisible = !statusVisible;
        break;
    case SDLK_s:
        writeShot();
        break;
    case SDLK_p:
        printState();
        break;
    default:
        // Escape and q quit, f toggles full screen: the demo's own keys.
        timeline.window->handle_key_down(key);
        break;
    }
}

void Preview::play() {
    const long long now = anchorTick + (wallMs() - anchorWall);
    if (loopEndTick >= 0 && tick < loopEndTick && now >= loopEndTick) {
        seek(navigation.clamp(navigation.clock.frameAt(options.loopFrom)));
        return;
    }
    if (FrameClock::slotOfTick(now) == Schedule::SLOT_COUNT) {
        setPaused(true);
        seek(navigation.clock.lastFrame());
        return;
    }
    if (now == tick) {
        return; // nothing has moved yet: the kept frame is shown again
    }
    const auto begin = std::chrono::steady_clock::now();
    stepper->drawAt(now);
    glFinish();
    frameMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    tick = now;
    shown.read();
    drawnNow = true;
}

void Preview::seek(long long frame) {
    frame = navigation.clamp(frame);
    const auto begin = std::chrono::steady_clock::now();
    if (stepper->seekTo(frame)) {
        frameMs = stepper->targetMs();
        shown.read();
        drawnNow = true;
    }
    seekMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    tick = navigation.clock.tickOf(frame);
    // Heard from the frame on, or held there: the spectrum stays the one of this frame.
    timeline.music->seek(soundFrame(), paused);
    anchorTick = tick;
    anchorWall = wallMs();
}

void Preview::setPaused(bool pause) {
    if (pause == paused) {
        return;
    }
    paused = pause;
    timeline.music->seek(soundFrame(), paused);
    anchorTick = tick;
    anchorWall = wallMs();
    framesCounted = 0;
    countFrom = anchorWall;
}

void Preview::reload() {
    const long long frame = stepper->exactFrame() >= 0
                                ? stepper->exactFrame()
                                : navigation.clamp(navigation.clock.frameAt(tick * 0.001));
    stepper->remakeAll();
    seek(frame);
}

void Preview::present() {
    if (!drawnNow) {
        shown.draw();
    }
    drawnNow = false;
    if (statusVisible) {
        StatusLine::draw(statusText(), options.width, options.height);
    }
    glFlush();
    SDL_GL_SwapBuffers();

    if (!paused) {
        ++framesCounted;
        const long long now = wallMs();
        if (now - countFrom >= 500) {
            framesPerSecond = framesCounted * 1000.0 / (now - countFrom);
            framesCounted = 0;
            countFrom = now;
        }
    }
}

long long Preview::soundFrame() const {
    const long long exact = stepper->exactFrame();
    const int rate = stepper->soundRate();
    return exact >= 0 ? navigation.clock.soundFrameOf(exact, rate) : tick * rate / 1000;
}

std::string Preview::statusText() const {
    const int slot = FrameClock::slotOfTick(tick);
    const char* scene = slot < Schedule::SLOT_COUNT ? Schedule::slots[slot].name : "END";
    char text[160];
    int used = snprintf(text, sizeof(text), "%.3f %s  %.1f MS  %.0f FPS", tick * 0.001,
                        upper(scene).c_str(), frameMs, framesPerSecond);
    if (paused) {
        used += snprintf(text + used, sizeof(text) - used, "  PAUSED");
    }
    if (seekMs >= 1.0) {
        used += snprintf(text + used, sizeof(text) - used, "  SEEK %.0f MS", seekMs);
    }
    if (options.loop) {
        snprintf(text + used, sizeof(text) - used, "  LOOP %.3f-%.3f", options.loopFrom,
                 options.loopTo);
    }
    return text;
}

void Preview::writeShot() const {
    const std::string path = options.shotsDir + "/" + PngWriter::shotName(tick * 0.001);
    if (!PngWriter::write(path, shown.pixels, shown.width, shown.height)) {
        fprintf(stderr, "vorrel-preview: cannot write '%s'\n", path.c_str());
        fflush(stderr);
        return;
    }
    printf("wrote %s\n", path.c_str());
    fflush(stdout);
}

void Preview::printState() const {
    const int slot = FrameClock::slotOfTick(tick);
    const long long exact = stepper->exactFrame();
    printf("time=%.3f frame=%s scene=%s state=%s sound=%lld rate=%d\n", tick * 0.001,
           exact >= 0 ? std::to_string(exact).c_str() : "-",
           slot < Schedule::SLOT_COUNT ? Schedule::slots[slot].name : "end",
           paused ? "paused" : "playing", timeline.music->audibleFrame(), stepper->soundRate());
    fflush(stdout);
}
