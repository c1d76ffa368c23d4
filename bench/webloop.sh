#!/usr/bin/env bash
# The browser build's two frame loops side by side: the browser's main loop calling one frame at
# a time (the site's) against the demo's own loop yielding through ASYNCIFY. Prints the sizes of
# the .wasm and the .js (raw and gzip), then runs the live page of each in headless Chromium
# (WebGL on SwiftShader), in turns (A B B A ...): the click to the first frame, the frames drawn
# over the timeline's first SECONDS (Preface and the start of Intro), their spacing and the
# page's work per frame, and the rates of the timeline and of the track heard against the wall
# clock; then the medians of the runs and their ratios asyncify / mainloop.
#
# bench/webloop.sh [--seconds S] [--rounds N] [--data DIR] [--mainloop OUT] [--asyncify OUT]
# The two sites are build-web/site (scripts/web) and build-web-asyncify/site (scripts/web --loop
# asyncify --out build-web-asyncify), or those of the scripts/web --out folders given; a missing
# one is built first (--data: the pictures and track to pack then). Needs emscripten and
# chromium (scripts/setup); measure on an otherwise quiet machine.
set -uo pipefail
source "$(dirname "$0")/prologue.bash"
source "$root/tests/e2e/lib.bash"
# lib.bash's exit trap takes the place of the prologue's.
at_exit "rm -rf '$tmp'"

seconds=30
rounds=2
data=()
declare -A out=([mainloop]="$root/build-web" [asyncify]="$root/build-web-asyncify")
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds) seconds="$2" && shift 2 ;;
    --rounds) rounds="$2" && shift 2 ;;
    --data) data=(--data "$2") && shift 2 ;;
    --mainloop | --asyncify) out[${1#--}]="$2" && shift 2 ;;
    *)
        echo "usage: bench/webloop.sh [--seconds S] [--rounds N] [--data DIR]" \
            "[--mainloop OUT] [--asyncify OUT]" >&2
        exit 2
        ;;
    esac
done

for loop in mainloop asyncify; do
    site="${out[$loop]}/site"
    if [ ! -f "$site/vorrel-quisp.wasm" ]; then
        echo "== building the $loop site into $site"
        "$root/scripts/web" --site --loop "$loop" --out "${out[$loop]}" "${data[@]}" \
            >"$tmp/build-$loop.log" 2>&1 ||
            fail "the $loop site does not build: $(tail -20 "$tmp/build-$loop.log")"
    fi
    # The yield of the demo's own loop is in the asyncify build's .js alone.
    if grep -q vq_next_frame "$site/vorrel-quisp.js"; then built=asyncify; else built=mainloop; fi
    [ "$built" = "$loop" ] ||
        fail "$site is a $built build, not $loop: rebuild it with --loop $loop"
done

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== sizes in bytes (raw, gzip -9)"
declare -A size
for loop in mainloop asyncify; do
    for kind in wasm js; do
        file="${out[$loop]}/site/vorrel-quisp.$kind"
        size[$loop.$kind]="$(stat -c %s "$file") $(gzip -9 -c "$file" | wc -c)"
        read -r raw zipped <<<"${size[$loop.$kind]}"
        printf '%-8s .%-4s %9s %9s\n' "$loop" "$kind" "$raw" "$zipped"
    done
done
for kind in wasm js; do
    read -r mr mg <<<"${size[mainloop.$kind]}"
    read -r ar ag <<<"${size[asyncify.$kind]}"
    awk -v k="$kind" -v mr="$mr" -v mg="$mg" -v ar="$ar" -v ag="$ag" \
        'BEGIN { printf "asyncify / mainloop .%s: raw %.3f, gzip %.3f\n", k, ar / mr, ag / mg }'
done

declare -A port
for loop in mainloop asyncify; do
    python3 -u "$root/bench/webloop.py" serve "${out[$loop]}/site" >"$tmp/server-$loop" 2>&1 &
    at_exit "kill $! 2>/dev/null"
    for _ in $(seq 100); do
        [ -s "$tmp/server-$loop" ] && break
        sleep 0.1
    done
    port[$loop]=$(head -1 "$tmp/server-$loop")
    [[ "${port[$loop]}" =~ ^[0-9]+$ ]] ||
        fail "the page server did not start: $(cat "$tmp/server-$loop")"
done

echo "== live runs, the timeline's first $seconds s, in turns (A B B A ...)"
echo "   first: click to first frame (ms), in brackets its start-up, up to the track playing;"
echo "   gap: frame spacing, work: the page's time in the frame's callback (ms, mean / median);"
echo "   rates: timeline and track heard, seconds a wall second"
for round in $(seq "$rounds"); do
    # A B, then B A: neither loop always runs second, after the other has warmed the machine.
    order="mainloop asyncify"
    [ $((round % 2)) = 0 ] && order="asyncify mainloop"
    for loop in $order; do
        run="$tmp/$loop-$round"
        mkdir -p "$run"
        timeout $((seconds * 4 + 180)) node "$root/bench/webloop.mjs" \
            "http://127.0.0.1:${port[$loop]}/index.html" "$seconds" "$run" \
            >"$run/report.json" 2>"$run/driver.log" ||
            fail "the $loop page could not be driven: $(tail -5 "$run/driver.log")"
        python3 - "$loop" "$round" "$run/report.json" <<'EOF'
import json, sys
loop, round_, path = sys.argv[1:]
r = json.load(open(path))
first = ("%7.1f (%6.1f)" % (r["first_frame_ms"], r["startup_ms"])
         if r["first_frame_ms"] is not None else "started by itself")
print("%-8s #%s first %s  frames %5d  gap %6.2f / %6.2f  work %6.3f / %6.3f  "
      "rates %.3f %s%s%s"
      % (loop, round_, first, r["frames"], r["gap_mean"],
         r["gap_median"], r["work_mean"], r["work_median"], r["timeline_rate"],
         "%.3f" % r["track_rate"] if r["track_rate"] else "none",
         "  ERRORS %s %s" % (r["errors"][:2], r["page_errors"][:2])
         if r["errors"] or r["page_errors"] else "",
         "" if r["isolated"] else "  (clock to 0.1 ms: the page is not isolated)"))
for slot, s in sorted(r["slots"].items(), key=lambda kv: int(kv[0])):
    print("           slot %s: frames %5d  gap %6.2f / %6.2f  work %6.3f / %6.3f"
          % (slot, s["frames"], s["gap_mean"] or 0, s["gap_median"] or 0, s["work_mean"] or 0,
             s["work_median"] or 0))
EOF
    done
done
echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== medians of the runs, asyncify / mainloop"
python3 - "$tmp" "$rounds" <<'EOF'
import json, statistics, sys
tmp, rounds = sys.argv[1], int(sys.argv[2])
runs = {loop: [json.load(open("%s/%s-%d/report.json" % (tmp, loop, n)))
               for n in range(1, rounds + 1)]
        for loop in ("mainloop", "asyncify")}
for key in ("first_frame_ms", "startup_ms", "frames", "gap_mean", "gap_median", "work_mean",
            "work_median", "timeline_rate", "track_rate"):
    m = statistics.median(r[key] or 0 for r in runs["mainloop"])
    a = statistics.median(r[key] or 0 for r in runs["asyncify"])
    print("%-15s mainloop %9.3f  asyncify %9.3f  ratio %s"
          % (key, m, a, "%.3f" % (a / m) if m else "-"))
EOF
