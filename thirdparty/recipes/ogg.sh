# libogg, the container of Vorbis songs; linked in.
package=libogg
version=1.3.5-3
licence=BSD-3-Clause
licence_files=(COPYING)
depends=()
sources=(
    980cc7c95d72d2a9c56cf9d602b8296c6551528890f28fee6769b801ea0e54f3 libogg_1.3.5-3.debian.tar.xz
    dd0bac7c6961f95290250f82940aba93582edc3924372afc8fd310af5db995a0 libogg_1.3.5-3.dsc
    c4d91be36fc8e54deae7575241e03f4211eb102afb3fc0775fbbc1b740016705 libogg_1.3.5.orig.tar.xz
)
build() {
    cmake_build "$src" -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
}
