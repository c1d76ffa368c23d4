#!/usr/bin/env bash
# The library recipes' sources, over a small source package of our own in an archive on the disk:
# Debian's set where the archive serves it all, the upstream release through the source folder
# where it lacks a file, status 3 and one line naming both files where neither can be had, and a
# file whose hash differs refused, never passed over for the other way.
set -u
source_dir=$2
source "$(dirname "$0")/lib.bash"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'

# The package: an upstream tarball, and Debian's source package made from it with one patch.
mkdir -p "$WORK/make/vqdemo-1.0" "$WORK/folder" "$WORK/archive/v/vqdemo"
cd "$WORK/make" || fail "no folder"
echo "upstream" >vqdemo-1.0/README
tar -czf "$WORK/folder/vqdemo-1.0.tar.gz" vqdemo-1.0
cp "$WORK/folder/vqdemo-1.0.tar.gz" vqdemo_1.0.orig.tar.gz
mkdir -p vqdemo-1.0/debian/source vqdemo-1.0/debian/patches
echo "3.0 (quilt)" >vqdemo-1.0/debian/source/format
printf 'Source: vqdemo\nMaintainer: Nobody <nobody@example.org>\n\nPackage: vqdemo\nArchitecture: all\nDescription: a test\n test\n' \
    >vqdemo-1.0/debian/control
printf 'vqdemo (1.0-1) unstable; urgency=low\n\n  * Test.\n\n -- Nobody <nobody@example.org>  Thu, 01 Jan 2026 00:00:00 +0000\n' \
    >vqdemo-1.0/debian/changelog
printf -- '--- a/README\n+++ b/README\n@@ -1 +1 @@\n-upstream\n+patched by Debian\n' \
    >vqdemo-1.0/debian/patches/readme.patch
echo readme.patch >vqdemo-1.0/debian/patches/series
dpkg-source -b vqdemo-1.0 >"$WORK/dpkg-source.txt" 2>&1 ||
    fail "dpkg-source -b: $(tail -n 5 "$WORK/dpkg-source.txt")"
cp vqdemo_1.0-1.dsc vqdemo_1.0-1.debian.tar.* vqdemo_1.0.orig.tar.gz "$WORK/archive/v/vqdemo/"

pin() { sha256sum "$1" | cut -d' ' -f1; }
source "$source_dir/thirdparty/sources.bash"
archive_pools=("file://$WORK/archive")
package=vqdemo
version=1.0-1
sources=()
for f in "$WORK"/archive/v/vqdemo/*; do sources+=("$(pin "$f")" "${f##*/}"); done
upstream_version=1.0
upstream_sources=("$(pin "$WORK/folder/vqdemo-1.0.tar.gz")" vqdemo-1.0.tar.gz)

# unpack_sources in a cache of its own; STATUS, and its lines in $WORK/err.txt.
unpack() { # case
    cache="$WORK/cache-$1"
    unpack_sources 2>"$WORK/err.txt"
    STATUS=$?
}

unset VQ_SOURCES
unpack whole
expect_eq "$STATUS" 0 "the whole set's status"
expect_eq "$built_from" "vqdemo 1.0-1" "what the whole set builds"
expect_eq "$(cat "$src/README")" "patched by Debian" "the README of Debian's set"

orig="$WORK/archive/v/vqdemo/vqdemo_1.0.orig.tar.gz"
mv "$orig" "$WORK/orig.tar.gz"
VQ_SOURCES="$WORK/folder"
unpack upstream
expect_eq "$STATUS" 0 "the upstream release's status"
expect_eq "$built_from" "vqdemo 1.0, the upstream release (Debian's 1.0-1 was not to be had)" \
    "what the upstream release builds"
expect_eq "$(cat "$src/README")" "upstream" "the README of the upstream release"
expect_eq "${built_sources[*]}" "${upstream_sources[*]}" "the upstream release's pins"

# Every file missing is named, not only the first.
debian=$(echo "$WORK"/archive/v/vqdemo/*.debian.tar.*)
mv "$debian" "$WORK/"
unset VQ_SOURCES
unpack neither
expect_eq "$STATUS" 3 "the status with neither"
expect_eq "$(cat "$WORK/err.txt")" "thirdparty: no source of vqdemo: in neither VQ_SOURCES (not set)\
 nor Debian's archive: ${debian##*/}, vqdemo_1.0.orig.tar.gz; nor the upstream release in\
 VQ_SOURCES: vqdemo-1.0.tar.gz; put Debian's files or the upstream release in a folder DIR and set\
 VQ_SOURCES=DIR" "the line with neither"
mv "$WORK/${debian##*/}" "$debian"
upstream_sources=()
unpack debian-only
expect_eq "$STATUS" 3 "the status without an upstream release"
expect_contains "$WORK/err.txt" "nor Debian's archive: vqdemo_1.0.orig.tar.gz; put them in a folder\
 DIR and set VQ_SOURCES=DIR" "the line without one"

# Another file under the orig's name: refused, though the upstream release is at hand.
upstream_sources=("$(pin "$WORK/folder/vqdemo-1.0.tar.gz")" vqdemo-1.0.tar.gz)
echo "not the tarball" >"$orig"
VQ_SOURCES="$WORK/folder"
unpack refused
expect_eq "$STATUS" 1 "the status of a file another than its pin"
expect_contains "$WORK/err.txt" "thirdparty: refused file://$orig: SHA-256 $(pin "$orig"), the recipe pins" \
    "the refusal's line"
[ -e "$src/.unpacked" ] && fail "a refused set was unpacked"
echo "sources: all checks passed"
