#!/usr/bin/env bash
# Missing and broken data: every picture missing in turn, all of them, broken pictures and a
# broken track. The timeline plays through (rendered by the capture tool, which runs the
# demo's own start-up and scenes) and ends with status 0, and its frames show what a viewer
# should see: each scene with its pictures, and white where a missing picture was.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
CAPTURE="$build/vorrel-capture"
DATA="$build/data"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
sanitized=0
grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt" && sanitized=1

CHECK="$build/tests/vq_frame_check"

# Times at which the slots show their pictures, and the pictures a viewer sees at each: every
# card, the bars' overlay and floor, the tube, the credits' background and font. (The overlay
# and tube of the unscheduled tunnel scenes show nowhere.)
TIMES=8,20,30,101,109,115,130,180,200,240,263
FRAMES=11
declare -A SHOWN=(
    [8]="vorrel.png quisp.png"
    [20]="presents.png morvane.png"
    [30]="overlay.png marble.0000.png"
    [101]="code.png pevrick.png telquin.png"
    [109]="music.png and.png"
    [115]="and.png graphics.png ulmerd.png"
    [130]=""
    [180]="overlay.png marble.0000.png"
    [200]="tunnel.png"
    [240]="bg.png font.png font_mask.png"
    [263]="greetings.png is.png like.png redsex.png some.png get.png it.png dont.png smiley.png"
)
# Seen through rather than covering: the floor at 65 %, the mask that only darkens.
SEE_THROUGH="marble.0000.png font_mask.png"

frame() { # time
    printf "t-%07.3f.png" "$1"
}

# Plays the timeline in the folder $1 (a copy of the data with changes); $2 names the case.
play() {
    local dir=$1 what=$2
    (cd "$dir" && "$CAPTURE" --fps 2 --at "$TIMES" --frames "$dir/frames" \
        >"$dir/out.txt" 2>"$dir/err.txt")
    local status=$?
    [ "$status" -eq 0 ] || fail "$what: status $status: $(tail -n 3 "$dir/err.txt")"
    expect_eq "$(ls "$dir/frames" | wc -l)" "$FRAMES" "$what: frames written"
    grep -qE "AddressSanitizer|runtime error" "$dir/err.txt" && fail "$what: sanitizer report"
    expect_no_gl_error "$dir/err.txt"
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

# Every frame of a run shows something: neither black nor one flat colour.
expect_shown() { # folder what
    local t
    for t in ${TIMES//,/ }; do
        "$CHECK" shows "$1/frames/$(frame "$t")" 0.5 >/dev/null \
            || fail "$2: nothing to see at $t s: $("$CHECK" shows "$1/frames/$(frame "$t")" 0.5)"
    done
}

# Against the frames with every picture: where a missing picture was shown, the frame is
# lighter (white where the picture covered it); every other frame is the same, byte for byte.
# Times listed in EXCEPT_AT are left out.
expect_missing() { # folder what pictures...
    local dir=$1 what=$2 t p
    shift 2
    for t in ${TIMES//,/ }; do
        case " ${EXCEPT_AT:-} " in *" $t "*) continue ;; esac
        local shown="" white=95 name
        name=$(frame "$t")
        for p in "$@"; do
            case " ${SHOWN[$t]} " in *" $p "*) shown="$shown $p" ;; esac
        done
        if [ -z "$shown" ]; then
            cmp -s "$WORK/all/frames/$name" "$dir/frames/$name" \
                || fail "$what: the frame at $t s changed, though it shows no missing picture"
            continue
        fi
        for p in $shown; do
            case " $SEE_THROUGH " in *" $p "*) white=0 ;; esac
        done
        "$CHECK" lighter "$WORK/all/frames/$name" "$dir/frames/$name" 1000 "$white" >/dev/null \
            || fail "$what: at $t s, where$shown showed: \
$("$CHECK" lighter "$WORK/all/frames/$name" "$dir/frames/$name" 1000 "$white")"
    done
}

# Every picture: each scene shows its pictures.
copy_data "$WORK/all"
play "$WORK/all" "every picture"
expect_shown "$WORK/all" "every picture"

# All pictures missing: white where each of them was.
mkdir -p "$WORK/none"
[ -f "$DATA/mixdown.mp3" ] && cp "$DATA/mixdown.mp3" "$WORK/none/"
play "$WORK/none" "all pictures missing"
expect_missing "$WORK/none" "all pictures missing" $pictures

# Broken pictures: truncated, not an image, empty; these show as missing ones do. The Sex
# card's picture is replaced by another one without an alpha channel, which it then shows.
copy_data "$WORK/broken"
for p in overlay.png vorrel.png tunnel.png; do
    head -c 300 "$DATA/textures/$p" >"$WORK/broken/textures/$p"
done
echo "not a picture" >"$WORK/broken/textures/bg.png"
: >"$WORK/broken/textures/font.png"
cp "$DATA/textures/marble.0000.png" "$WORK/broken/textures/redsex.png" # a picture, but RGB
play "$WORK/broken" "broken pictures"
EXCEPT_AT=263 expect_missing "$WORK/broken" "broken pictures" overlay.png vorrel.png tunnel.png \
    bg.png font.png
"$CHECK" shows "$WORK/broken/frames/$(frame 263)" 0.5 >/dev/null \
    || fail "broken pictures: nothing to see at 263 s"
cmp -s "$WORK/all/frames/$(frame 263)" "$WORK/broken/frames/$(frame 263)" \
    && fail "broken pictures: the RGB picture in the Sex card's place does not show"

# The track missing, empty, cut in the middle, or another file renamed: the pictures still
# show.
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
    expect_shown "$WORK/track-$case" "track $case"
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
    # Every function, so that no check play makes is missing in the parallel shells (a missing
    # one only says "command not found" there, and the run passes without it).
    export -f $(compgen -A function)
    export CAPTURE TIMES FRAMES
    printf '%s\n' $pictures | xargs -P 2 -I{} bash -c 'play "$0/without-{}" "without {}"' "$WORK" \
        || fail "a run with one picture missing failed"
    for p in $pictures; do
        expect_missing "$WORK/without-$p" "without $p" "$p"
    done
fi

echo "faults: all checks passed"
