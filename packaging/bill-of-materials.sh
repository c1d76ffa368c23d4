#!/usr/bin/env bash
# Writes the Linux release's bill of materials: the Debian packages whose libraries the programs
# link, with the versions installed where the release was built.
#   bill-of-materials.sh OUTPUT PROGRAM...
set -euo pipefail
output="$1"
shift

# The package that holds a library the loader finds for a program, and its version.
package_of() { # program library
    local path owner
    path="$(ldd "$1" | awk -v lib="$2" '$1 == lib { print $3 }')"
    [ -n "$path" ] || { echo "bill-of-materials: $2 of $1 not found" >&2; return 1; }
    owner="$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")")"
    owner="${owner%%: *}"
    dpkg-query -W -f '${Package} ${Version}\n' "$owner"
}

{
    echo "Bill of materials: the Debian 12 packages whose libraries the programs link"
    echo
    echo "The release contains no third-party code of its own: each program links the libraries"
    echo "below from the system it runs on. The versions are those the release was built and"
    echo "tested against; they are not pinned: the package depends on these packages at these"
    echo "versions or later (dpkg-shlibdeps), and an install takes what Debian 12 serves then."
    echo "The pictures and the track were generated from the project's own source."
    echo
    for program in "$@"; do
        echo "$(basename "$program"):"
        for lib in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
            echo "  $lib  $(package_of "$program" "$lib")"
        done
    done
    echo
    echo "Loaded at run time by SDL (dlopen), from the packages the .deb depends on:"
    dpkg-query -W -f '  ${Package} ${Version}\n' libsdl2-2.0-0 libgl1 libegl1
    echo
    echo "Compiled with: $(c++ --version | head -n 1)"
} >"$output"
