#!/usr/bin/env bash
# The real demo over its whole 266-second timeline, headless. The release build runs it with
# no audio device (the silent output keeps the timeline in sync with the track); the sanitizer
# build runs it with the audio device and must end without a single report. Peak memory shown.
set -u
build=$1
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

begin=$(date +%s.%N)
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=$audio /usr/bin/time -f "%M" -o rss.txt \
    "$DEMO" >out.txt 2>err.txt
status=$?
end=$(date +%s.%N)
spent=$(awk -v a="$begin" -v b="$end" 'BEGIN { printf "%.1f", b - a }')
echo "whole run: $spent s, status $status, peak memory $(($(cat rss.txt) / 1024)) MB (audio: $audio)"

expect_eq "$status" 0 "status at the end of the timeline"
# Frames whose commands were never flushed once piled up to gigabytes on an offscreen surface.
# (The sanitizers' shadow memory and quarantine make the sanitized build's figure meaningless.)
if [ "$audio" != dummy ]; then
    [ "$(cat rss.txt)" -lt 400000 ] || fail "memory grew to $(($(cat rss.txt) / 1024)) MB"
fi
grep -qE "AddressSanitizer|runtime error|LeakSanitizer" err.txt && fail "sanitizer report: $(head -n 20 err.txt)"
expect_eq "$(grep -c '^local_timer : 0$' out.txt)" 2 "first-frame lines of the two scenes that print"
# The timeline is 266 s; loading and the start-up wait come before it.
awk -v s="$spent" 'BEGIN { exit !(s >= 266 && s < 300) }' || fail "the run took $spent s"
if [ "$audio" != dummy ]; then
    expect_contains err.txt "Sound is off: no audio device could be opened" "silent output line"
fi
echo "fullrun: all checks passed"
