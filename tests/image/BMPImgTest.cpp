// The BMP reader over files the tests write: layouts it reads, ones it refuses, damaged ones.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

#include "image/BMPFileWriter.h"
#include "image/BMPImg.h"

namespace {

using bmpfile::Bytes;

class BMPImgTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const std::string& p : written) {
            std::remove(p.c_str());
        }
    }

    // Writes the bytes to a file of this process and loads it.
    int load(BMPImg& image, const Bytes& bytes) {
        const std::string p = ::testing::TempDir() + "bmpimg_" + std::to_string(getpid()) + "_" +
                              std::to_string(written.size()) + ".bmp";
        written.push_back(p);
        EXPECT_TRUE(bmpfile::write(p, bytes));
        return image.Load(p.c_str());
    }

    std::vector<std::string> written;
};

Bytes imgBytes(const BMPImg& image, size_t n) {
    const unsigned char* p = image.GetImg();
    return p == nullptr ? Bytes() : Bytes(p, p + n);
}

// width * height pixels of bytesPerPixel bytes, none of them 0, each byte different from its
// neighbours so that a shifted or misplaced row shows.
Bytes pattern(int width, int height, int bytesPerPixel) {
    Bytes b(size_t(width) * height * bytesPerPixel);
    for (size_t i = 0; i < b.size(); ++i) {
        b[i] = static_cast<unsigned char>(1 + (i * 37) % 251);
    }
    return b;
}

// The rows in the opposite order.
Bytes reversedRows(const Bytes& packed, size_t rowBytes) {
    Bytes out;
    for (size_t at = packed.size(); at > 0; at -= rowBytes) {
        out.insert(out.end(), packed.begin() + (at - rowBytes), packed.begin() + at);
    }
    return out;
}

TEST_F(BMPImgTest, RefusesWhatItCannotRead) {
    BMPImg image;
    EXPECT_EQ(image.Load("/nonexistent/none.bmp"), BMP_NO_FILE);
    EXPECT_EQ(image.Load(::testing::TempDir().c_str()), BMP_NO_FILE); // a directory
    EXPECT_EQ(image.Load(nullptr), BMP_NO_FILE);

    const Bytes pixels = pattern(2, 2, 4);
    Bytes wrongSignature = bmpfile::bmp(2, 2, 24, 0, pixels);
    wrongSignature[0] = 'P';
    EXPECT_EQ(load(image, wrongSignature), BMP_NOT_BMP);
    EXPECT_EQ(load(image, bmpfile::bmp(2, 2, 24, 0, pixels, 12)), BMP_NOT_BMP);
    EXPECT_EQ(load(image, bmpfile::bmp(2, 2, 24, 0, pixels, 108)), BMP_NOT_BMP);

    EXPECT_EQ(load(image, bmpfile::bmp(32, 2, 1, 0, pattern(4, 2, 1))), BMP_UNSUPPORTED);
    EXPECT_EQ(load(image, bmpfile::bmp(8, 2, 4, 0, pattern(4, 2, 1))), BMP_UNSUPPORTED);
    EXPECT_EQ(load(image, bmpfile::bmp(8, 2, 4, 2, Bytes{0, 1})), BMP_UNSUPPORTED); // RLE4
    EXPECT_EQ(load(image, bmpfile::bmp(2, 2, 8, 2, Bytes{0, 1})), BMP_UNSUPPORTED); // RLE4 tag
    EXPECT_EQ(load(image, bmpfile::bmp(2, 2, 32, 3, pixels)), BMP_UNSUPPORTED);     // bit fields
    EXPECT_EQ(load(image, bmpfile::bmp(2, 2, 32, 0x7f, pixels)), BMP_UNSUPPORTED);  // unknown
    EXPECT_EQ(image.GetImg(), nullptr);
    EXPECT_EQ(image.GetPalette(), nullptr);
}

