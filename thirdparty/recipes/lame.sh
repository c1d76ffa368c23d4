# LAME, the tests' MP3 encoder (tests/support/SoundFiles.cpp) for the unit tests run under Wine;
# linked in, and in no program of a release (release=no: left out of the bill of materials).
package=lame
version=3.100-6
licence=LGPL-2.0-or-later
licence_files=(COPYING)
depends=()
release=no
sources=(
    35c6af528d139737c8beede450ad99fe0c1f1764455d23321038b5c4a2b4574c lame_3.100-6.debian.tar.xz
    6a402771625fa80785a2b904697ba9c7e74a1ee4fa536354e9e88f08e2a4073b lame_3.100-6.dsc
    ddfe36cab873794038ae2c1210557ad34857a4b6bdc515785d1da9e175b1da1e lame_3.100.orig.tar.gz
)
build() {
    autotools_build "$src" --enable-static --disable-shared --disable-frontend --disable-decoder \
        --disable-gtktest
}
