# libjpeg-turbo, FreeImage's JPEG codec; linked into FreeImage.
package=libjpeg-turbo
version=1:2.1.5-2
licence="IJG AND BSD-3-Clause AND Zlib"
licence_files=(LICENSE.md README.ijg)
depends=()
sources=(
    cdb2433c2f7101345c1ffa14efb943787c675b86354691a32490845fe4bc9237 libjpeg-turbo_2.1.5-2.debian.tar.xz
    d718ead0dfbcbc8523665c02a7f7152e31039ded641d022868722623bb3b486d libjpeg-turbo_2.1.5-2.dsc
    254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c libjpeg-turbo_2.1.5.orig.tar.gz
)
build() {
    # The plain C code paths: no assembler needed, the same on every target.
    cmake_build "$src" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
}
