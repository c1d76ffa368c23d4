// Writes small BMP files byte by byte for the reader's tests and the fuzzer's seed corpus.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bmpfile {

typedef std::vector<unsigned char> Bytes;

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}

inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

// Palette entry i as the file stores it (blue, green, red, reserved); no two entries alike.
inline void paletteEntry(int i, unsigned char bgr[3]) {
    bgr[0] = static_cast<unsigned char>(i);
    bgr[1] = static_cast<unsigned char>(255 - i);
    bgr[2] = static_cast<unsigned char>(i ^ 0x5a);
}

// A whole file: 14-byte file header, an information header of infoSize bytes (40, or 12 for the
// old core layout, or any other size with the 40-byte fields first), 256 palette entries when
// bpp <= 8, then pixelData as given. height is stored as is, negative for top-down rows.
inline Bytes bmp(int32_t width, int32_t height, int bpp, uint32_t compression,
                 const Bytes& pixelData, uint32_t infoSize = 40) {
    const uint32_t paletteBytes = bpp <= 8 ? 256 * 4 : 0;
    const uint32_t dataOffset = 14 + infoSize + paletteBytes;
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    put32(b, dataOffset + static_cast<uint32_t>(pixelData.size()));
    put32(b, 0);
    put32(b, dataOffset);
    put32(b, infoSize);
    if (infoSize == 12) {
        put16(b, static_cast<uint32_t>(width));
        put16(b, static_cast<uint32_t>(height));
        put16(b, 1);
        put16(b, static_cast<uint32_t>(bpp));
    } else {
        put32(b, static_cast<uint32_t>(width));
        put32(b, static_cast<uint32_t>(height));
        put16(b, 1);
        put16(b, static_cast<uint32_t>(bpp));
        put32(b, compression);
        put32(b, static_cast<uint32_t>(pixelData.size()));
        put32(b, 2835); // 72 dpi
        put32(b, 2835);
        put32(b, 0);
        put32(b, 0);
        b.resize(14 + infoSize, 0);
    }
    for (int i = 0; i < static_cast<int>(paletteBytes / 4); ++i) {
        unsigned char bgr[3];
        paletteEntry(i, bgr);
        b.insert(b.end(), bgr, bgr + 3);
        b.push_back(0);
    }
    b.insert(b.end(), pixelData.begin(), pixelData.end());
    return b;
}

// Packs rows of bytesPerRow bytes each into the file's rows, padded to 4-byte boundaries.
inline Bytes padRows(const Bytes& packed, size_t bytesPerRow) {
    Bytes out;
    for (size_t at = 0; at < packed.size(); at += bytesPerRow) {
        out.insert(out.end(), packed.begin() + at, packed.begin() + at + bytesPerRow);
        while (out.size() % 4 != 0) {
            out.push_back(0);
        }
    }
    return out;
}

inline bool write(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace bmpfile
