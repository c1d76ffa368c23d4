#!/usr/bin/env bash
# The web layer's cost: the tube's solid and wire frames (the demo's heaviest immediate-mode
# drawing) through the layer in headless Chromium (WebGL on SwiftShader, real time) and through
# Mesa on the desktop, in one run. Prints both sides' frame times and their ratios; "calls" is
# the time of the OpenGL calls alone, before the frame is waited for. Needs emscripten and
# chromium (scripts/setup); measure on an otherwise quiet machine.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tests/e2e/lib.bash"
set -a
VQ_SOURCE_DIR="$root"
source "$root/scripts/headless.env"
set +a
here="$root/bench/weblayer"
layer="$root/src/webgl"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
mkdir -p "$WORK/site"

unset EM_CACHE
export NODE_PATH=/usr/share/nodejs
em++ -std=c++17 -O2 -ffp-contract=off -sALLOW_MEMORY_GROWTH=1 -I"$layer/include" \
    "$layer"/*.cpp "$here/TubeLoad.cpp" "$here/TubeTiming.cpp" "$here/BenchPage.cpp" \
    -o "$WORK/site/bench.js" || fail "the page does not build"
cp "$here/bench.html" "$WORK/site/"
c++ -std=c++17 -O2 -ffp-contract=off "$here/TubeLoad.cpp" "$here/TubeTiming.cpp" \
    "$here/BenchDesktop.cpp" -o "$WORK/desktop" $(pkg-config --cflags --libs sdl gl glu) ||
    fail "the desktop side does not build"

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
python3 -u "$here/ResultServer.py" "$WORK/site" "$WORK/result.txt" >"$WORK/port" 2>&1 &
at_exit "kill $! 2>/dev/null"
for _ in $(seq 100); do
    [ -s "$WORK/port" ] && break
    sleep 0.1
done
port=$(head -1 "$WORK/port")
chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
    --no-first-run --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$WORK/profile" "http://127.0.0.1:$port/bench.html" >"$WORK/chromium.log" 2>&1 &
browser=$!
at_exit "kill $browser 2>/dev/null; wait $browser 2>/dev/null"
for _ in $(seq 300); do
    [ -s "$WORK/result.txt" ] && break
    sleep 1
done
[ -s "$WORK/result.txt" ] || fail "no result from the page within 300 s"
browserTimes=$(cat "$WORK/result.txt")
desktopTimes=$("$WORK/desktop") || fail "the desktop side failed"
echo "browser (layer over WebGL): $browserTimes"
echo "desktop (Mesa llvmpipe):    $desktopTimes"
# The ratios of the whole frame times, browser over desktop.
read -r _ bs _ _ _ _ _ bw _ <<<"$browserTimes"
read -r _ ds _ _ _ _ _ dw _ <<<"$desktopTimes"
awk -v bs="$bs" -v ds="$ds" -v bw="$bw" -v dw="$dw" \
    'BEGIN { printf "browser / desktop: solid %.2f, wire %.2f\n", bs / ds, bw / dw }'
