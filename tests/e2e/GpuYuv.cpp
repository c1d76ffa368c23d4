// vq_gpu_yuv: a PNG frame converted to yuv420p by the capture's GPU conversion, held against
// ffmpeg's conversion of the same PNG. Prints the largest difference in levels of Y, U and V.
#include <FreeImage.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "gl/VideoColour.h"
#include "gl/YuvConverter.h"

namespace {

// The frame's pixels top row first, as the capture's framebuffer holds them.
bool loadPng(const char* path, std::vector<unsigned char>& rgba, int& w, int& h) {
    FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path, PNG_DEFAULT);
    FIBITMAP* png = loaded ? FreeImage_ConvertTo24Bits(loaded) : nullptr;
    if (loaded) {
        FreeImage_Unload(loaded);
    }
    if (!png) {
        return false;
    }
    w = static_cast<int>(FreeImage_GetWidth(png));
    h = static_cast<int>(FreeImage_GetHeight(png));
    rgba.resize(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const BYTE* row = FreeImage_GetScanLine(png, h - 1 - y);
        for (int x = 0; x < w; ++x) {
            unsigned char* out = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            out[0] = row[x * 3 + FI_RGBA_RED];
            out[1] = row[x * 3 + FI_RGBA_GREEN];
            out[2] = row[x * 3 + FI_RGBA_BLUE];
            out[3] = 255;
        }
    }
    FreeImage_Unload(png);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: vq_gpu_yuv FRAME.png LINES REFERENCE.yuv\n");
        return 2;
    }
    std::vector<unsigned char> rgba;
    int w = 0, h = 0;
    if (!loadPng(argv[1], rgba, w, h) || w % 2 != 0 || h % 2 != 0) {
        fprintf(stderr, "vq_gpu_yuv: cannot read %s as a frame of even sides\n", argv[1]);
        return 2;
    }
    std::vector<unsigned char> reference(YuvConverter::bytesOf(w, h));
    FILE* f = fopen(argv[3], "rb");
    const size_t got = f ? fread(reference.data(), 1, reference.size(), f) : 0;
    if (f) {
        fclose(f);
    }
    if (got != reference.size()) {
        fprintf(stderr, "vq_gpu_yuv: %s is not one %dx%d yuv420p frame\n", argv[3], w, h);
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(64, 64, 0, SDL_OPENGL)) {
        fprintf(stderr, "vq_gpu_yuv: no OpenGL display: %s\n", SDL_GetError());
        return 2;
    }

    GLuint texture = 0, fbo = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);

    const VideoColour colour = VideoColour::forHeight(atoi(argv[2]));
    YuvConverter converter;
    std::string error;
    if (!converter.create(w, h, colour.kr, colour.kb, error)) {
        fprintf(stderr, "vq_gpu_yuv: %s\n", error.c_str());
        return 2;
    }
    std::vector<unsigned char> planes(converter.bytes());
    converter.convert(fbo);
    converter.read(planes.data());
    const GLenum glError = glGetError();
    if (glError != GL_NO_ERROR) {
        fprintf(stderr, "vq_gpu_yuv: the conversion left OpenGL error 0x%04x\n", glError);
        return 1;
    }

    const size_t luma = static_cast<size_t>(w) * h;
    const size_t chroma = static_cast<size_t>(w / 2) * (h / 2);
    const size_t begin[3] = {0, luma, luma + chroma};
    const size_t end[3] = {luma, luma + chroma, luma + 2 * chroma};
    int largest[3] = {0, 0, 0};
    for (int p = 0; p < 3; ++p) {
        for (size_t i = begin[p]; i < end[p]; ++i) {
            const int d = abs(planes[i] - reference[i]);
            largest[p] = d > largest[p] ? d : largest[p];
        }
    }
    printf("%s %d %d %d\n", colour.matrix, largest[0], largest[1], largest[2]);
    SDL_Quit();
    return 0;
}
