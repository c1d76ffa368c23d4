// The browser's side of the layer test: draws each scene through the layer over WebGL and puts
// the frames' pixels into the page, one line a scene, for the desktop side to compare.
#include <GL/gl.h>

#include <SDL/SDL.h>
#include <emscripten.h>

#include <string>

#include "LayerScenes.h"

extern "C" void emscripten_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height,
                                        GLenum format, GLenum type, void* pixels);

namespace {

void appendHex(std::string& out, const unsigned char* bytes, size_t count) {
    static const char digits[] = "0123456789abcdef";
    for (size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
}

} // namespace

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
        !SDL_SetVideoMode(LAYER_WIDTH, LAYER_HEIGHT, 32, SDL_OPENGL)) {
        EM_ASM(document.title = 'layer failed: no context';);
        return 1;
    }
    // WebGL's draw calls counted: the lines scene's three glBegin runs, told apart only by
    // their colours, must reach WebGL as one draw.
    emscripten_run_script("Module.draws = 0;"
                          "['drawArrays', 'drawElements'].forEach(function (name) {"
                          "    var own = GLctx[name].bind(GLctx);"
                          "    GLctx[name] = function () {"
                          "        ++Module.draws;"
                          "        return own.apply(null, arguments);"
                          "    };"
                          "});");
    std::string out;
    std::string rgba(LAYER_WIDTH * LAYER_HEIGHT * 4, '\0');
    for (int s = 0; s < LAYER_SCENE_COUNT; ++s) {
        resetLayerState();
        EM_ASM(Module.draws = 0;);
        LAYER_SCENES[s].draw();
        glFlush();
        if (std::string(LAYER_SCENES[s].name) == "lines") {
            out += "draws " + std::to_string(EM_ASM_INT(return Module.draws;)) + "\n";
        }
        const GLenum error = glGetError();
        // Read before the task ends: the drawing buffer is not kept after the page composites.
        emscripten_glReadPixels(0, 0, LAYER_WIDTH, LAYER_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE,
                                &rgba[0]);
        out += std::string("scene ") + LAYER_SCENES[s].name + " " + std::to_string(error) + " ";
        for (size_t i = 0; i < rgba.size(); i += 4) {
            appendHex(out, reinterpret_cast<const unsigned char*>(&rgba[i]), 3);
        }
        out += "\n";
    }
    unsigned codes[8];
    const int n = readLayerErrors(codes, 8);
    out += "errors";
    for (int i = 0; i < n; ++i) {
        out += " " + std::to_string(codes[i]);
    }
    out += "\n";
    EM_ASM(
        {
            var pre = document.createElement('pre');
            pre.id = 'frames';
            pre.textContent = UTF8ToString($0);
            document.body.appendChild(pre);
            document.title = 'layer done';
        },
        out.c_str());

    // A quad left batched when the task ends, as a main loop that never calls glFlush leaves
    // its last one: the layer draws it before the page composites. Read just before that.
    resetLayerState();
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glBegin(GL_QUADS);
    glColor3f(1.0f, 0.0f, 1.0f);
    glVertex2f(0.25f, 0.25f);
    glVertex2f(0.75f, 0.25f);
    glVertex2f(0.75f, 0.75f);
    glVertex2f(0.25f, 0.75f);
    glEnd();
    EM_ASM(
        {
            queueMicrotask(function() {
                var px = new Uint8Array(4);
                GLctx.readPixels($0, $1, 1, 1, GLctx.RGBA, GLctx.UNSIGNED_BYTE, px);
                document.getElementById('frames').textContent +=
                    'unflushed ' + px[0] + ' ' + px[1] + ' ' + px[2] + '\n';
            });
        },
        LAYER_WIDTH / 2, LAYER_HEIGHT / 2);
    return 0;
}
