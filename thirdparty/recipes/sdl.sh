# SDL 1.2.15, the SDL 1.2 interface on Windows: a DLL a viewer can replace (LGPL).
package=libsdl1.2
version=1.2.15+dfsg2-8
licence=LGPL-2.1-or-later
licence_files=(COPYING)
depends=()
sources=(
    f1e294c33ad395f3b0dc473ff33b84405ac7fc465e3c9d2a25fee576a96e9fc7 libsdl1.2_1.2.15+dfsg2-8.debian.tar.xz
    ff6cf187235703226f91af9d636255c5d7141bf1a693aa37293ceeb11430cc33 libsdl1.2_1.2.15+dfsg2-8.dsc
    ec4d5ea4714b92f840aafcf8c759cf7914827f632e19f42b18ba6f6489f0f5e9 libsdl1.2_1.2.15+dfsg2.orig.tar.gz
)
build() {
    # Lines go to the standard handles the program was given, not to stdout.txt/stderr.txt.
    autotools_build "$src" --enable-shared --disable-static --disable-stdio-redirect \
        --disable-rpath
}