TEST_F(BMPImgTest, Reads24BitPaddedRowsBottomRowFirstAndFlipsThem) {
    BMPImg image;
    ASSERT_EQ(load(image, bmpfile::bmp(3, 3, 8, 0, bmpfile::padRows(pattern(3, 3, 1), 3))),
              BMP_SUCCESS);
    ASSERT_NE(image.GetPalette(), nullptr);

    // 3 pixels of 3 bytes: 9 bytes a row, padded to 12 in the file.
    const Bytes packed = pattern(3, 2, 3);
    ASSERT_EQ(load(image, bmpfile::bmp(3, 2, 24, 0, bmpfile::padRows(packed, 9))), BMP_SUCCESS);
    EXPECT_EQ(image.GetBPP(), 24);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetHeight(), 2);
    EXPECT_EQ(imgBytes(image, packed.size()), packed);
    EXPECT_EQ(image.GetPalette(), nullptr);        // the earlier 8-bit palette is gone
    EXPECT_EQ(image.ReadBmpHeader(), BMP_NO_FILE); // the file data went with the load

    image.FlipImg();
    EXPECT_EQ(imgBytes(image, packed.size()), reversedRows(packed, 9));
    image.FlipImg();
    EXPECT_EQ(imgBytes(image, packed.size()), packed);
}

TEST_F(BMPImgTest, Reads8BitIndicesAndTheWholePaletteAsRgb) {
    BMPImg image;
    const Bytes packed = pattern(5, 3, 1); // 5-byte rows, padded to 8
    ASSERT_EQ(load(image, bmpfile::bmp(5, 3, 8, 0, bmpfile::padRows(packed, 5))), BMP_SUCCESS);
    EXPECT_EQ(image.GetBPP(), 8);
    EXPECT_EQ(imgBytes(image, packed.size()), packed);
    ASSERT_NE(image.GetPalette(), nullptr);
    for (int i = 0; i < 256; ++i) {
        unsigned char bgr[3];
        bmpfile::paletteEntry(i, bgr);
        const unsigned char* rgb = image.GetPalette() + i * 3;
        ASSERT_EQ(rgb[0], bgr[2]) << "entry " << i;
        ASSERT_EQ(rgb[1], bgr[1]) << "entry " << i;
        ASSERT_EQ(rgb[2], bgr[0]) << "entry " << i;
    }
    // Flipping walks rows of the image's own width, not three bytes a pixel.
    image.FlipImg();
    EXPECT_EQ(imgBytes(image, packed.size()), reversedRows(packed, 5));
}

TEST_F(BMPImgTest, TopDownFilesComeOutBottomRowFirst) {
    BMPImg image;
    const Bytes rgb = pattern(3, 4, 3);
    ASSERT_EQ(load(image, bmpfile::bmp(3, -4, 24, 0, bmpfile::padRows(reversedRows(rgb, 9), 9))),
              BMP_SUCCESS);
    EXPECT_EQ(image.GetHeight(), 4);
    EXPECT_EQ(imgBytes(image, rgb.size()), rgb);

    const Bytes indices = pattern(5, 3, 1);
    ASSERT_EQ(load(image, bmpfile::bmp(5, -3, 8, 0, bmpfile::padRows(reversedRows(indices, 5), 5))),
              BMP_SUCCESS);
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(imgBytes(image, indices.size()), indices);
}

TEST_F(BMPImgTest, DecodesRle8RunsAbsoluteRunsLineEndsAndDeltas) {
    BMPImg image;
    const Bytes stream = {
        3, 0x11, 0, 5, 1, 2, 3, 4, 5, 0, // run, odd absolute run and its pad byte
        0, 0,                            // end of line: the line was full
        2, 0x22, 0, 2, 3, 1,             // run, then 3 right and 1 line up
        2, 0x33, 0, 1,                   // run, end of bitmap one pixel short
        8, 0x77,                         // past the end marker: never read
    };
    ASSERT_EQ(load(image, bmpfile::bmp(8, 3, 8, 1, stream)), BMP_SUCCESS);
    const Bytes expected = {
        0x11, 0x11, 0x11, 1, 2, 3,    4,    5, //
        0x22, 0x22, 0,    0, 0, 0,    0,    0, //
        0,    0,    0,    0, 0, 0x33, 0x33, 0,
    };
    EXPECT_EQ(imgBytes(image, expected.size()), expected);
    ASSERT_NE(image.GetPalette(), nullptr);
}

