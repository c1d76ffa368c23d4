#!/usr/bin/env bash
# The real demo over its whole 266-second timeline, headless. The release build runs it with
# no audio device (the silent output keeps the timeline in sync with the track); the sanitizer
# build runs it with the audio device and must end without a single report. Peak memory shown.
set -u
build=$1
source=$2
source "$(dirname "$0")/lib.bash"
DEMO="$build/vorrel-quisp"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
cp -r "$build/data/textures" "$WORK/"
[ -f "$build/data/mixdown.mp3" ] && cp "$build/data/mixdown.mp3" "$WORK/"
cd "$WORK" || exit 1

if grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt"; then
    audio=dummy
else
    audio=none-such-driver # no device can be opened: the silent output
fi

# The sanitizer build looks for leaks at the exit too: everything the demo keeps lives until
# then, reachable, so what is reported lost was lost on the way. The graphics and sound
# libraries' own leaks are reported too, but from modules unloaded by then: only reports
# that name our sources count. llvmpipe rasterises on the demo's own thread there, as in the
# unit tests: LeakSanitizer's tracer, which stops every thread, crashed on its threads.
# At verbosity 2 LeakSanitizer says when its tracer has stopped the threads and let them go:
# the sign that the check ran at all, since a run it never looked at reports nothing either.
leaks=0
threads=()
lsan=
if [ "$audio" = dummy ]; then
    leaks=1
    threads=(LP_NUM_THREADS=0)
    lsan=verbosity=2:
fi
# One whole run and its checks; a failed check ends the script.
now() { date +%s.%N; }
run_once() {
    begin=$(now)
    env "${threads[@]}" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=$audio \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=$leaks" LSAN_OPTIONS="${lsan}exitcode=0:${LSAN_OPTIONS:-}" \
        /usr/bin/time -f "%M" -o rss.txt "$DEMO" >out.txt 2>err.txt &
    pid=$!
    # The first frame of the timeline prints the opening scene's line: the timeline's zero.
    first=""
    while kill -0 "$pid" 2>/dev/null; do
        if [ -z "$first" ] && grep -q "^local_timer : 0$" out.txt; then
            first=$(now)
        fi
        sleep 0.05
    done
    wait "$pid"
    status=$?
    end=$(now)
    [ -n "$first" ] || first=$end
    loading=$(awk -v a="$begin" -v b="$first" 'BEGIN { printf "%.1f", b - a }')
    timeline=$(awk -v a="$first" -v b="$end" 'BEGIN { printf "%.1f", b - a }')
    echo "whole run: loading and wait $loading s, timeline $timeline s, status $status," \
        "peak memory $(($(cat rss.txt) / 1024)) MB (audio: $audio)"

    expect_eq "$status" 0 "status at the end of the timeline"
    # Frames whose commands were never flushed once piled up to gigabytes on an offscreen surface.
    # (The sanitizers' shadow memory and quarantine make the sanitized build's figure meaningless.)
    if [ "$audio" != dummy ]; then
        [ "$(cat rss.txt)" -lt 400000 ] || fail "memory grew to $(($(cat rss.txt) / 1024)) MB"
    fi
    grep -qE "ERROR: AddressSanitizer|runtime error" err.txt && fail "sanitizer report: $(head -n 20 err.txt)"
    ours=$(awk -v src="$source/src/" '
        /^(Direct|Indirect) leak/ { block = $0 "\n"; inside = 1; next }
        inside && NF == 0 { if (mine) print block; inside = 0; mine = 0; next }
        inside { block = block $0 "\n"; if (index($0, src)) mine = 1 }
        END { if (inside && mine) print block }' err.txt)
    [ -z "$ours" ] || fail "memory lost during the run: $ours"
    expect_no_gl_error err.txt
    expect_eq "$(grep -c '^local_timer : 0$' out.txt)" 2 "first-frame lines of the two scenes that print"
    # The timeline is 266 s from its first frame to the end, whatever the loading took; the last
    # frame may run over by a frame and the exit. (The whole run is bounded by the test's timeout.)
    awk -v s="$timeline" 'BEGIN { exit !(s >= 264 && s < 280) }' || fail "the timeline took $timeline s"
    if [ "$audio" != dummy ]; then
        expect_contains err.txt "Sound is off: no audio device could be opened" "silent output line"
    fi
    if [ "$leaks" = 1 ] && ! grep -q "LeakSanitizer has encountered a fatal error" err.txt; then
        grep -qE "^==[0-9]+==Detached from thread [0-9]+" err.txt \
            || fail "LeakSanitizer never looked for leaks at the exit"
        grep -q "LeakSanitizer: detected memory leaks" err.txt \
            || echo "fullrun: no leak reported at all, not even the libraries' own"
    fi
}

run_once
# LeakSanitizer's tracer, which stops every thread to look for leaks, was seen to crash now and
# then at the exit (with llvmpipe on the demo's own thread too) after every check had passed:
# such a run has no leak check, so it runs once more, and a second crash fails.
if grep -q "LeakSanitizer has encountered a fatal error" err.txt; then
    echo "fullrun: LeakSanitizer itself failed at the exit ($(grep -m 1 "Tracer caught" err.txt)); once more"
    run_once
    grep -q "LeakSanitizer has encountered a fatal error" err.txt \
        && fail "LeakSanitizer failed at the exit twice in a row: $(grep -m 3 -E "Tracer|LeakSanitizer" err.txt)"
fi
echo "fullrun: all checks passed"
