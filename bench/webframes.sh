#!/usr/bin/env bash
# The demo's frame times in the browser against the desktop, per scene, in one run: the first
# 2 s of each slot drawn by the page's test mode (index.html?at=...&every, every frame of the slot up
# to the time, on the capture's clock, silent) in headless Chromium, then the same 2 s by
# vorrel-capture --stats. The page gives the mean of its frames, the capture the median of its
# own. Needs the release build, its data, emscripten and chromium; run on a quiet machine.
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
echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

# Each slot's start and the time 2 s into it.
starts=(0 26 90 122 170 194 226 249)
times=$(for start in "${starts[@]}"; do echo $((start + 2)); done | paste -sd,)
mkdir -p "$WORK/shots"
timeout 900 python3 "$root/tests/e2e/webpage.py" shots \
    "http://127.0.0.1:$PORT/index.html?at=$times&every" "$WORK/shots" >"$WORK/shots.json" \
    2>"$WORK/shots.log" || fail "the page's frames failed: $(tail -5 "$WORK/shots.log")"

for start in "${starts[@]}"; do
    "$build/vorrel-capture" --silent --from "$start" --to "$((start + 2))" --stats \
        --data "$build/data" 2>/dev/null | awk -v s="$start" '$2 ~ /^[0-9]+$/ && $1 != "read-back" {
        print s, $1, $3 }'
done >"$WORK/desktop.txt"

python3 - "$WORK/shots.json" "$WORK/desktop.txt" <<'PY'
import json, sys
rows = json.load(open(sys.argv[1]))["rows"]
desktop = {}
for line in open(sys.argv[2]):
    start, scene, median = line.split()
    desktop[int(start)] = (scene, float(median))
print("%-14s %10s %12s %8s" % ("scene", "browser ms", "desktop ms", "ratio"))
for seconds, ms, frames in rows:
    scene, median = desktop[round(seconds) - 2]
    mean = ms / frames
    print("%-14s %10.1f %12.1f %8.2f" % (scene, mean, median, mean / median))
PY
