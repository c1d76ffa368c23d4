#!/usr/bin/env bash
# Measures the figures of bench/README.md on this machine, each beside what it is compared
# with, in one run. Needs the release build (cmake --build --preset release --target bench).
# The x264 presets are measured by bench/x264-presets.sh.
set -euo pipefail
source "$(dirname "$0")/prologue.bash"
cd "$build/data"

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== start-up to the first frame (capture's loading), beside the track's decode alone"
../vorrel-capture --at 0 --frames "$tmp/first" --stats 2>/dev/null | grep "^loading"
"$build/bench/sound" --benchmark_filter='BM_DecodeMixdown|BM_DecodeWholeMp3|BM_FfmpegDecodeToNull|BM_Spectrum' 2>/dev/null | grep -E "^BM_"

echo "== pictures: loading all of them"
"$build/bench/textures" 2>/dev/null | grep -E "^LoadAll"

echo "== reading a drawn frame back, as the capture does"
"$build/bench/readback" 2>/dev/null | grep -E "^BM_"

echo "== tunnel"
"$build/bench/tunnel" 2>/dev/null | grep -E "^BM_"

echo "== a seek in the preview: to the last frame of a slot, the catch-up unseen and drawn in full"
"$build/bench/seek" 2>/dev/null | grep -E "^Seek"

echo "== asset build"
mkdir -p "$tmp/textures"
/usr/bin/time -f "pictures: %e s wall, %U s user" "$build/tools/assetgen/assetgen" "$tmp/textures" >/dev/null
mkdir -p "$tmp/textures-2160"
/usr/bin/time -f "pictures for 2160 lines: %e s wall, %U s user" \
    "$build/tools/assetgen/assetgen" --height 2160 "$tmp/textures-2160" >/dev/null
/usr/bin/time -f "track: %e s wall, %U s user" "$build/tools/trackgen/trackgen" "$tmp/track.mp3" >/dev/null

echo "== frame times per scene over the whole demo: drawing only, nothing written, no encoder"
../vorrel-capture --stats 2>/dev/null | grep -v "^local_timer"

echo "== the whole demo captured at 60 frames a second into a video (H.264 + AAC)"
/usr/bin/time -f "capture wall time: %e s for 266 s of demo, %U s user, %S s system" \
    ../vorrel-capture --video "$tmp/demo.mp4" 2>&1 | grep -v "frame \\|^local_timer"
echo "video: $(($(stat -c %s "$tmp/demo.mp4") / 1000000)) MB"
