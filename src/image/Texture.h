// One OpenGL 2D texture with mipmaps, decoded from a PNG or JPEG file at construction.
#pragma once

#include <string>

class Texture {
  public:
    // File types chosen by the name's extension; UNKNOWN loads nothing.
    static constexpr int PNG = 0;
    static constexpr int JPEG = 1;
    static constexpr int BMP = 2;
    static constexpr int UNKNOWN = -1;

    // Needs a current OpenGL context. A missing or undecodable file leaves a texture without
    // an image, which draws in plain vertex colour.
    explicit Texture(std::string filename);
    ~Texture();

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Texturing on with this texture bound.
    void enable();
    // Texturing off; the binding stays.
    void disable();

    // Lower-cases extension in place and maps it to a file type.
    int getFiletype(std::string& extension);
    void loadPNGTexture(std::string filename);
    void loadJPGTexture(std::string filename);
    // BMP images are not loaded as textures.
    void loadBMPTexture(std::string filename);

    unsigned int textureId;
    int filetype;
    std::string filename;

  private:
    void upload(int format, int flags, const std::string& name);
};
