# mpg123, MP3 decoding: shared where the target keeps libraries shared (LGPL), else linked in.
package=mpg123
version=1.31.2-1+deb12u1
licence=LGPL-2.1-or-later
licence_files=(COPYING)
depends=()
sources=(
    9fc7eeeb4be67525fb7901022955b646832f095499612672ad7c24a1b3303599 mpg123_1.31.2-1+deb12u1.debian.tar.xz
    a67b2daf33ecf2d2a720e0cd721ac44828f1edee644abac34d8022819abbbb1a mpg123_1.31.2-1+deb12u1.dsc
    b17f22905e31f43b6b401dfdf6a71ed11bb7d056f68db449d70b9f9ae839c7de mpg123_1.31.2.orig.tar.bz2
)
build() {
    # x86-64's assembler decoders where there is one; plain C elsewhere.
    local cpu=generic_fpu
    [ "$cpu_family" = x86_64 ] && cpu=x86-64
    autotools_build "$src" $(shared_flags) --disable-components --enable-libmpg123 \
        --with-cpu=$cpu --disable-modules
}
