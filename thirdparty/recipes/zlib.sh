# zlib, where the toolchain has none of its own (the web); linked in.
package=zlib
version=1:1.2.13.dfsg-1
licence=Zlib
licence_files=(debian/copyright)
depends=()
sources=(
    f66cf3d4f2d7defcd4d1fd1fb0a11ee39f1e01b42ec7d059c9dc5c1695133c44 zlib_1.2.13.dfsg-1.debian.tar.xz
    3fa1e6b2fc525062aa88207dda52fed8e045373c809d362fe8a2bfbf7cf515a8 zlib_1.2.13.dfsg-1.dsc
    71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1 zlib_1.2.13.dfsg.orig.tar.bz2
)
# Its CMake file makes a shared and a static library of one name, which clash where there are
# no shared ones: the sources are few.
build() {
    mkdir -p "$work/objects" "$prefix/lib" "$prefix/include"
    local f
    for f in "$src"/*.c; do
        $CC $CFLAGS -DHAVE_UNISTD_H -c "$f" -o "$work/objects/$(basename "$f" .c).o"
    done
    $AR rcs "$prefix/lib/libz.a" "$work"/objects/*.o
    cp "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
}
