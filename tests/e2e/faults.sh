#!/usr/bin/env bash
# Missing and broken data: every picture missing in turn, all of them, broken pictures and a
# broken track. The timeline plays through (rendered by the capture tool, which runs the
# demo's own start-up and scenes) and ends with status 0.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
CAPTURE="$build/vorrel-capture"
DATA="$build/data"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
sanitized=0
grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt" && sanitized=1

# Times at which the slots show most of their pictures: every card, the overlays, the
# floor, the tube, the background and the font.
TIMES=8,20,30,109,115,130,180,200,240,263
FRAMES=10

# Plays the timeline in the folder $1 (a copy of the data with changes); $2 names the case.
play() {
    local dir=$1 what=$2
    (cd "$dir" && "$CAPTURE" --fps 2 --at "$TIMES" --frames "$dir/frames" \
        >"$dir/out.txt" 2>"$dir/err.txt")
    local status=$?
    [ "$status" -eq 0 ] || fail "$what: status $status: $(tail -n 3 "$dir/err.txt")"
    expect_eq "$(ls "$dir/frames" | wc -l)" "$FRAMES" "$what: frames written"
    grep -qE "AddressSanitizer|runtime error" "$dir/err.txt" && fail "$what: sanitizer report"
    return 0
}

copy_data() { # folder
    mkdir -p "$1/textures"
    cp "$DATA"/textures/*.png "$1/textures/"
    [ -f "$DATA/mixdown.mp3" ] && cp "$DATA/mixdown.mp3" "$1/"
    return 0
}

pictures=$(cd "$DATA/textures" && ls *.png)
[ -n "$pictures" ] || fail "no pictures in $DATA/textures"

# All pictures missing.
mkdir -p "$WORK/none"
[ -f "$DATA/mixdown.mp3" ] && cp "$DATA/mixdown.mp3" "$WORK/none/"
play "$WORK/none" "all pictures missing"

# Broken pictures: truncated, not an image, empty.
copy_data "$WORK/broken"
for p in overlay.png vorrel.png tunnel.png; do
    head -c 300 "$DATA/textures/$p" >"$WORK/broken/textures/$p"
done
echo "not a picture" >"$WORK/broken/textures/bg.png"
: >"$WORK/broken/textures/font.png"
cp "$DATA/textures/marble.0000.png" "$WORK/broken/textures/redsex.png" # a picture, but RGB
play "$WORK/broken" "broken pictures"

# The track missing, empty, cut in the middle, or another file renamed.
for case in missing empty cut text; do
    copy_data "$WORK/track-$case"
    t="$WORK/track-$case/mixdown.mp3"
    case $case in
    missing) rm -f "$t" ;;
    empty) : >"$t" ;;
    cut) [ -f "$DATA/mixdown.mp3" ] && head -c $(($(stat -c %s "$DATA/mixdown.mp3") / 2)) \
        "$DATA/mixdown.mp3" >"$t" ;;
    text) cp "$DATA/../CMakeCache.txt" "$t" ;;
    esac
    play "$WORK/track-$case" "track $case"
done
expect_contains "$WORK/track-missing/err.txt" "Error!!!! File not found" "missing track's line"
expect_contains "$WORK/track-empty/err.txt" "Error!!!! Unknown file format" "empty track's line"
expect_contains "$WORK/track-text/err.txt" "Error!!!! Unknown file format" "text track's line"

# Each picture missing in turn (the release build; the sanitizer build covers the cases above).
if [ "$sanitized" -eq 0 ]; then
    for p in $pictures; do
        copy_data "$WORK/without-$p"
        rm "$WORK/without-$p/textures/$p"
    done
    export -f play fail expect_eq
    export CAPTURE TIMES FRAMES
    printf '%s\n' $pictures | xargs -P 2 -I{} bash -c 'play "$0/without-{}" "without {}"' "$WORK" \
        || fail "a run with one picture missing failed"
fi

echo "faults: all checks passed"
