#!/usr/bin/env bash
# Measures the figures of bench/README.md on this machine, each beside what it is compared
# with, in one run. Needs the release build (cmake --build --preset release --target bench).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
set -a
VQ_SOURCE_DIR="$root"
source "$root/scripts/headless.env"
set +a
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$build/data"

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== start-up to the first frame (capture's loading), beside the track's decode alone"
../vorrel-capture --at 0 --frames "$tmp/first" --stats 2>/dev/null | grep "^loading"
"$build/bench/sound" --benchmark_filter='BM_DecodeMixdown|BM_DecodeWholeMp3|BM_FfmpegDecodeToNull|BM_Spectrum' 2>/dev/null | grep -E "^BM_"

echo "== pictures: loading all of them"
"$build/bench/textures" 2>/dev/null | grep -E "^LoadAll"

echo "== tunnel"
"$build/bench/tunnel" 2>/dev/null | grep -E "^BM_"

echo "== a seek in the preview: to the last frame of a slot, the catch-up unseen and drawn in full"
"$build/bench/seek" 2>/dev/null | grep -E "^Seek"

echo "== asset build"
mkdir -p "$tmp/textures"
/usr/bin/time -f "pictures: %e s wall, %U s user" "$build/tools/assetgen/assetgen" "$tmp/textures" >/dev/null
/usr/bin/time -f "track: %e s wall, %U s user" "$build/tools/trackgen/trackgen" "$tmp/track.mp3" >/dev/null

echo "== the whole demo captured at 60 frames a second into a video, with frame times per scene"
/usr/bin/time -f "capture wall time: %e s for 266 s of demo" \
    ../vorrel-capture --video "$tmp/demo.mp4" --stats 2>&1 | grep -v "frame "
