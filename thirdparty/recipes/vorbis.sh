# libvorbis, Ogg Vorbis decoding; linked in.
package=libvorbis
version=1.3.7-1
licence=BSD-3-Clause
licence_files=(COPYING)
depends=(ogg)
sources=(
    c5c40944a3fc1cdd1ce019ef21f580ce5ed3b9f30e0cba7b3d859e8d9fea631f libvorbis_1.3.7-1.debian.tar.xz
    b25d27beb9162607c95cf58aa2b764d110bd1a1568d3926a96c523320b49171f libvorbis_1.3.7-1.dsc
    0e982409a9c3fc82ee06e08205b1355e5c6aa4c36bca58146ef399621b0ce5ab libvorbis_1.3.7.orig.tar.gz
)
build() {
    cmake_build "$src" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF
}
