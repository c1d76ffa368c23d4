#!/usr/bin/env bash
# scripts/release in a checkout of its own where stand-ins take the place of the four release
# scripts and of cmake: its refusals before anything is built (an unknown option, a tree with
# changes, a changelog whose top entry is not CMake's version), the folder it fills and its
# SHA256SUMS, the site's tarball the same bytes from files of other times and modes,
# --skip-portable, and a script's status 3 passed on, the last release left whole.
set -u
source_dir=$2
source "$(dirname "$0")/lib.bash"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'

repo="$WORK/repo"
mkdir -p "$repo/scripts" "$repo/packaging" "$WORK/bin"
cp "$source_dir"/scripts/{release,errors.bash,data.bash} "$repo/scripts/"
cp "$source_dir/CMakeLists.txt" "$source_dir/.gitignore" "$repo/"
cp "$source_dir/packaging/changelog" "$repo/packaging/"
sed -i 's/^project(VorrelQuisp VERSION [^ ]*/project(VorrelQuisp VERSION 9.8.7/' \
    "$repo/CMakeLists.txt"
printf '#!/bin/sh\nmkdir -p build/data\n' >"$WORK/bin/cmake"
chmod +x "$WORK/bin/cmake"
stand_in() { # script file...: writes each file; the site's get a time of their own each run
    local f
    {
        echo '#!/usr/bin/env bash'
        echo 'cd "$(dirname "$0")/.."'
        for f in "${@:2}"; do echo "mkdir -p ${f%/*} && echo $f >$f"; done
        echo '[ ! -d build-web/site ] || find build-web/site -exec touch -d "@$RANDOM" {} +'
    } >"$repo/scripts/$1"
    chmod +x "$repo/scripts/$1"
}
stand_in windows build-windows/vorrel-quisp-9.8.7-windows-x86_64.zip
stand_in portable build-portable/vorrel-quisp-9.8.7-linux-x86_64-portable.tar.gz
stand_in web build-web/vorrel-quisp-9.8.7.html build-web/site/index.html \
    build-web/site/licenses/zlib.txt
stand_in package build-package/packages/vorrel-quisp_9.8.7_amd64.deb \
    build-package/packages/vorrel-quisp-9.8.7-linux-x86_64.tar.gz
commit() { # message
    git -C "$repo" add -A && git -C "$repo" -c user.name=t -c user.email=t@t commit -qm "$1"
}
git -C "$repo" init -q && commit tree
release() { # args...
    PATH="$WORK/bin:$PATH" "$repo/scripts/release" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"
}

refused() { # what expected-text args...
    release "${@:3}"
    expect_eq "$?" 2 "$1: status"
    expect_contains "$WORK/err.txt" "$2" "$1: message"
    ! ls -d "$repo"/build* 2>/dev/null || fail "$1: built something"
}
refused "an unknown option" "usage: scripts/release [--skip-portable]" --portable
refused "a version without an entry" "top entry is 'vorrel-quisp (" --skip-portable
sed -i '1i vorrel-quisp (9.8.7) unstable; urgency=medium\n' "$repo/packaging/changelog"
refused "a changed file" " M packaging/changelog" --skip-portable
commit 9.8.7
touch "$repo/notes.txt"
refused "an untracked file" "?? notes.txt" --skip-portable
rm "$repo/notes.txt"

out="$repo/build-release/9.8.7"
if [ "$(id -u)" -ne 0 ]; then
    refused "the portable tarball without root" "--skip-portable leaves it out"
else
    release || fail "a release: status $?: $(cat "$WORK/err.txt")"
    files="SHA256SUMS vorrel-quisp-9.8.7-linux-x86_64-portable.tar.gz"
    files+=" vorrel-quisp-9.8.7-linux-x86_64.tar.gz vorrel-quisp-9.8.7-site.tar.gz"
    files+=" vorrel-quisp-9.8.7-windows-x86_64.zip vorrel-quisp-9.8.7.html"
    files+=" vorrel-quisp_9.8.7_amd64.deb"
    expect_eq "$(LC_ALL=C ls "$out" | paste -sd' ')" "$files" "the release's files"
    (cd "$out" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not check"
    expect_eq "$(wc -l <"$out/SHA256SUMS")" 6 "files in SHA256SUMS"
    epoch=$(TZ=UTC date -d "@$(git -C "$repo" log -1 --format=%ct)" "+%F %T")
    site=vorrel-quisp-9.8.7-site
    members=$(TZ=UTC tar --full-time --numeric-owner -tvzf "$out/$site.tar.gz" |
        awk '{ print $1, $2, $4, $5, $6 }')
    expect_eq "$members" "drwxr-xr-x 0/0 $epoch $site/
-rw-r--r-- 0/0 $epoch $site/index.html
drwxr-xr-x 0/0 $epoch $site/licenses/
-rw-r--r-- 0/0 $epoch $site/licenses/zlib.txt" "the site's members"
    cp "$out/$site.tar.gz" "$WORK/site.tar.gz"
fi
(umask 077 && release --skip-portable) ||
    fail "a release without the portable tarball: $(cat "$WORK/err.txt")"
expect_contains "$WORK/err.txt" "--skip-portable: no portable Linux tarball" "--skip-portable"
expect_eq "$(grep -c portable "$out/SHA256SUMS")" 0 "the portable tarball left out"
[ ! -f "$WORK/site.tar.gz" ] || cmp -s "$WORK/site.tar.gz" "$out/vorrel-quisp-9.8.7-site.tar.gz" ||
    fail "the site's tarball differs when made again"

printf '#!/bin/sh\necho "thirdparty: no source of sdl12-compat" >&2\nexit 3\n' \
    >"$repo/scripts/windows"
commit "no source"
release --skip-portable
expect_eq "$?" 3 "the status of a release whose zip lacks a library's source"
expect_eq "$(tail -n 1 "$WORK/err.txt")" \
    "scripts/release: the Windows zip could not be made (status 3)" "the release's last line"
(cd "$out" && sha256sum -c --quiet SHA256SUMS) || fail "the last release changed by a failed one"
