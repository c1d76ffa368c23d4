# kissfft, the spectrum's FFT, in single precision; linked in.
package=kissfft
version=131.1.0-4.1~deb12u1
licence=BSD-3-Clause
licence_files=(COPYING LICENSES/BSD-3-Clause)
depends=()
sources=(
    bf7fe2596084b0a8b7e0486d9947cfd3216c4dac37924f266524ffae1de107e9 kissfft_131.1.0-4.1~deb12u1.debian.tar.xz
    f1127030755a796521f8f0977f448a5c450d00e743cf316333c3bc860e137eb2 kissfft_131.1.0-4.1~deb12u1.dsc
    76c1aac87ddb7258f34b08a13f0eebf9e53afa299857568346aa5c82bcafaf1a kissfft_131.1.0.orig.tar.gz
)
build() {
    # Its install folders come from GNUInstallDirs, which it reads on Unix alone.
    cmake_build "$src" -DKISSFFT_DATATYPE=float -DKISSFFT_STATIC=ON -DKISSFFT_TEST=OFF \
        -DKISSFFT_TOOLS=OFF -DKISSFFT_PKGCONFIG=ON -DKISSFFT_OPENMP=OFF \
        -DCMAKE_INSTALL_INCLUDEDIR=include -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_BINDIR=bin
}
