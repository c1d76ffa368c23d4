#!/usr/bin/env bash
# The sound path through a real sound server (a private PulseAudio with a null sink): how far
# the layer's audible position runs ahead of what the server plays, the server's own latency
# figures for the stream, and the underruns while the capture tool renders beside the demo.
# Needs the release build with the benchmarks (cmake --build --preset release --target bench);
# measure on an otherwise quiet machine.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
source "$root/tests/e2e/lib.bash"
source "$root/tests/e2e/pulse.bash"
set -a
VQ_SOURCE_DIR="$root"
source "$root/scripts/headless.env"
set +a
trap stop_pulse EXIT

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== clicks: when the layer calls them audible, when they reach the server's monitor"
start_pulse
SDL_AUDIODRIVER=pulseaudio "$build/bench/soundlatency" &
player=$!
sleep 4
echo "the server's figures for the stream (Buffer Latency: queued in the server;" \
    "Sink Latency: the sink's own):"
pactl list sink-inputs | grep -E "Latency" | sed 's/^\s*/    /'
wait "$player"
stop_pulse

echo "== the demo through the server for 30 s while the capture tool renders a video beside it"
bash "$root/tests/e2e/soundserver.sh" "$build" "$root" capture
