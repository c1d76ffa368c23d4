#!/usr/bin/env bash
# The real binary with a bad or cut "mixdown.mp3": the error line, then the run goes on past
# the wait for audio into the frame loop, where q quits with status 0.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
DEMO="$build/vorrel-quisp"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
cd "$WORK" || exit 1
start_xvfb

# Starts the demo on the current mixdown.mp3, quits it with q once its window shows, and
# checks the status; keys are read only in the frame loop, after the wait for audio.
run_and_quit() { # what
    start_demo_window
    sleep 1
    press q
    wait_demo 60
    expect_eq "$DEMO_STATUS" 0 "status with $1"
}

rm -f mixdown.mp3
run_and_quit "no mixdown.mp3"
expect_eq "$(cat err.txt)" "Error!!!! File not found" "error line with no track"
grep -q "Error" out.txt && fail "the error line went to standard output"

: >mixdown.mp3
run_and_quit "an empty mixdown.mp3"
expect_eq "$(cat err.txt)" "Error!!!! Unknown file format" "error line with an empty track"

printf 'Greetings to everyone at the party.\nThis is not a track.\n' >mixdown.mp3
run_and_quit "a text file as mixdown.mp3"
expect_eq "$(cat err.txt)" "Error!!!! Unknown file format" "error line with a text file"

# A track cut in the middle plays the part that decodes: no error line.
ffmpeg -v error -f lavfi -i "sine=frequency=904:duration=6" -ac 2 -c:a libmp3lame -b:a 192k \
    whole.mp3 || fail "ffmpeg could not make a track"
head -c $(($(stat -c %s whole.mp3) / 2)) whole.mp3 >mixdown.mp3
run_and_quit "a cut mixdown.mp3"
expect_eq "$(cat err.txt)" "" "standard error with a cut track"

echo "music: all checks passed"
