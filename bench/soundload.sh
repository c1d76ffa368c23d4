#!/usr/bin/env bash
# The demo through a private sound server, quiet and beside two busy processes (each in a
# session of its own, nice 0): underruns and slips in RUNS runs of 40 s each way, then how its
# audio callback ran. Needs the release build with the benchmarks (cmake --build --preset
# release --target bench vq_recording_check); measure with nothing else running.
set -uo pipefail
runs=${1:-10}
source "$(dirname "$0")/prologue.bash"
source "$root/tests/e2e/lib.bash"
source "$root/tests/e2e/pulse.bash"
hogs=()
trap 'for h in "${hogs[@]}"; do kill "$h" 2>/dev/null; done; stop_pulse; rm -rf "$tmp"' EXIT

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for load in none busy; do
    echo "== $runs runs of 40 s, load: $load"
    bash "$root/tests/e2e/soundserver.sh" "$build" "$root" repeat "$runs" "$load"
done
for load in none busy; do
    echo "== the callback over 40 s of the demo, load: $load"
    if [ "$load" = busy ]; then
        for _ in 1 2; do
            setsid bash -c 'while :; do :; done' &
            hogs+=($!)
        done
    fi
    start_pulse
    SDL_AUDIODRIVER=pulseaudio "$build/bench/soundcallbacks" 40
    stop_pulse
    for h in "${hogs[@]}"; do kill "$h"; done
    hogs=()
done
