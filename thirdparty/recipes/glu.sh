# GLU, the OpenGL utility library (mipmaps, quadrics), which no Linux system is sure to have;
# linked in. It calls the system's OpenGL. Debian's upstream tarball of its 12's libglu
# (9.0.2-1.1), unpatched: the archive serves that version's .dsc, but not its .diff.gz.
package=libglu
version=9.0.2
licence=SGI-B-2.0
licence_files=(include/GL/glu.h)
depends=()
sources=(
    24effdfb952453cc00e275e1c82ca9787506aba0282145fff054498e60e19a65 libglu_9.0.2.orig.tar.gz
)
build() {
    autotools_build "$src" --enable-static --disable-shared --disable-osmesa
}
