# FreeImage with PNG and JPEG alone (its build files: thirdparty/freeimage/); a DLL on Windows.
# Its own makefiles link every codec Debian has; the demo reads and writes PNG and JPEG alone.
package=freeimage
version=3.18.0+ds2-9+deb12u1
licence="FreeImage Public License 1.0 OR GPL-2.0-only OR GPL-3.0-only"
licence_files=(license-fi.txt license-gplv2.txt license-gplv3.txt)
depends=(zlib png jpeg)
sources=(
    bbbbece2cfa2a7cc007e83119828766f429f6494f20bcee4793a9b2037c1d8d8 freeimage_3.18.0+ds2-9+deb12u1.debian.tar.xz
    e80f525efd8118ab6d94bcf33cc6395074831681e629d6f7a4ee15a3c22c69bb freeimage_3.18.0+ds2-9+deb12u1.dsc
    4425d04d4691084260848d67eb79949ea7c129d85c73a72066ba609fd3f3aa39 freeimage_3.18.0+ds2.orig.tar.xz
)
build() {
    local zlib
    zlib="$(prefix_of zlib)"
    cmake_build "$thirdparty/freeimage" -DFREEIMAGE_SOURCE="$src" \
        -DZLIB_LIBRARY="$zlib/lib/libz.a" -DZLIB_INCLUDE_DIR="$zlib/include"
}
