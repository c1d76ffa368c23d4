# SDL2, under the SDL 1.2 interface of sdl12-compat: a DLL a viewer can replace (zlib).
package=libsdl2
version=2.26.5+dfsg-1
licence=Zlib
licence_files=(LICENSE.txt)
depends=()
sources=(
    45a0454e18b1bea85960d090e691c39216442610e600a6aec7cc99de525f4158 libsdl2_2.26.5+dfsg-1.debian.tar.xz
    95b9a18130d98164e7856eca8ac1a2eb65d822ac4872ef8862ceed2cb1662136 libsdl2_2.26.5+dfsg-1.dsc
    b3f2c822151804125d08db94c65852f711c2e5df2145a59da120748dc32eb9c3 libsdl2_2.26.5+dfsg.orig.tar.gz
)
build() {
    # The library alone: no test library, no SDL2main (sdl12-compat brings the entry of its own).
    cmake_build "$src" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
        -DSDL2_DISABLE_UNINSTALL=ON
    # Its own copy of the licence, beside the one in share/licenses/sdl2.
    rm -r "$prefix/share/licenses/SDL2"
}
