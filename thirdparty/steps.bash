# The steps that turn a recipe's pinned sources into a library's prefix, sourced by
# scripts/thirdparty. This whole file is part of every library's cache key: a change here builds
# every library again. Set by the driver: cache, jobs, target settings (host, toolchain,
# runtime_ldflags, shared, provided, provided_dir), thirdparty (this folder).

# Where Debian's archive keeps a source package's files; the security archive holds updates.
archive_pools=(http://deb.debian.org/debian/pool/main
    http://deb.debian.org/debian-security/pool/updates/main)

# The folder of a pinned file: the one of the source folder (VQ_SOURCES) first, else Debian's
# archive; every file checked against its pin. A file whose hash differs is refused.
source_file() { # package file sha256
    local package="$1" file="$2" pin="$3" download="$cache/src/download" found="" pool sum
    mkdir -p "$download"
    if ! echo "$pin  $download/$file" | sha256sum -c --status 2>/dev/null; then
        if [ -n "${VQ_SOURCES:-}" ] && [ -f "$VQ_SOURCES/$file" ]; then
            found="$VQ_SOURCES/$file"
            cp "$found" "$download/$file.part"
        else
            local letter="${package:0:1}"
            case "$package" in lib?*) letter="${package:0:4}" ;; esac
            for pool in "${archive_pools[@]}"; do
                found="${pool}/$letter/$package/${file//+/%2b}"
                curl -fsSL --retry 3 -o "$download/$file.part" "$found" 2>/dev/null && break
                found=""
            done
            if [ -z "$found" ]; then
                echo "thirdparty: $file is neither in VQ_SOURCES (${VQ_SOURCES:-not set})" \
                    "nor in Debian's archive" >&2
                return 1
            fi
        fi
        sum="$(sha256sum "$download/$file.part" | cut -d' ' -f1)"
        if [ "$sum" != "$pin" ]; then
            rm -f "$download/$file.part"
            echo "thirdparty: refused $found: SHA-256 $sum, the recipe pins $pin" >&2
            return 1
        fi
        mv "$download/$file.part" "$download/$file"
    fi
}

# Sets src: the recipe's sources, fetched and checked, unpacked once (a Debian source package
# with Debian's patches applied; a plain tarball into its top folder's content).
unpack_sources() {
    src="$cache/src/${package}_${version#*:}"
    [ -f "$src/.unpacked" ] && return 0
    local i dsc="" tarball=""
    for ((i = 0; i < ${#sources[@]}; i += 2)); do
        source_file "$package" "${sources[i + 1]}" "${sources[i]}" || return 1
        case "${sources[i + 1]}" in
        *.dsc) dsc="${sources[i + 1]}" ;;
        *.tar.*) tarball="${sources[i + 1]}" ;;
        esac
    done
    rm -rf "$src"
    if [ -n "$dsc" ]; then
        # The files are checked above; the archive here lacks some upstream signatures.
        dpkg-source --no-check -x "$cache/src/download/$dsc" "$src" >&2
    else
        mkdir -p "$src"
        tar -xf "$cache/src/download/$tarball" -C "$src" --strip-components=1
    fi
    touch "$src/.unpacked"
}

# A library's own folder, or the toolchain's for one the target provides (zlib on Windows).
prefix_of() { # library
    if [ -n "${provided[$1]:-}" ]; then echo "$provided_dir"; else echo "$deps"; fi
}

# The configure flags for a library kept shared where the target keeps libraries shared.
shared_flags() {
    if [ "$shared" = yes ]; then
        echo --enable-shared --disable-static
    else
        echo --enable-static --disable-shared
    fi
}

# ./configure for the host, into $prefix, finding the libraries built before in $deps.
autotools_build() {
    local src="$1"
    shift
    local build="$work/build"
    mkdir -p "$build"
    (cd "$build" && CPPFLAGS="-I$deps/include" LDFLAGS="-L$deps/lib $runtime_ldflags" \
        PKG_CONFIG_LIBDIR="$deps/lib/pkgconfig" \
        "$src/configure" --host="$host" --prefix="$prefix" "$@" >&2)
    make -C "$build" -j"$jobs" >&2
    make -C "$build" install >&2
}

cmake_build() {
    local src="$1"
    shift
    PKG_CONFIG_LIBDIR="$deps/lib/pkgconfig" cmake -S "$src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVQ_THIRDPARTY_PREFIX="$deps" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$deps" "$@" >&2
    cmake --build "$work/build" -j "$jobs" >&2
    cmake --install "$work/build" >&2
}

# One library into $prefix: what it builds on copied into $work/deps, its recipe's build, its
# licence texts into share/licenses/NAME. The result does not depend on where the cache is nor
# on when it was built: source paths (in assertions' and messages' __FILE__) are written
# relative to the cache, and the compiler's and the linker's time stamps are fixed.
build_library() { # name, with its recipe loaded
    local name="$1" dep
    rm -rf "$work" "$prefix"
    mkdir -p "$work/deps"
    for dep in "${depends[@]}"; do
        [ -n "${provided[$dep]:-}" ] || cp -a "$lib_dir/${keys[$dep]}/." "$work/deps/"
    done
    deps="$work/deps"
    (
        local relative="-ffile-prefix-map=$cache/="
        export CFLAGS="$CFLAGS $relative" CXXFLAGS="$CXXFLAGS $relative"
        export SOURCE_DATE_EPOCH=0
        build
    )
    mkdir -p "$prefix/share/licenses/$name"
    for dep in "${licence_files[@]}"; do cp "$src/$dep" "$prefix/share/licenses/$name/"; done
    find "$prefix" -name '*.la' -delete
    touch "$prefix/.built"
    rm -rf "$work"
}
