#!/usr/bin/env bash
# The demo's frame times in the browsers against the desktop, per scene, in one run: the first
# 2 s of each slot drawn by the page's test mode (index.html?at=...&every, every frame of the
# slot up to the time, on the capture's clock, silent) in headless Chromium (WebGL on
# SwiftShader) and in Firefox ESR under Xvfb (WebGL on llvmpipe), then the same 2 s by
# vorrel-capture --stats. The pages give the mean of their frames, the capture the median of its
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

# Each slot's start and the time 2 s into it.
starts=(0 26 90 122 170 194 226 249)
times=$(for start in "${starts[@]}"; do echo $((start + 2)); done | paste -sd,)
for browser in chromium firefox; do
    mkdir -p "$WORK/$browser"
    timeout 900 node "$root/tests/e2e/browser/page.mjs" shots "$browser" \
        "http://127.0.0.1:$PORT/index.html?at=$times&every" "$WORK/$browser" \
        >"$WORK/$browser.json" 2>"$WORK/$browser.log" ||
        fail "$browser: the page's frames failed: $(tail -5 "$WORK/$browser.log")"
done

for start in "${starts[@]}"; do
    "$build/vorrel-capture" --silent --from "$start" --to "$((start + 2))" --stats \
        --data "$build/data" 2>/dev/null | awk -v s="$start" '$2 ~ /^[0-9]+$/ && $1 != "read-back" {
        print s, $1, $3 }'
done >"$WORK/desktop.txt"
echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$WORK/chromium.json" "$WORK/firefox.json" "$WORK/desktop.txt" <<'PY'
import json, sys
browsers = [json.load(open(path)) for path in sys.argv[1:3]]
desktop = {}
for line in open(sys.argv[3]):
    start, scene, median = line.split()
    desktop[int(start)] = (scene, float(median))
print("browsers: %s" % ", ".join(b["browser"] for b in browsers))
print("%-14s %10s %14s %8s %13s %8s" % ("scene", "desktop ms", "chromium ms", "ratio",
                                          "firefox ms", "ratio"))
means = [{round(s): ms / frames for s, ms, frames in b["rows"]} for b in browsers]
for start in sorted(desktop):
    scene, median = desktop[start]
    chromium, firefox = (m[start + 2] for m in means)
    print("%-14s %10.1f %14.1f %8.2f %13.1f %8.2f" % (scene, median, chromium, chromium / median,
                                                      firefox, firefox / median))
PY
