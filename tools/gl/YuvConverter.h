// Turns a captured RGB frame into yuv420p on the GPU, so that 1.5 bytes a pixel come back.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Limited range (Y 16 to 235, chroma 16 to 240) with the luma weights given. The planes are
// those ffmpeg's scaler made from the same RGB frame (bicubic, accurate rounding), within a
// level: each chroma sample is the mean of a pair of pixels across, filtered down the rows
// with the scaler's bicubic (8 taps, the edge rows repeated).
class YuvConverter {
  public:
    YuvConverter();
    // Deletes the OpenGL objects; needs the context still current.
    ~YuvConverter();

    YuvConverter(const YuvConverter&) = delete;
    YuvConverter& operator=(const YuvConverter&) = delete;

    // For width x height frames (both even) and the luma weights kr, kb of the matrix. Needs a
    // current context; false with a one-line reason when the driver cannot hold the planes,
    // and then nothing is left built.
    bool create(int width, int height, float kr, float kb, std::string& error);

    // Converts the frame in colour attachment 0 of frameFbo (RGBA8, its top row at row 0).
    // Leaves every OpenGL state as it found it, the framebuffer bindings included.
    void convert(GLuint frameFbo);
    // Reads the planes of the last conversion into `into`, bytes() long: Y, then U, then V,
    // rows top first, as ffmpeg's rawvideo yuv420p takes them.
    void read(uint8_t* into);

    size_t bytes() const;
    static size_t bytesOf(int width, int height);

  private:
    // Rows are padded to whole blocks of eight pixels across.
    // Texels across each plane: eight luma levels, or four chroma samples, each.
    int chromaColumns() const;
    bool buildTargets(std::string& error);
    bool complete(std::string& error);
    void readPlane(GLenum format, GLenum type, int texelBytes, int columns, int rows, int rowBytes,
                   uint8_t* into);
    void destroy();

    int width;
    int height;
    GLuint sourceBuffer; // the frame, copied where the first pass fetches it
    GLuint sourceTexture;
    GLuint lumaFbo;
    GLuint lumaColour;
    GLuint pairsTexture; // the pairs' U and V, for the second pass
    GLuint chromaFbo;    // U and V drawn together: they read the same pixels
    GLuint chromaColour[2];
    GLuint lumaProgram;
    GLuint chromaProgram;
    std::vector<uint8_t> padded; // a plane's rows as read, when its width is not whole texels
};
