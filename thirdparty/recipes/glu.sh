# GLU, the OpenGL utility library (mipmaps, quadrics), which no Linux system is sure to have;
# linked in. It calls the system's OpenGL.
package=libglu
version=9.0.2-1.1
licence=SGI-B-2.0
licence_files=(debian/copyright)
depends=()
sources=(
    24effdfb952453cc00e275e1c82ca9787506aba0282145fff054498e60e19a65 libglu_9.0.2.orig.tar.gz
    75d227b8cd8357f4d8891720a01a3606974bedd3187a09b4a321ff866a42b325 libglu_9.0.2-1.1.diff.gz
    b36c23281cbc1c4c6371b81d991b3074ce28b880d46fe8a5747677495f7c55b2 libglu_9.0.2-1.1.dsc
)
build() {
    autotools_build "$src" --enable-static --disable-shared --disable-osmesa
}
