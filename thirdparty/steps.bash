# The steps that turn a recipe's pinned sources into a library's prefix, sourced by
# scripts/thirdparty. This whole file is part of every library's cache key: a change here builds
# every library again. Set by the driver: cache, jobs, target settings (host, toolchain,
# runtime_ldflags, shared, provided, provided_dir), thirdparty (this folder).

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
# licence texts into share/licenses/NAME, what it was built from into .source. The result does
# not depend on where the cache is nor on when it was built: source paths (in assertions' and
# messages' __FILE__) are written relative to the cache, and the compiler's and the linker's
# time stamps are fixed.
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
    # What it was built from, for the bill of materials: the sources found (sources.bash).
    {
        echo "$built_from"
        printf '  sha256 %s  %s\n' "${built_sources[@]}"
    } >"$prefix/.source"
    touch "$prefix/.built"
    rm -rf "$work"
}
