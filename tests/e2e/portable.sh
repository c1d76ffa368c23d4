#!/usr/bin/env bash
# The portable Linux release, made by scripts/portable, in bare Debian 11 and Debian 13 systems
# (debootstrap's minbase with Mesa and X11's client libraries, nothing else; cached) on this
# script's Xvfb, run from its unpacked tarball on a read-only mount and through a link: no
# glibc symbol newer than Debian 11's, the libraries it loads from the system, frames against
# this build's capture, the demo's size line, first scene and Escape, and missing data; made
# twice, the tarball is the same bytes.
set -u
build=$1
source_dir=$2
source "$(dirname "$0")/lib.bash"
[ "$(id -u)" -eq 0 ] || skip "portable: the Debian systems need root (chroot, mount)"
WORK=$(mktemp -d)
# The demo ends, then the mounts go (the last first), and only then the folders holding them:
# nothing is removed while something is still mounted below.
MOUNTS=()
take_down() {
    local i
    for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do
        mountpoint -q "${MOUNTS[i]}" && umount "${MOUNTS[i]}"
    done
    MOUNTS=()
    ! findmnt -rn -o TARGET | grep -q "^$WORK/"
}
at_exit 'stop_demo; take_down && rm -rf "$WORK"'

started=$(date +%s)
"$source_dir/scripts/portable" --data "$build/data" >"$WORK/made.txt" 2>"$WORK/make.txt"
expect_made $? "$WORK/make.txt" scripts/portable
tarball=$(tail -n 1 "$WORK/made.txt")
[ -f "$tarball" ] || fail "no tarball: '$tarball': $(tail -n 5 "$WORK/made.txt")"
grep '^scripts/portable: ' "$WORK/make.txt"
echo "scripts/portable: $(($(date +%s) - started)) s in all, $(stat -c %s "$tarball") bytes"
# Made again from the same commit, the tarball is the same bytes.
made=$(sha256sum <"$tarball")
"$source_dir/scripts/portable" --data "$build/data" >/dev/null 2>"$WORK/make.txt" ||
    fail "scripts/portable, again: status $?: $(tail -n 20 "$WORK/make.txt")"
expect_eq "$(sha256sum <"$tarball")" "$made" "the tarball's SHA-256 when made again"
name=$(basename "$tarball" .tar.gz)
mkdir "$WORK/release"
tar -xzf "$tarball" -C "$WORK/release" || fail "the tarball does not unpack"
APP="$WORK/release/$name"
for f in vorrel-quisp vorrel-capture lib/vorrel-quisp lib/vorrel-capture lib/libSDL-1.2.so.0 \
    lib/libSDL2-2.0.so.0 data/mixdown.mp3 data/textures/vorrel.png README.txt \
    bill-of-materials.txt licenses/sdl2/LICENSE.txt licenses/glu/glu.h; do
    [ -s "$APP/$f" ] || fail "$f not in the tarball"
done

