// A stand-alone reader of Windows BMP files (8 bits per pixel or more, raw or RLE8) into memory.
#pragma once

#include <cstddef>
#include <cstdint>

// Result codes of every BMPImg operation that can fail.
const int BMP_SUCCESS = 1;
const int BMP_NO_FILE = 2;      // the file cannot be opened, or no file data is held
const int BMP_NO_MEMORY = 4;    // a buffer could not be allocated
const int BMP_NOT_BMP = 8;      // wrong signature, information header other than 40 bytes, or short
const int BMP_UNSUPPORTED = 64; // under 8 bits per pixel, other compression, or absurd dimensions

// Reads the whole file, then keeps the pixel bytes as stored (blue, green, red for 24 bits per
// pixel, palette indices for 8), rows tightly packed with the bottom row first whatever the file's
// row order, and for 8 bits per pixel or fewer a 256-entry palette of red, green, blue bytes.
// Every read is bounded by the file's length and every write by the pixel buffer, whatever the
// header claims: a truncated file is read as far as it goes and the rest of the image stays 0.
class BMPImg {
  public:
    BMPImg();
    ~BMPImg();

    BMPImg(const BMPImg&) = delete;
    BMPImg& operator=(const BMPImg&) = delete;

    // The whole load; the first step that fails ends it with its code and leaves the file data
    // held until the next load or the destructor.
    int Load(const char* name);
    int GetFile(const char* name);
    // Checks the signature and the 40-byte information header and takes the dimensions; an image
    // whose width, height or pixel buffer does not fit in an int gives BMP_UNSUPPORTED.
    int ReadBmpHeader();
    int LoadBmpRaw();
    int LoadBmpRLE8();
    int LoadBmpPalette();

    int GetBPP() const { return bpp; }
    int GetWidth() const { return static_cast<int>(width); }
    int GetHeight() const { return static_cast<int>(height); }
    unsigned char* GetImg() const { return img; }
    unsigned char* GetPalette() const { return palette; }

    // Turns the image upside down in place (the top row first), for any bits per pixel.
    void FlipImg();

  private:
    int allocateImg();
    uint64_t rowBytes() const;
    bool rowsFitImg() const;
    void reverseRows();
    uint32_t readU32(size_t offset) const;
    uint16_t readU16(size_t offset) const;

    uint32_t width;
    uint32_t height; // rows, always positive; topDown records a file stored top row first
    uint32_t compression;
    int16_t bpp;
    int16_t planes;
    uint32_t dataOffset;
    int32_t size; // bytes of img: (bpp / 8) * width * height
    unsigned char* img;
    size_t imgSize; // bytes allocated for img; bounds every write even if the header changed since
    unsigned char* palette;
    unsigned char* fileData;
    size_t fileSize; // bytes held in fileData
    bool topDown;
};
