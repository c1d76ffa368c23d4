# Sourced by the release scripts that carry the pictures and the track (windows, portable, web,
# release) after root is set: where the data comes from. It is the same on every platform, made
# by the Linux release build's generators; --data DIR takes it from another folder.
data=""

# The folder given with --data, by its full path: one that does not exist ends the script.
data_from() { # dir
    data="$(cd "$1" && pwd)"
}

# Without --data: build/data, brought up to date by the release build (which makes nothing when
# it is).
make_data() {
    [ -z "$data" ] || return 0
    (cd "$root" && cmake --preset release >/dev/null &&
        cmake --build --preset release --target assets mixdown)
    data="$root/build/data"
}
