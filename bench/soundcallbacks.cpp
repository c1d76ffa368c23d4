// How the audio device's callback runs while the demo plays: each call's duration, and the
// time from one call to the next against one buffer's length (how late SDL's audio thread came
// back). The callback's longest duration bounds any wait inside it. bench/soundload.sh runs it
// through a private sound server, quiet or beside other programs' work.
#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "HeadlessEnv.h"
#include "main/Timeline.h"
#include "platform/sound/DeviceQueue.h"
#include "platform/sound/SoundSeams.h"

namespace {

double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[static_cast<size_t>(q * (values.size() - 1))];
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? atof(argv[1]) : 40.0;
    for (const auto& variable : HEADLESS_ENV) {
        setenv(variable[0], variable[1], 0);
    }
    if (chdir(VQ_DATA_DIR) != 0) {
        perror(VQ_DATA_DIR);
        return 1;
    }
    Timeline* timeline = new Timeline();
    timeline->start(800, 600, false);
    if (soundlayer::outputKind() != soundlayer::OUTPUT_DEVICE) {
        fprintf(stderr, "soundcallbacks: no audio device\n");
        return 1;
    }
    // The demo's own frames, unlimited, as its loop draws them.
    while (timeline->timer->getElapsedTime() < seconds) {
        timeline->frame();
        glFlush();
        SDL_GL_SwapBuffers();
    }
    std::vector<soundlayer::CallbackTime> calls(1024);
    calls.resize(static_cast<size_t>(soundlayer::callbackTimes(calls.data(), 1024)));
    const int rate = timeline->music->rate();
    const double period = 1000.0 * DeviceQueue::bufferFrames(rate) / rate;
    std::vector<double> durations;
    std::vector<double> gaps;
    // The calls that filled the device at the start come at once: counted from the fifth on.
    for (size_t i = 0; i < calls.size(); ++i) {
        durations.push_back((calls[i].ended - calls[i].began) * 1e-6);
        if (i >= 5) {
            gaps.push_back((calls[i].began - calls[i - 1].began) * 1e-6);
        }
    }
    printf("%zu calls of the callback in %.0f s, one buffer %.1f ms\n", calls.size(), seconds,
           period);
    printf("duration: median %.3f ms, 99th %.3f ms, longest %.3f ms\n", quantile(durations, 0.5),
           quantile(durations, 0.99), quantile(durations, 1.0));
    printf("from one call to the next: median %.1f ms, 99th %.1f ms, longest %.1f ms (%.1f ms "
           "past one buffer)\n",
           quantile(gaps, 0.5), quantile(gaps, 0.99), quantile(gaps, 1.0),
           quantile(gaps, 1.0) - period);
    return 0;
}
