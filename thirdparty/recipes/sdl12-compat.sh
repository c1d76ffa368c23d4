# sdl12-compat, the SDL 1.2 interface over SDL2, the version Debian 12 ships: a DLL a viewer can
# replace (zlib). Debian's archive cannot serve its source here: the upstream release's tarball
# comes through the source folder (VQ_SOURCES).
package=sdl12-compat
version=1.2.60
licence=Zlib
licence_files=(LICENSE.txt)
depends=(sdl2)
sources=(
    73bb66e81cdc389c8cad5ae7f87babc670a9e9aa8f1e89ea7ae19a3c2315ef39 sdl12-compat-1.2.60.tar.gz
)
build() {
    # Lines go to the standard handles the program was given, not to stdout.txt/stderr.txt. Its
    # DLL links no C runtime (-nostdlib): none of the toolchain's winpthread goes into it.
    cmake_build "$src" -DSDL12TESTS=OFF -DSDL12DEVEL=ON \
        -DCMAKE_C_FLAGS="$CFLAGS -DNO_STDIO_REDIRECT" -DCMAKE_SHARED_LINKER_FLAGS=
}