TEST_F(BMPImgTest, Rle8StopsWhereTheOutputOrTheInputEnds) {
    struct Case {
        const char* what;
        Bytes stream;
        Bytes expected; // 4 x 2 image
    };
    const Case cases[] = {
        {"run crossing the end, no end marker",
         {6, 0x44, 200, 0x55, 9, 0x66},
         {0x44, 0x44, 0x44, 0x44, 0x44, 0x44, 0x55, 0x55}},
        {"absolute run crossing the end",
         {5, 0x44, 0, 6, 1, 2, 3, 4, 5, 6},
         {0x44, 0x44, 0x44, 0x44, 0x44, 1, 2, 3}},
        {"input ends after a run", {3, 0x66}, {0x66, 0x66, 0x66, 0, 0, 0, 0, 0}},
        {"input ends inside an absolute run", {0, 10, 1, 2, 3, 4}, {1, 2, 3, 4, 0, 0, 0, 0}},
        {"input ends inside a pair", {2, 0x66, 2}, {0x66, 0x66, 0, 0, 0, 0, 0, 0}},
        {"input ends inside a delta", {1, 0x66, 0, 2, 1}, {0x66, 0, 0, 0, 0, 0, 0, 0}},
        {"delta far past the end", {1, 0x66, 0, 2, 255, 255, 4, 0x77}, {0x66, 0, 0, 0, 0, 0, 0, 0}},
        {"delta onto the last pixel", {0, 2, 3, 1, 9, 0x77}, {0, 0, 0, 0, 0, 0, 0, 0x77}},
    };
    for (const Case& c : cases) {
        BMPImg image;
        ASSERT_EQ(load(image, bmpfile::bmp(4, 2, 8, 1, c.stream)), BMP_SUCCESS) << c.what;
        EXPECT_EQ(imgBytes(image, 8), c.expected) << c.what;
    }
}

TEST_F(BMPImgTest, DimensionsThatOverflowAreRefusedBeforeAnyAllocation) {
    struct Case {
        int32_t width, height;
        int bpp;
    };
    const Case cases[] = {
        {0x7fffffff, 0x7fffffff, 24},
        {0x55555556, 1, 24}, // 3 * width wraps to 2 in 32 bits
        {0x40000000, 4, 8},  // width * height wraps to 0 in 32 bits
        {65536, 32768, 8},   // one byte over the largest int
        {1024, 1024, 32767},
        {1718039348, 2147418113, 40}, // 5 * width * height wraps to 4 even in 64 bits
        {1, INT_MIN, 8},
        {-2, 1, 8},
    };
    for (const Case& c : cases) {
        BMPImg image;
        EXPECT_EQ(load(image, bmpfile::bmp(c.width, c.height, c.bpp, 0, Bytes(64, 1))),
                  BMP_UNSUPPORTED)
            << c.width << " x " << c.height << " x " << c.bpp;
        EXPECT_EQ(image.GetImg(), nullptr);
        image.FlipImg(); // dimensions without pixels: nothing to touch
    }
}

