# libopenmpt, tracker modules (MOD, S3M, XM, IT); linked in, none of its optional codecs.
package=libopenmpt
version=0.6.9-1
licence=BSD-3-Clause
licence_files=(LICENSE)
depends=()
sources=(
    10b160e5686d7e2370dce941434c843b0baaa1bbb410061ecf769eeda3063e0f libopenmpt_0.6.9-1.debian.tar.xz
    f0504c2883443edfe81df5a8940b281707a223304f68dc2d53b37b617cc1e557 libopenmpt_0.6.9-1.dsc
    479e975abb7dc0fa9cad41bdd31f255d78d43e0726546208058d3c3fcf7b6e5a libopenmpt_0.6.9.orig.tar.gz
)
build() {
    autotools_build "$src" --enable-static --disable-shared --disable-openmpt123 \
        --disable-examples --disable-tests --disable-doxygen-doc --without-zlib --without-mpg123 \
        --without-ogg --without-vorbis --without-vorbisfile --without-portaudio \
        --without-portaudiocpp --without-pulseaudio --without-sndfile --without-flac
}
