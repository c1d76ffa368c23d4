// Ping-pong echo.
#include "trackgen/Delay.h"

#include "trackgen/Dsp.h"

StereoBuffer Delay::process(const StereoBuffer& send) const {
    const size_t n = send.size();
    const size_t d = static_cast<size_t>(time * dsp::SR);
    StereoBuffer wet(n);
    const float damp = 0.35f;
    float lpL = 0.0f;
    float lpR = 0.0f;
    for (size_t i = d; i < n; ++i) {
        // Mono input feeds the left line; each line feeds the other.
        float inL = 0.5f * (send.left[i - d] + send.right[i - d]) + wet.right[i - d] * fb;
        float inR = wet.left[i - d] * fb;
        lpL += (inL - lpL) * damp;
        lpR += (inR - lpR) * damp;
        wet.left[i] = lpL;
        wet.right[i] = lpR;
    }
    return wet;
}
