#!/usr/bin/env bash
# The release: two package builds of this commit, each from a clean folder, give the same bytes;
# the .deb and the tarball, unpacked, run from an unrelated folder and find every picture; the
# desktop entry, the icons and the manual pages pass their checks; apt installs the .deb into a
# bare Debian 12, where the capture draws the build tree's frames and the demo ends on Escape.
set -u
build=$1
source_dir=$2
source "$(dirname "$0")/lib.bash"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'

# Two builds; the second skips lintian, which the first ran (errors fail scripts/package).
started=$(date +%s)
for n in one two; do
    lint=()
    [ "$n" = two ] && lint=(--no-lintian)
    "$source_dir/scripts/package" --build-dir "$WORK/$n" "${lint[@]}" >"$WORK/$n.log" 2>&1 \
        || fail "package build $n: $(tail -n 20 "$WORK/$n.log")"
done
echo "two package builds: $(($(date +%s) - started)) s"
grep -E "^[EW]: " "$WORK/one.log" # lintian's warnings, for the log

sums() { (cd "$WORK/$1/packages" && sha256sum -- *.deb *.tar.gz); }
expect_eq "$(sums two)" "$(sums one)" "SHA-256 sums of the second build"
deb=$(ls "$WORK"/one/packages/*.deb)
tarball=$(ls "$WORK"/one/packages/*.tar.gz)

# What makes the sums stable, checked on its own, since two builds may agree by chance (the
# same file system lists the same names in the same order): members sorted by name within each
# folder, owned by root, all with the last commit's time.
epoch_time=$(TZ=UTC date -d "@$(git -C "$source_dir" log -1 --format=%ct)" "+%F %T")
check_members() { # what (a tar stream on standard input)
    TZ=UTC tar --full-time --numeric-owner -tv >"$WORK/members.txt" || fail "$1: cannot list"
    awk -v t="$epoch_time" '$2 != "0/0" || $4 " " $5 != t' "$WORK/members.txt" >"$WORK/odd.txt"
    [ -s "$WORK/odd.txt" ] \
        && fail "$1: members not root's or not of $epoch_time: $(head -n 3 "$WORK/odd.txt")"
    # A name sorts after its folder's and before the next sibling's once "/" sorts first.
    awk '{print $6}' "$WORK/members.txt" | tr / '\001' | LC_ALL=C sort -c 2>/dev/null \
        || fail "$1: members not in name order"
}
check_members "the tarball" < <(gzip -dc "$tarball")
check_members "the .deb's files" < <(dpkg-deb --fsys-tarfile "$deb")
expect_eq "$(od -An -tx1 -j4 -N4 "$tarball" | tr -d ' ')" 00000000 "the tarball's gzip time"

mkdir -p "$WORK/deb" "$WORK/tar" "$WORK/elsewhere" "$WORK/links"
dpkg-deb -x "$deb" "$WORK/deb" || fail "dpkg-deb -x"
tar -xzf "$tarball" -C "$WORK/tar" || fail "tar -x"
tar_root=$(ls -d "$WORK"/tar/vorrel-quisp-*)
[ -d "$tar_root" ] || fail "the tarball has no top folder"

# Only what a viewer runs, and no build folder's path in any of it.
grep -rlaF -e "$WORK" -e "$source_dir" "$WORK/deb" "$tar_root" \
    && fail "build paths in the files above"
expect_eq "$(dpkg-deb -f "$deb" Recommends)" ffmpeg "Recommends"
dpkg-deb -f "$deb" Depends | grep -q "libsdl1.2" || fail "Depends: $(dpkg-deb -f "$deb" Depends)"

# The frames of scenes with pictures, through the build tree's own capture tool: the cards,
# the bars' overlay and floor, the textured tube, the credits' picture and font, the words.
TIMES=8,30,101,200,240,263
(cd "$build/data" && quietly "the build tree's capture" "$build/vorrel-capture" --fps 2 \
    --at "$TIMES" --frames "$WORK/reference") || exit 1

# A missing picture draws its quad plain white: frames with every picture hold at most a few
# white pixels (1.3 % at most), frames without them a fifth or more.
white_pixels() {
    ffmpeg -v error -i "$1" -f rawvideo -pix_fmt gray - | tr -cd '\377' | wc -c
}

check_release() { # root what frames-argument
    local root=$1 what=$2 frames=$3 t name
    cd "$WORK/elsewhere" || fail "no folder"

    # The demo: arguments passed on, its first frame drawn, the track found (a missing one
    # prints "File not found" on standard error).
    "$root/games/vorrel-quisp" 640 480 >"$WORK/out.txt" 2>"$WORK/err.txt" &
    local pid=$!
    wait_first_frame $pid "$WORK/out.txt" || fail "$what: no first frame: $(cat "$WORK/err.txt")"
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    expect_eq "$(head -c 24 "$WORK/out.txt")" "width: 640height: 480loc" "$what: the demo's output"
    expect_eq "$(cat "$WORK/err.txt")" "" "$what: the demo's errors"

    # The capture tool: its status and its one line kept, then frames written where the caller
    # meant them, equal to the build tree's.
    "$root/bin/vorrel-capture" --fps 0 >"$WORK/out.txt" 2>"$WORK/err.txt"
    expect_eq "$?" 2 "$what: status of a bad capture"
    expect_contains "$WORK/err.txt" "vorrel-capture: --fps needs a whole number" "$what"
    "$root/bin/vorrel-capture" --fps 2 --at "$TIMES" --frames "$frames" \
        >"$WORK/out.txt" 2>"$WORK/err.txt" || fail "$what: capture: $(tail -n 2 "$WORK/err.txt")"
    for t in ${TIMES//,/ }; do
        name=$(printf "t-%07.3f.png" "$t")
        [ -f "$WORK/elsewhere/shots dir/$name" ] || fail "$what: $name not in 'shots dir'"
        cmp -s "$WORK/elsewhere/shots dir/$name" "$WORK/reference/$name" \
            || fail "$what: the frame at $t s differs from the build tree's"
        local white
        white=$(white_pixels "$WORK/elsewhere/shots dir/$name")
        [ "$white" -lt 24000 ] || fail "$what: $white white pixels at $t s: a picture is missing"
    done
    rm -rf "$WORK/elsewhere/shots dir"

    cd "$WORK" || fail "no folder"
}

# The installed preview, run from an unrelated folder: s writes where the command was run, with
# the default --shots and with a relative one, not into the data folder the tool reads.
check_preview() { # root what
    local root=$1 what=$2 shots expected line
    cd "$WORK/elsewhere" || fail "no folder"
    for shots in . "rel shots"; do
        mkdir -p "$shots"
        expected="$WORK/elsewhere/$shots/t-008.000.png"
        SDL_VIDEODRIVER=x11 "$root/bin/vorrel-preview" --paused --from 8 --shots "$shots" \
            >"$WORK/out.txt" 2>"$WORK/err.txt" &
        DEMO_PID=$!
        DEMO_WINDOW=$(timeout 60 xdotool search --sync --pid "$DEMO_PID" | head -n 1)
        [ -n "$DEMO_WINDOW" ] || fail "$what: the preview's window did not appear"
        press s
        line=""
        for _ in $(seq 1 600); do
            line=$(grep "^wrote " "$WORK/out.txt")
            [ -n "$line" ] && break
            kill -0 "$DEMO_PID" 2>/dev/null || fail "$what: the preview ended: $(cat "$WORK/err.txt")"
            sleep 0.1
        done
        expect_eq "$line" "wrote $expected" "$what: the preview's shot with --shots '$shots'"
        [ -s "$expected" ] || fail "$what: no $expected"
        press Escape
        wait_demo 30
        expect_eq "$DEMO_STATUS" 0 "$what: the preview's status after Escape"
        rm -rf "$expected" "$WORK/elsewhere/rel shots"
    done
    [ -z "$(find "$root" -name 't-*.png')" ] || fail "$what: a shot went into the install"
    cd "$WORK" || fail "no folder"
}
start_xvfb
check_preview "$WORK/deb/usr" ".deb"

# Installed from the .deb (a relative path for the frames) and unpacked from the tarball (an
# absolute one), and the tarball's launchers once more through links from another folder.
check_release "$WORK/deb/usr" ".deb" "shots dir"
check_release "$tar_root" "tarball" "$WORK/elsewhere/shots dir"
mkdir -p "$WORK/links/games" "$WORK/links/bin"
ln -s "$tar_root/games/vorrel-quisp" "$WORK/links/games/vorrel-quisp"
for tool in "$tar_root"/bin/*; do
    ln -s "$tool" "$WORK/links/bin/${tool##*/}"
