// A stand-alone reader of Windows BMP files (8 bits per pixel or more, raw or RLE8) into memory.
#include "image/BMPImg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include <sys/stat.h>

namespace {

const size_t FILE_HEADER_BYTES = 14;
const uint32_t INFO_HEADER_BYTES = 40;
const size_t PALETTE_OFFSET = FILE_HEADER_BYTES + INFO_HEADER_BYTES;
const int PALETTE_ENTRIES = 256;
const uint64_t INT_LIMIT = 0x7fffffffu;

} // namespace

BMPImg::BMPImg()
    : width(0), height(0), compression(0), bpp(0), planes(0), dataOffset(0), size(0), img(nullptr),
      imgSize(0), palette(nullptr), fileData(nullptr), fileSize(0), topDown(false) {}

BMPImg::~BMPImg() {
    delete[] fileData;
    delete[] palette;
    delete[] img;
}

int BMPImg::Load(const char* name) {
    delete[] img;
    img = nullptr;
    imgSize = 0;
    delete[] palette;
    palette = nullptr;

    int result = GetFile(name);
    if (result != BMP_SUCCESS) {
        return result;
    }
    result = ReadBmpHeader();
    if (result != BMP_SUCCESS) {
        return result;
    }
    if (bpp <= 7) {
        return BMP_UNSUPPORTED;
    }
    if (compression == 1) {
        result = LoadBmpRLE8();
    } else if (compression == 0) {
        result = LoadBmpRaw();
    } else {
        return BMP_UNSUPPORTED;
    }
    if (result != BMP_SUCCESS) {
        return result;
    }
    result = LoadBmpPalette();
    if (result != BMP_SUCCESS) {
        return result;
    }
    delete[] fileData;
    fileData = nullptr;
    fileSize = 0;
    return BMP_SUCCESS;
}

int BMPImg::GetFile(const char* name) {
    if (name == nullptr) {
        return BMP_NO_FILE;
    }
    FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        return BMP_NO_FILE;
    }
    // A directory or a device opens too, but has no length to read.
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return BMP_NO_FILE;
    }
    std::fseek(file, 0, SEEK_END);
    const long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length < 0) {
        std::fclose(file);
        return BMP_NO_FILE;
    }

    delete[] fileData;
    fileSize = 0;
    fileData = new (std::nothrow) unsigned char[static_cast<size_t>(length)];
    if (fileData == nullptr) {
        std::fclose(file);
        return BMP_NO_MEMORY;
    }
    // A file that shrank meanwhile is held as far as it could be read.
    fileSize = std::fread(fileData, 1, static_cast<size_t>(length), file);
    std::fclose(file);
    return BMP_SUCCESS;
}

