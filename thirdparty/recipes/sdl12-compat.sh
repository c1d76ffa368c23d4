# sdl12-compat, the SDL 1.2 interface over SDL2, the version Debian 12 ships: a DLL a viewer can
# replace (zlib). From Debian's source package where its archive serves every file; some copies
# of the archive lack the upstream tarball, and then the upstream release of the same version
# comes through the source folder (VQ_SOURCES) under its own pin. The bill of materials says
# which of the two was built.
package=sdl12-compat
version=1.2.60-1
licence=Zlib
licence_files=(LICENSE.txt)
depends=(sdl2)
sources=(
    96c1335a4e4d072e756bbc2bcf03cfd3084f8894ab33ee5433d439ef0cb6cfef sdl12-compat_1.2.60-1.debian.tar.xz
    294838c189378d711b8dd7701b0de8eb271b10127bd08b302a9da2074b3dffcf sdl12-compat_1.2.60-1.dsc
    029fa24fe9e0d6a15b94f4737a2d3ed3144c5ef920eb82b4c6b30248eb94518b sdl12-compat_1.2.60.orig.tar.gz
)
# git archive of the upstream tag release-1.2.60.
upstream_version=1.2.60
upstream_sources=(
    73bb66e81cdc389c8cad5ae7f87babc670a9e9aa8f1e89ea7ae19a3c2315ef39 sdl12-compat-1.2.60.tar.gz
)
build() {
    # Lines go to the standard handles the program was given, not to stdout.txt/stderr.txt. Its
    # DLL links no C runtime (-nostdlib): none of the toolchain's winpthread goes into it.
    cmake_build "$src" -DSDL12TESTS=OFF -DSDL12DEVEL=ON \
        -DCMAKE_C_FLAGS="$CFLAGS -DNO_STDIO_REDIRECT" -DCMAKE_SHARED_LINKER_FLAGS=
}
