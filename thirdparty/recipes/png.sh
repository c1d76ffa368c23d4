# libpng, FreeImage's PNG codec; linked into FreeImage.
package=libpng1.6
version=1.6.39-2+deb12u5
licence=Libpng
licence_files=(LICENSE)
depends=(zlib)
sources=(
    ab14906eda9fddf14cbb1e589b9ba7439c22e233dc3c5e3cf9356c9625565a82 libpng1.6_1.6.39-2+deb12u5.debian.tar.xz
    7b86211030a34deb6b0a2cd7e1d9db0fe92443fd30cab537fb89b1e7f7c9f188 libpng1.6_1.6.39-2+deb12u5.dsc
    a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441 libpng1.6_1.6.39.orig.tar.gz
)
build() {
    local zlib
    zlib="$(prefix_of zlib)"
    cmake_build "$src" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
        -DZLIB_LIBRARY="$zlib/lib/libz.a" -DZLIB_INCLUDE_DIR="$zlib/include"
}