uint32_t BMPImg::readU32(size_t offset) const {
    if (offset > fileSize || fileSize - offset < 4) {
        return 0;
    }
    const unsigned char* b = fileData + offset;
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint16_t BMPImg::readU16(size_t offset) const {
    if (offset > fileSize || fileSize - offset < 2) {
        return 0;
    }
    return static_cast<uint16_t>(fileData[offset] | fileData[offset + 1] << 8);
}

int BMPImg::ReadBmpHeader() {
    if (fileData == nullptr) {
        return BMP_NO_FILE;
    }
    if (fileSize < 2 || fileData[0] != 'B' || fileData[1] != 'M') {
        return BMP_NOT_BMP;
    }
    dataOffset = readU32(10);
    if (readU32(FILE_HEADER_BYTES) != INFO_HEADER_BYTES || fileSize < PALETTE_OFFSET) {
        return BMP_NOT_BMP;
    }
    width = readU32(18);
    // A negative height marks rows stored top row first; they are kept bottom row first.
    const int32_t storedHeight = static_cast<int32_t>(readU32(22));
    topDown = storedHeight < 0;
    height = topDown ? 0u - static_cast<uint32_t>(storedHeight) : uint32_t(storedHeight);
    planes = static_cast<int16_t>(readU16(26));
    bpp = static_cast<int16_t>(readU16(28));
    compression = readU32(30);

    // A claimed size never wraps to a small buffer: width * height fits in 62 bits, and the
    // bytes a pixel are compared by division, since up to 4095 of them could wrap even 64 bits.
    const uint64_t bytesPerPixel = bpp > 0 ? uint64_t(bpp / 8) : 0;
    const uint64_t pixels = uint64_t(width) * height;
    if (width > INT_LIMIT || height > INT_LIMIT ||
        (bytesPerPixel != 0 && pixels > INT_LIMIT / bytesPerPixel)) {
        size = 0;
        return BMP_UNSUPPORTED;
    }
    size = static_cast<int32_t>(bytesPerPixel * pixels);
    return BMP_SUCCESS;
}

uint64_t BMPImg::rowBytes() const {
    return bpp > 0 ? uint64_t(bpp / 8) * width : 0;
}

// Whether height rows of the current width fit in the held img.
bool BMPImg::rowsFitImg() const {
    const uint64_t row = rowBytes();
    return img != nullptr && row != 0 && row <= imgSize && height <= imgSize / row;
}

int BMPImg::allocateImg() {
    delete[] img;
    imgSize = 0;
    // Zeroed: pixels a short file or an RLE8 delta leaves out read as 0.
    img = new (std::nothrow) unsigned char[static_cast<size_t>(size)]();
    if (img == nullptr) {
        return BMP_NO_MEMORY;
    }
    imgSize = static_cast<size_t>(size);
    return BMP_SUCCESS;
}

int BMPImg::LoadBmpRaw() {
    if (fileData == nullptr) {
        return BMP_NO_FILE;
    }
    const int result = allocateImg();
    if (result != BMP_SUCCESS) {
        return result;
    }
    if (!rowsFitImg()) {
        return BMP_SUCCESS; // no pixels, or dimensions a failed header read left behind
    }
    const uint64_t row = rowBytes();
    // Rows in the file start on 4-byte boundaries; in img they are packed.
    const uint64_t stride = (uint64_t(bpp) * width + 31) / 32 * 4;
    for (uint64_t y = 0; y < height; ++y) {
        const uint64_t from = dataOffset + y * stride;
        if (from >= fileSize) {
            break;
        }
        const uint64_t n = std::min<uint64_t>(row, fileSize - from);
        const uint64_t to = (topDown ? height - 1 - y : y) * row;
        std::memcpy(img + to, fileData + from, n);
    }
    return BMP_SUCCESS;
}

int BMPImg::LoadBmpRLE8() {
    if (fileData == nullptr) {
        return BMP_NO_FILE;
    }
    const int result = allocateImg();
    if (result != BMP_SUCCESS) {
        return result;
    }
    const uint64_t end = fileSize;
    const uint64_t total = imgSize;
    uint64_t p = dataOffset; // input, absolute in the file
    uint64_t o = 0;          // output, in img
    while (o < total) {
        // Every pair starts on a 16-bit boundary of the pixel data.
        p += (p - dataOffset) & 1;
        if (p >= end || end - p < 2) {
            break;
        }
        const unsigned count = fileData[p];
        const unsigned value = fileData[p + 1];
        p += 2;
        if (count != 0) {
            const uint64_t n = std::min<uint64_t>(count, total - o);
            std::memset(img + o, int(value), n);
            o += n;
        } else if (value == 0) {
            // End of line: lines are encoded to their full width, the next one starts at o.
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            // Delta: skip dx pixels right and dy lines up; the skipped pixels stay 0.
            if (end - p < 2) {
                break;
            }
            o += uint64_t(fileData[p + 1]) * rowBytes() + fileData[p];
            p += 2;
        } else {
            const uint64_t n = std::min<uint64_t>({value, end - p, total - o});
            std::memcpy(img + o, fileData + p, n);
            o += n;
            p += n;
            if (n < value) {
                break;
            }
        }
    }
    if (topDown) {
        reverseRows();
    }
    return BMP_SUCCESS;
}

int BMPImg::LoadBmpPalette() {
    delete[] palette;
    palette = nullptr;
    if (bpp > 8) {
        return BMP_SUCCESS;
    }
    if (fileData == nullptr) {
        return BMP_NO_FILE;
    }
    // Always 256 entries; those past the end of a short file stay black.
    palette = new (std::nothrow) unsigned char[PALETTE_ENTRIES * 3]();
    if (palette == nullptr) {
        return BMP_NO_MEMORY;
    }
    for (int i = 0; i < PALETTE_ENTRIES; ++i) {
        const size_t entry = PALETTE_OFFSET + size_t(i) * 4;
        if (fileSize < entry + 3) {
            break;
        }
        palette[i * 3 + 0] = fileData[entry + 2];
        palette[i * 3 + 1] = fileData[entry + 1];
        palette[i * 3 + 2] = fileData[entry + 0];
    }
    return BMP_SUCCESS;
}

void BMPImg::reverseRows() {
    if (height < 2 || !rowsFitImg()) {
        return;
    }
    const uint64_t row = rowBytes();
    for (uint64_t lo = 0, hi = height - 1; lo < hi; ++lo, --hi) {
        std::swap_ranges(img + lo * row, img + (lo + 1) * row, img + hi * row);
    }
}

void BMPImg::FlipImg() {
    reverseRows();
}