TEST_F(BMPImgTest, TruncatedRawFilesAreReadAsFarAsTheyGo) {
    const Bytes rgb = pattern(3, 2, 3);
    const Bytes indices = pattern(3, 2, 1);
    const Bytes files[] = {bmpfile::bmp(3, 2, 24, 0, bmpfile::padRows(rgb, 9)),
                           bmpfile::bmp(3, 2, 8, 0, bmpfile::padRows(indices, 3))};
    for (const Bytes& whole : files) {
        const int bytesPerPixel = whole[28] / 8;
        const Bytes& packed = bytesPerPixel == 3 ? rgb : indices;
        const size_t dataOffset = whole[10] | whole[11] << 8;
        const size_t row = 3 * bytesPerPixel;
        const size_t stride = (row + 3) / 4 * 4;
        for (size_t length = 0; length <= whole.size(); ++length) {
            BMPImg image;
            const int code = load(image, Bytes(whole.begin(), whole.begin() + length));
            if (length < 54) {
                ASSERT_EQ(code, BMP_NOT_BMP) << "length " << length;
                continue;
            }
            ASSERT_EQ(code, BMP_SUCCESS) << "length " << length;
            // Each pixel byte is the file's if the file reaches it, else 0.
            Bytes expected(packed.size(), 0);
            for (size_t i = 0; i < packed.size(); ++i) {
                if (dataOffset + (i / row) * stride + i % row < length) {
                    expected[i] = packed[i];
                }
            }
            ASSERT_EQ(imgBytes(image, packed.size()), expected) << "length " << length;
            if (bytesPerPixel == 1) {
                ASSERT_NE(image.GetPalette(), nullptr);
                const size_t entries = length >= 57 ? (length - 57) / 4 + 1 : 0;
                const unsigned char* rgb = image.GetPalette();
                for (size_t i = 0; i < 256; ++i) {
                    unsigned char bgr[3];
                    bmpfile::paletteEntry(int(i), bgr);
                    const bool held = rgb[i * 3] == bgr[2] && rgb[i * 3 + 1] == bgr[1] &&
                                      rgb[i * 3 + 2] == bgr[0];
                    const bool black = !rgb[i * 3] && !rgb[i * 3 + 1] && !rgb[i * 3 + 2];
                    ASSERT_TRUE(i < entries ? held : black)
                        << "length " << length << " entry " << i;
                }
            }
        }
    }
}

TEST_F(BMPImgTest, TruncatedRle8FilesDecodeAPrefixOfTheImage) {
    const Bytes stream = {2, 0x11, 0, 3, 5, 6, 7, 0,  3,  0x22, 0, 0, 0,
                          2, 1,    0, 0, 4, 8, 9, 10, 11, 0,    0, 0, 1};
    const Bytes expected = {0x11, 0x11, 5, 6,  7,  0x22, 0x22, 0x22, //
                            0,    8,    9, 10, 11, 0,    0,    0};
    const Bytes whole = bmpfile::bmp(8, 2, 8, 1, stream);
    size_t lastPrefix = 0;
    for (size_t length = 54; length <= whole.size(); ++length) {
        BMPImg image;
        ASSERT_EQ(load(image, Bytes(whole.begin(), whole.begin() + length)), BMP_SUCCESS);
        // The decoded part grows with the file and what lies beyond it stays 0.
        const Bytes got = imgBytes(image, expected.size());
        size_t prefix = 0;
        while (prefix < got.size() && got[prefix] == expected[prefix]) {
            ++prefix;
        }
        for (size_t i = prefix; i < got.size(); ++i) {
            ASSERT_EQ(got[i], 0) << "length " << length << " byte " << i;
        }
        ASSERT_GE(prefix, lastPrefix) << "length " << length;
        lastPrefix = prefix;
    }
    EXPECT_EQ(lastPrefix, expected.size());
}

TEST_F(BMPImgTest, StepsWithoutFileDataOrWithAStaleHeaderStayInBounds) {
    BMPImg image;
    EXPECT_EQ(image.ReadBmpHeader(), BMP_NO_FILE);
    EXPECT_EQ(image.LoadBmpRaw(), BMP_NO_FILE);
    EXPECT_EQ(image.LoadBmpRLE8(), BMP_NO_FILE);
    EXPECT_EQ(image.LoadBmpPalette(), BMP_NO_FILE);
    image.FlipImg();
    EXPECT_EQ(image.GetImg(), nullptr);

    // A loaded 2 x 2 image, then the header of a larger one read by hand: flipping must not
    // take the new dimensions for the old pixels.
    const Bytes small = pattern(2, 2, 3);
    ASSERT_EQ(load(image, bmpfile::bmp(2, 2, 24, 0, bmpfile::padRows(small, 6))), BMP_SUCCESS);
    const std::string larger = ::testing::TempDir() + "bmpimg_larger_" + std::to_string(getpid());
    written.push_back(larger);
    ASSERT_TRUE(bmpfile::write(larger, bmpfile::bmp(100, 100, 24, 0, Bytes(30000, 7))));
    ASSERT_EQ(image.GetFile(larger.c_str()), BMP_SUCCESS);
    ASSERT_EQ(image.ReadBmpHeader(), BMP_SUCCESS);
    image.FlipImg();
    EXPECT_EQ(imgBytes(image, small.size()), small);
}

} // namespace
