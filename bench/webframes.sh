#!/usr/bin/env bash
# The demo's frame times in the browsers against the desktop, per scene, in one run: the first
# 2 s of each slot drawn by the page's test mode (index.html?at=...&every&size=..., every frame
# of the slot up to the time, on the capture's clock, silent) in headless Chromium (WebGL on
# SwiftShader), and in Firefox ESR and WebKitGTK's MiniBrowser under Xvfb (WebGL on llvmpipe),
# then the same 2 s by vorrel-capture --stats --size, at 800 x 600 and at 1024 x 768. The pages give the mean of their frames, the capture the median of its
# own. Needs the release build, its data and scripts/setup's browsers and page driver; run on a
# quiet machine.
set -uo pipefail
source "$(dirname "$0")/prologue.bash"
source "$root/tests/e2e/lib.bash"
source "$root/tests/e2e/web.bash"
# lib.bash's exit trap takes the place of the prologue's.
at_exit "rm -rf '$tmp'"
WORK=$tmp

"$root/scripts/web" --out "$build/web" --site --data "$build/data" >"$WORK/build.log" 2>&1 ||
    fail "the site does not build: $(tail -20 "$WORK/build.log")"
start_page_server "$build/web/site"
start_xvfb
echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

# Each slot's start and the time 2 s into it, at the picture's own size and at the native size
# of a 1024 x 768 window (the drawing buffer a page of that size draws into).
starts=(0 26 90 122 170 194 226 249)
sizes=(800x600 1024x768)
engines=(chromium firefox webkit)
times=$(for start in "${starts[@]}"; do echo $((start + 2)); done | paste -sd,)
for size in "${sizes[@]}"; do
    for browser in "${engines[@]}"; do
        mkdir -p "$WORK/$browser-$size"
        timeout 900 node "$root/tests/e2e/browser/page.mjs" shots "$browser" \
            "http://127.0.0.1:$PORT/index.html?at=$times&every&size=$size" "$WORK/$browser-$size" \
            >"$WORK/$browser-$size.json" 2>"$WORK/$browser-$size.log" ||
            fail "$browser: the page's frames failed: $(tail -5 "$WORK/$browser-$size.log")"
    done
    for start in "${starts[@]}"; do
        "$build/vorrel-capture" --silent --from "$start" --to "$((start + 2))" --stats \
            --size "$size" --data "$build/data" 2>/dev/null |
            awk -v s="$start" '$2 ~ /^[0-9]+$/ && $1 != "read-back" { print s, $1, $3 }'
    done >"$WORK/desktop-$size.txt"
done
echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

for size in "${sizes[@]}"; do
    echo "== $size"
    reports=()
    for browser in "${engines[@]}"; do
        reports+=("$WORK/$browser-$size.json")
    done
    python3 - "$WORK/desktop-$size.txt" "${reports[@]}" <<'PY'
import json, os, sys
desktop = {}
for line in open(sys.argv[1]):
    start, scene, median = line.split()
    desktop[int(start)] = (scene, float(median))
names = [os.path.basename(p).split("-")[0] for p in sys.argv[2:]]
browsers = [json.load(open(p)) for p in sys.argv[2:]]
print("browsers: %s" % ", ".join(b["browser"] for b in browsers))
print("%-14s %10s" % ("scene", "desktop ms") + "".join("%12s %6s" % (n + " ms", "ratio")
                                                      for n in names))
means = [{round(s): ms / frames for s, ms, frames in b["rows"]} for b in browsers]
for start in sorted(desktop):
    scene, median = desktop[start]
    print("%-14s %10.1f" % (scene, median) + "".join(
        "%12.1f %6.2f" % (m[start + 2], m[start + 2] / median) for m in means))
PY
done
