#!/usr/bin/env bash
# How soon the one-file page is ready when opened from the disk, in Chromium (headless,
# SwiftShader), Firefox ESR and WebKitGTK's MiniBrowser (windows under Xvfb, llvmpipe): from the
# opening to the start button, and to the first frame with the button clicked at once, by the
# page's own clock; each run a fresh browser, the engines and pages taken in turn round by round
# so that a burst of load falls on all alike. Pages given are timed side by side (an older build's
# against this one's); without any, the one file scripts/web builds. Needs scripts/setup's
# browsers and page driver; run on a quiet machine.
#     bench/webopen.sh [--runs N] [PAGE.html ...]
set -uo pipefail
source "$(dirname "$0")/prologue.bash"
source "$root/tests/e2e/lib.bash"
source "$root/tests/e2e/pulse.bash"
# lib.bash's exit trap takes the place of the prologue's.
at_exit "rm -rf '$tmp'"
WORK=$tmp

runs=5
pages=()
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift 2 ;;
    *) pages+=("$(realpath "$1")"); shift ;;
    esac
done
if [ ${#pages[@]} -eq 0 ]; then
    "$root/scripts/web" --out "$build/web" --site --data "$build/data" >"$WORK/build.log" 2>&1 ||
        fail "the site does not build: $(tail -20 "$WORK/build.log")"
    pages=("$(ls "$build"/web/vorrel-quisp-*.html | head -1)")
fi
# Each page alone in a folder of its own, as a viewer's download is.
for i in "${!pages[@]}"; do
    mkdir -p "$WORK/page$i"
    cp "${pages[$i]}" "$WORK/page$i/"
    echo "== page $i: ${pages[$i]} ($(stat -c %s "${pages[$i]}") bytes)"
done
start_xvfb
# Firefox and WebKit play no sound without a device, and the first frame waits for the sound.
start_pulse
at_exit stop_pulse
echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

for run in $(seq "$runs"); do
    for i in "${!pages[@]}"; do
        url="file://$(ls "$WORK/page$i"/*.html)"
        for browser in chromium firefox webkit; do
            mkdir -p "$WORK/$browser-$i-$run"
            timeout 180 node "$root/bench/webopen.mjs" "$browser" "$url" "$WORK/$browser-$i-$run" \
                >>"$WORK/$browser-$i.jsonl" 2>"$WORK/$browser-$i-$run.log" ||
                fail "$browser, page $i: $(tail -5 "$WORK/$browser-$i-$run.log")"
            # A closed browser's processes take a moment to end (WebKit's web process was seen
            # busy 1.5 s after its close): the next opening waits for them.
            sleep 3
        done
    done
done
echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$WORK" "${#pages[@]}" <<'PY'
import json, statistics, sys
work, count = sys.argv[1], int(sys.argv[2])
print("%-5s %-22s %24s %24s" % ("page", "browser", "ready ms (min med max)",
                                 "first frame ms (min med max)"))
for i in range(count):
    for browser in ("chromium", "firefox", "webkit"):
        reports = [json.loads(line) for line in open("%s/%s-%d.jsonl" % (work, browser, i))]
        bad = [r["errors"] + r["page_errors"] for r in reports if r["errors"] or r["page_errors"]]
        def spread(key):
            values = sorted(r[key] for r in reports)
            return "%6.0f %6.0f %6.0f" % (values[0], statistics.median(values), values[-1])
        print("%-5d %-22s %24s %24s%s" % (i, reports[0]["browser"][:22], spread("ready_ms"),
                                          spread("first_frame_ms"),
                                          "  errors: %s" % bad[0][:2] if bad else ""))
PY