# What the programs and libraries ask of the system: glibc's symbols no newer than 2.31, and
# libraries either in lib/ or among the allowed ones. Every file asks for libc at least: an
# empty list was not read.
SYSTEM="libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 ld-linux-x86-64.so.2"
SYSTEM+=" libGL.so.1"
newest=""
for file in "$APP"/lib/*; do
    needed=$(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [ -n "$needed" ] || fail "no library listed as needed by $(basename "$file")"
    for lib in $needed; do
        [ -f "$APP/lib/$lib" ] || [[ " $SYSTEM " == *" $lib "* ]] ||
            fail "$(basename "$file") needs $lib, neither in lib/ nor the system's"
    done
    expect_eq "$(readelf -d "$file" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')" '$ORIGIN' \
        "$(basename "$file")'s RUNPATH"
    versions=$(objdump -T "$file" | grep -o 'GLIBC_[0-9.]*' | sort -u -V)
    [ -n "$versions" ] || fail "no glibc symbol version in $(basename "$file")"
    newest=$(printf '%s\n' $newest $versions | sort -V | tail -n 1)
done
echo "newest glibc symbol version: $newest"
[ "$(printf '%s\n' GLIBC_2.31 "$newest" | sort -V | tail -n 1)" = GLIBC_2.31 ] ||
    fail "a symbol of $newest, newer than Debian 11's glibc 2.31"

# This build's frames, with every file and with a picture and the track missing.
EIGHT=2,28,92,124,172,196,228,251
(cd "$build/data" && quietly "this build's capture at eight times" "$build/vorrel-capture" \
    --at "$EIGHT" --frames "$WORK/desktop") || exit 1
missing() { # folder: the data without one picture and the track
    rm "$1/textures/vorrel.png" "$1/mixdown.mp3"
}
cp -r "$build/data" "$WORK/missing"
missing "$WORK/missing"
(cd "$WORK/missing" && quietly "this build's capture without a picture and the track" \
    "$build/vorrel-capture" --at 8 --frames frames) || exit 1

# The demo in the system, started as given from /tmp, up to its first scene on the screen.
start_bare_demo() { # what command...
    local what=$1
    shift
    chroot "$sys" sh -c 'cd /tmp && exec "$@"' demo env SDL_VIDEODRIVER=x11 "$@" \
        >"$WORK/out.txt" 2>"$WORK/err.txt" &
    DEMO_PID=$!
    wait_first_frame $DEMO_PID "$WORK/out.txt" ||
        fail "$what: no first frame: $(tail -n 3 "$WORK/err.txt")"
    expect_eq "$(head -c 24 "$WORK/out.txt")" "width: 800height: 600loc" "$what: size line"
    DEMO_WINDOW=$(xdotool search --name "^Vorrel Quisp$" 2>/dev/null | head -n 1)
    [ -n "$DEMO_WINDOW" ] || fail "$what: no window"
    local shown=""
    for _ in $(seq 1 20); do
        ffmpeg -v error -f x11grab -video_size 800x600 -i "$DISPLAY" -frames:v 1 -y \
            "$WORK/grab.png" || fail "could not grab the screen"
        shown=$("$build/tests/vq_frame_check" shows "$WORK/grab.png" 0.5) && return 0
        sleep 1
    done
    fail "$what: the first scene is not on the screen: $shown"
}

start_xvfb 800x600
for release in bullseye trixie; do
    started=$(date +%s)
    sys="$WORK/$release"
    "$source_dir/scripts/chroot" "$release" "$sys" libgl1 libgl1-mesa-dri libglx-mesa0 libegl1 \
        libegl-mesa0 libx11-6 libxext6 libxcursor1 libxi6 libxrandr2 libxss1 libxxf86vm1 \
        libxfixes3 libxrender1 || fail "no bare $release"
    mount -t proc proc "$sys/proc" || fail "cannot mount /proc in $release"
    MOUNTS+=("$sys/proc")
    mkdir "$sys/opt/$name"
    mount --bind "$APP" "$sys/opt/$name" || fail "cannot mount the release in $release"
    MOUNTS+=("$sys/opt/$name")
    mount -o remount,bind,ro "$sys/opt/$name" || fail "cannot make the release read-only"
    touch "$sys/opt/$name/written" 2>/dev/null && fail "the release's mount is writable"
    ln -s "/opt/$name/vorrel-quisp" "$sys/usr/local/bin/vorrel-quisp"
    echo "$release: the bare system in $(($(date +%s) - started)) s"

    chroot "$sys" sh -c "cd /tmp && /opt/$name/vorrel-capture --at $EIGHT --frames eight" \
        >"$WORK/out.txt" 2>"$WORK/err.txt" ||
        fail "$release: the capture: $(tail -n 3 "$WORK/err.txt")"
    for t in ${EIGHT//,/ }; do
        f=$(printf "t-%07.3f.png" "$t")
        expect_psnr "$sys/tmp/eight/$f" "$WORK/desktop/$f" "$release: frame at $t s"
    done

    # Through the link, from another folder: each library it maps (named by its soname) is the
    # release's, or glibc's, or the GL driver's and what the driver needs itself, or one of X11's
    # client libraries. What the release's own files ask for is checked above.
    start_bare_demo "$release" vorrel-quisp 800 600
    grep -o '/[^ ]*\.so[^ /]*$' "/proc/$DEMO_PID/maps" | sort -u | sed "s|^$sys||" >"$WORK/maps.txt"
    grep -q "^/opt/$name/lib/libSDL2-2.0.so.0$" "$WORK/maps.txt" ||
        fail "$release: the release's SDL2 is not loaded: $(cat "$WORK/maps.txt")"
    outside=$(grep -v "^/opt/$name/lib/" "$WORK/maps.txt" | while read -r file; do
        soname=$(readelf -d "$sys$file" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
        echo "${soname:-${file##*/}}"
    done | sort -u)
    unexpected=""
    for lib in $outside; do
        case "$lib" in
        ld-linux-x86-64.so.2 | lib[cm].so.6 | libdl.so.2 | libpthread.so.0 | librt.so.1 | \
            libnss_*.so.2) ;;
        libGL.so.1 | libGLX*.so.0 | libGLdispatch.so.0 | libEGL*.so.[01] | libgbm.so.1 | \
            libglapi.so.0 | *_dri.so | libgallium-*.so | libdrm*.so.[12] | libLLVM*.so.* | \
            libxshmfence.so.1 | libexpat.so.1 | libz.so.1 | libzstd.so.1 | libstdc++.so.6 | \
            libgcc_s.so.1 | libffi.so.[78] | libedit.so.2 | libtinfo.so.6 | libbsd.so.0 | \
            libmd.so.0 | libsensors.so.5 | libelf.so.1 | libz3.so.4 | libvulkan.so.1 | \
            libxml2.so.* | libicu*.so.[0-9]* | liblzma.so.5 | libwayland-*.so.0 | \
            libpciaccess.so.0) ;;
        libX*.so.[0-9] | libxcb*.so.[0-9]) ;;
        *) unexpected+=" $lib" ;;
        esac
    done
    echo "$release: from the system: $(echo $outside)"
    [ -z "$unexpected" ] || fail "$release: loaded from outside the release:$unexpected"
    press Escape
    wait_demo 10
    expect_eq "$DEMO_STATUS" 0 "$release: the demo's status after Escape"

    # A copy without one picture and the track: the plain picture in its place, silence, and
    # status 0, as this build.
    cp -r "$APP" "$sys/tmp/missing"
    missing "$sys/tmp/missing/data"
    chroot "$sys" sh -c "cd /tmp && /tmp/missing/vorrel-capture --at 8 --frames frames" \
        >"$WORK/out.txt" 2>&1 || fail "$release: the capture without a picture and the track"
    expect_psnr "$sys/tmp/frames/t-008.000.png" "$WORK/missing/frames/t-008.000.png" \
        "$release: a picture and the track missing, frame at 8 s"
    start_bare_demo "$release without a picture and the track" /tmp/missing/vorrel-quisp 800 600
    press Escape
    wait_demo 10
    expect_eq "$DEMO_STATUS" 0 "$release: the status without a picture and the track"
    expect_contains "$WORK/err.txt" "Error!!!! File not found" "$release: the missing track's line"

    take_down || fail "cannot take the mounts down in $release"
done
echo "portable: all checks passed"
