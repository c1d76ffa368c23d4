// Decoding through FreeImage and uploading with a full mipmap chain through GLU.
#include "image/Texture.h"

#include <FreeImage.h>
#include <GL/gl.h>
#include <GL/glu.h>

Texture::Texture(std::string filename) : textureId(0), filetype(UNKNOWN), filename(filename) {
    const size_t dot = filename.find_last_of('.');
    if (dot == std::string::npos) {
        return; // no extension: nothing to load, like a missing file
    }
    std::string extension = filename.substr(dot + 1);
    filetype = getFiletype(extension);
    switch (filetype) {
    case PNG:
        loadPNGTexture(filename);
        break;
    case JPEG:
        loadJPGTexture(filename);
        break;
    case BMP:
        loadBMPTexture(filename);
        break;
    default:
        break;
    }
}

Texture::~Texture() {
    glDeleteTextures(1, &textureId); // name 0 is ignored
}

void Texture::enable() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureId);
}

void Texture::disable() {
    glDisable(GL_TEXTURE_2D);
}

int Texture::getFiletype(std::string& extension) {
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (extension == "png") {
        return PNG;
    }
    if (extension == "jpg" || extension == "jpeg") {
        return JPEG;
    }
    if (extension == "bmp") {
        return BMP;
    }
    return UNKNOWN;
}

void Texture::loadPNGTexture(std::string filename) {
    upload(FIF_PNG, PNG_DEFAULT, filename);
}

void Texture::loadJPGTexture(std::string filename) {
    upload(FIF_JPEG, JPEG_ACCURATE, filename);
}

void Texture::loadBMPTexture(std::string) {}

namespace {

// Palette, grey and 16-bit images become 32-bit: uploaded as they stand they would be garbage.
FIBITMAP* toUploadable(FIBITMAP* image) {
    const unsigned bpp = FreeImage_GetBPP(image);
    if (FreeImage_GetImageType(image) == FIT_BITMAP && (bpp == 24 || bpp == 32)) {
        return image;
    }
    FIBITMAP* converted = FreeImage_ConvertTo32Bits(image);
    FreeImage_Unload(image);
    return converted;
}

// FreeImage keeps pixels blue, green, red on little-endian machines; OpenGL is told red first.
void swapRedAndBlue(FIBITMAP* image) {
    FIBITMAP* red = FreeImage_GetChannel(image, FICC_RED);
    FIBITMAP* blue = FreeImage_GetChannel(image, FICC_BLUE);
    if (red && blue) {
        FreeImage_SetChannel(image, red, FICC_BLUE);
        FreeImage_SetChannel(image, blue, FICC_RED);
    }
    FreeImage_Unload(red);
    FreeImage_Unload(blue);
}

// Pictures beyond this many pixels (1 GiB as 32 bits) are refused before they are decoded: a
// header of a few bytes can claim 100000 x 100000, tens of gigabytes once allocated.
const unsigned long long LARGEST_PICTURE = 1ull << 28;

// False when the file's header claims more pixels than that; a header that cannot be read
// leaves the decision to the full load.
bool sizeAllowed(FREE_IMAGE_FORMAT format, const char* name) {
    FIBITMAP* header = FreeImage_Load(format, name, FIF_LOAD_NOPIXELS);
    if (!header) {
        return true;
    }
    const unsigned long long pixels =
        static_cast<unsigned long long>(FreeImage_GetWidth(header)) * FreeImage_GetHeight(header);
    FreeImage_Unload(header);
    return pixels <= LARGEST_PICTURE;
}

} // namespace

void Texture::upload(int format, int flags, const std::string& name) {
    const FREE_IMAGE_FORMAT type = static_cast<FREE_IMAGE_FORMAT>(format);
    FIBITMAP* image =
        sizeAllowed(type, name.c_str()) ? FreeImage_Load(type, name.c_str(), flags) : nullptr;
    if (image) {
        image = toUploadable(image);
    }
    if (image) {
        swapRedAndBlue(image);
        // The file's top row comes first afterwards, at texture coordinate t = 0.
        FreeImage_FlipVertical(image);
    }

    // A texture name exists even without an image; without one it draws in vertex colour.
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    if (!image) {
        return;
    }
    const GLenum layout = FreeImage_GetBPP(image) == 32 ? GL_RGBA : GL_RGB;
    // FreeImage pads rows to 4 bytes, which is OpenGL's default unpack alignment.
    gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(layout),
                      static_cast<GLint>(FreeImage_GetWidth(image)),
                      static_cast<GLint>(FreeImage_GetHeight(image)), layout, GL_UNSIGNED_BYTE,
                      FreeImage_GetBits(image));
    FreeImage_Unload(image);
}