done
check_release "$WORK/links" "links to the tarball" "shots dir"

# The desktop entry, its icon at both sizes, and the manual pages, compressed without warnings.
share="$WORK/deb/usr/share"
desktop-file-validate "$share/applications/vorrel-quisp.desktop" >"$WORK/validate.txt" 2>&1 \
    || fail "desktop-file-validate: $(cat "$WORK/validate.txt")"
expect_eq "$(cat "$WORK/validate.txt")" "" "desktop-file-validate's output"
grep -qx "Exec=vorrel-quisp" "$share/applications/vorrel-quisp.desktop" || fail "Exec="
grep -qx "Icon=vorrel-quisp" "$share/applications/vorrel-quisp.desktop" || fail "Icon="
for size in 256 64; do
    icon="$share/icons/hicolor/${size}x$size/apps/vorrel-quisp.png"
    expect_eq "$(ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$icon")" \
        "$size,$size" "size of $icon"
done
for launcher in "$WORK"/deb/usr/games/* "$WORK"/deb/usr/bin/*; do
    name=${launcher##*/}
    section=1
    [[ "$launcher" == */games/* ]] && section=6
    page="$share/man/man$section/$name.$section.gz"
    [ -f "$page" ] || fail "no manual page for $name"
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    expect_eq "$warnings" "" "man's warnings on $page"
    # Every option a tool prints for --help is in its page.
    [ "$section" = 1 ] || continue
    "$launcher" --help >"$WORK/help.txt" 2>&1
    MANWIDTH=80 man -l "$page" 2>/dev/null | col -b >"$WORK/page.txt"
    for option in $(grep -oE -- "--[a-z][a-z0-9-]*" "$WORK/help.txt" | sort -u); do
        grep -qwF -- "$option" "$WORK/page.txt" || fail "$name's $option is not in its page"
    done
done


# A bare Debian 12 (debootstrap's minbase) installs the .deb with apt, what it depends on and no
# more, and runs it on the SDL it is built and tested with. Needs root, as apt does.
[ "$(id -u)" -eq 0 ] || skip "package: the install into a bare Debian 12 needs root"
bare="$WORK/bare"
started=$(date +%s)
"$source_dir/scripts/chroot" bookworm "$bare" || fail "no bare Debian 12"
mount -t proc proc "$bare/proc" || fail "cannot mount /proc in the bare system"
# Before the folder holding it goes.
AT_EXIT=('umount "$bare/proc" 2>/dev/null' "${AT_EXIT[@]}")
# Downloaded packages are kept between runs.
archives="${VQ_LIB_CACHE:-$HOME/.cache/vorrel-quisp}/chroots/bookworm-archives"
mkdir -p "$archives"
cp -r "$archives"/. "$bare/var/cache/apt/archives/"
cp "$deb" "$bare/tmp/"
chroot "$bare" apt-get update -q >"$WORK/apt.log" 2>&1 || fail "apt-get update: $(tail -n 5 "$WORK/apt.log")"
chroot "$bare" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "/tmp/${deb##*/}" >>"$WORK/apt.log" 2>&1 || fail "apt install: $(tail -n 10 "$WORK/apt.log")"
cp "$bare"/var/cache/apt/archives/*.deb "$archives/" 2>/dev/null
echo "the bare Debian 12 with the .deb installed: $(($(date +%s) - started)) s," \
    "$(grep -c '^Setting up' "$WORK/apt.log") packages"
installed() { chroot "$bare" dpkg-query -W -f '${Status}' "$1" 2>/dev/null; }
expect_eq "$(installed libsdl1.2-compat-shim)" "install ok installed" "sdl12-compat in the bare system"
[ "$(installed libsdl1.2debian)" = "install ok installed" ] && fail "classic SDL 1.2 was installed"

# The capture's frames at eight times are the build tree's.
EIGHT=2,28,92,124,172,196,228,251
(cd "$build/data" && quietly "the build tree's capture at eight times" "$build/vorrel-capture" \
    --at "$EIGHT" --frames "$WORK/eight") || exit 1
chroot "$bare" sh -c "cd /tmp && vorrel-capture --at $EIGHT --frames eight" >"$WORK/out.txt" \
    2>"$WORK/err.txt" || fail "the bare system's capture: $(tail -n 3 "$WORK/err.txt")"
for t in ${EIGHT//,/ }; do
    name=$(printf "t-%07.3f.png" "$t")
    cmp -s "$bare/tmp/eight/$name" "$WORK/eight/$name" \
        || fail "the bare system's frame at $t s differs from the build tree's"
done

# The demo on this script's display (X's abstract socket reaches into the chroot): its size
# line, then Escape ends it with status 0.
chroot "$bare" env SDL_VIDEODRIVER=x11 /usr/games/vorrel-quisp 800 600 >"$WORK/out.txt" 2>"$WORK/err.txt" &
DEMO_PID=$!
wait_first_frame $DEMO_PID "$WORK/out.txt" \
    || fail "the bare system's demo: no first frame: $(tail -n 3 "$WORK/err.txt")"
expect_eq "$(head -c 24 "$WORK/out.txt")" "width: 800height: 600loc" "the bare system's size line"
DEMO_WINDOW=$(xdotool search --name "^Vorrel Quisp$" | head -n 1)
press Escape
wait_demo 10
expect_eq "$DEMO_STATUS" 0 "the bare system's demo's status after Escape"
umount "$bare/proc" || fail "cannot take /proc down in the bare system"

echo "package: all checks passed"
