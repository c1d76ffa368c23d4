// OpenGL 1.x and GLU entry points over WebGL: the state a fixed-function driver keeps, and
// immediate mode gathered into batches that WebGLRenderer draws.
#include <GL/gl.h>
#include <GL/glu.h>

#include <emscripten.h>

#include <set>
#include <vector>

#include "MatrixStack.h"
#include "MipmapChain.h"
#include "PrimitiveAssembler.h"
#include "WebGLRenderer.h"

namespace {

const GLenum GL_EXP_MODE = 0x0800;
const GLenum GL_EXP2_MODE = 0x0801;

struct Layer {
    GLenum error = GL_NO_ERROR;

    // Immediate mode
    bool inBegin = false;
    GLenum mode = GL_POINTS;
    std::vector<ImmediateVertex> vertices;
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float texcoord[2] = {0.0f, 0.0f};

    // Batches: drawn before any state changes, at glFlush, and when the page's task ends
    std::vector<DrawVertex> pending;
    PrimitiveAssembler::Kind pendingKind = PrimitiveAssembler::TRIANGLES;
    bool flushQueued = false;

    MatrixStack modelview;
    MatrixStack projection;
    MatrixStack* current = &modelview;

    bool viewportKnown = false;
    float viewport[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // x, y, width, height
    float lineWidth = 1.0f;
    float pointSize = 1.0f;
    bool texture2D = false;
    bool culling = false;
    bool fog = false;
    GLenum fogMode = GL_EXP_MODE;
    float fogStart = 0.0f;
    float fogEnd = 1.0f;
    float fogDensity = 1.0f;
    float fogColor[3] = {0.0f, 0.0f, 0.0f};

    GLuint boundTexture = 0;
    std::set<GLuint> withImage; // texture names that hold an image; others draw untextured

    WebGLRenderer renderer;
};

Layer& layer() {
    static Layer instance;
    return instance;
}

// OpenGL keeps the first error until glGetError reads it.
void fail(GLenum error) {
    if (layer().error == GL_NO_ERROR) {
        layer().error = error;
    }
}

void ensureViewport(Layer& l) {
    if (!l.viewportKnown) {
        GLint box[4] = {0, 0, 0, 0};
        l.renderer.currentViewport(box);
        for (int i = 0; i < 4; ++i) {
            l.viewport[i] = static_cast<float>(box[i]);
        }
        l.viewportKnown = true;
    }
}

float fogFactorScale(const Layer& l) {
    return l.fogEnd != l.fogStart ? 1.0f / (l.fogEnd - l.fogStart) : 1.0f;
}

int fogShaderMode(const Layer& l) {
    if (!l.fog) {
        return 0;
    }
    return l.fogMode == GL_LINEAR ? 1 : (l.fogMode == GL_EXP_MODE ? 2 : 3);
}

void flush() {
    Layer& l = layer();
    if (l.pending.empty()) {
        return;
    }
    ensureViewport(l);
    DrawState state;
    state.projection = l.projection.top();
    state.modelview = l.modelview.top();
    state.viewportX = l.viewport[0];
    state.viewportY = l.viewport[1];
    state.viewportWidth = l.viewport[2];
    state.viewportHeight = l.viewport[3];
    state.lineWidth = l.lineWidth;
    state.pointSize = l.pointSize;
    // A texture without an image is incomplete: OpenGL then draws as if texturing were off.
    state.texturing = l.texture2D && l.withImage.count(l.boundTexture) > 0;
    state.fogMode = fogShaderMode(l);
    state.fogStart = l.fogStart;
    state.fogScale = fogFactorScale(l);
    state.fogDensity = l.fogDensity;
    for (int i = 0; i < 3; ++i) {
        state.fogColor[i] = l.fogColor[i];
    }
    state.culling = l.culling;
    l.renderer.draw(l.pendingKind, l.pending, state);
    l.pending.clear();
}

// A call that may not come between glBegin and glEnd: false (and the error) if it does.
// Otherwise what was batched is drawn first, with the state it was batched under.
bool outsideBegin() {
    if (layer().inBegin) {
        fail(GL_INVALID_OPERATION);
        return false;
    }
    flush();
    return true;
}

// A frame the page shows is the state when the task that drew it ends: a batch still pending
// then is drawn before the browser composites, even by a loop that never calls glFlush.
void queueFlush(Layer& l) {
    if (!l.flushQueued) {
        l.flushQueued = true;
        EM_ASM(queueMicrotask(function() { _vq_gl_layer_flush(); }););
    }
}

bool setCapability(GLenum cap, bool on) {
    Layer& l = layer();
    switch (cap) {
    case GL_TEXTURE_2D:
        l.texture2D = on;
        return true;
    case GL_FOG:
        l.fog = on;
        return true;
    case GL_CULL_FACE:
        l.culling = on;
        break;
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_SCISSOR_TEST:
        break;
    default:
        fail(GL_INVALID_ENUM);
        return false;
    }
    l.renderer.enable(cap, on);
    return true;
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void vq_gl_layer_flush() {
    layer().flushQueued = false;
    if (!layer().inBegin) {
        flush();
    }
}

void glEnable(GLenum cap) {
    if (outsideBegin()) {
        setCapability(cap, true);
    }
}

void glDisable(GLenum cap) {
    if (outsideBegin()) {
        setCapability(cap, false);
    }
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    if (outsideBegin()) {
        layer().renderer.blendFunc(sfactor, dfactor);
    }
}

void glDepthMask(GLboolean flag) {
    if (outsideBegin()) {
        layer().renderer.depthMask(flag != GL_FALSE);
    }
}

void glFrontFace(GLenum mode) {
    if (outsideBegin()) {
        layer().renderer.frontFace(mode);
    }
}

void glShadeModel(GLenum mode) {
    // Smooth is all the demo draws with; flat is accepted and drawn smooth.
    if (outsideBegin() && mode != GL_SMOOTH && mode != GL_FLAT) {
        fail(GL_INVALID_ENUM);
    }
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (!outsideBegin()) {
        return;
    }
    if (width < 0 || height < 0) {
        fail(GL_INVALID_VALUE);
        return;
    }
    Layer& l = layer();
    l.viewport[0] = static_cast<float>(x);
    l.viewport[1] = static_cast<float>(y);
    l.viewport[2] = static_cast<float>(width);
    l.viewport[3] = static_cast<float>(height);
    l.viewportKnown = true;
    l.renderer.viewport(x, y, width, height);
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (!outsideBegin()) {
        return;
    }
    if (width < 0 || height < 0) {
        fail(GL_INVALID_VALUE);
        return;
    }
    layer().renderer.scissor(x, y, width, height);
}

void glLineWidth(GLfloat width) {
    if (!outsideBegin()) {
        return;
    }
    if (!(width > 0.0f)) {
        fail(GL_INVALID_VALUE);
        return;
    }
    layer().lineWidth = width;
}

void glPointSize(GLfloat size) {
    if (!outsideBegin()) {
        return;
    }
    if (!(size > 0.0f)) {
        fail(GL_INVALID_VALUE);
        return;
    }
    layer().pointSize = size;
}

void glFogf(GLenum pname, GLfloat param) {
    if (!outsideBegin()) {
        return;
    }
    Layer& l = layer();
    switch (pname) {
    case GL_FOG_START:
        l.fogStart = param;
        break;
    case GL_FOG_END:
        l.fogEnd = param;
        break;
    case GL_FOG_MODE: {
        const GLenum mode = static_cast<GLenum>(param);
        if (mode != GL_LINEAR && mode != GL_EXP_MODE && mode != GL_EXP2_MODE) {
            fail(GL_INVALID_ENUM);
            return;
        }
        l.fogMode = mode;
        break;
    }
    default:
        fail(GL_INVALID_ENUM);
    }
}

void glFogi(GLenum pname, GLint param) {
    glFogf(pname, static_cast<GLfloat>(param));
}

void glFogfv(GLenum pname, const GLfloat* params) {
    if (pname != GL_FOG_COLOR) {
        glFogf(pname, params[0]);
        return;
    }
    if (outsideBegin()) {
        for (int i = 0; i < 3; ++i) {
            const float c = params[i];
            layer().fogColor[i] = c < 0.0f ? 0.0f : (c > 1.0f ? 1.0f : c);
        }
    }
}

GLenum glGetError(void) {
    Layer& l = layer();
    if (l.inBegin) {
        fail(GL_INVALID_OPERATION); // reported at the next call, after glEnd
        return GL_NO_ERROR;
    }
    const GLenum own = l.error;
    l.error = GL_NO_ERROR;
    return own != GL_NO_ERROR ? own : l.renderer.error();
}

void glClear(GLbitfield mask) {
    if (outsideBegin()) {
        layer().renderer.clear(mask);
    }
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    if (outsideBegin()) {
        layer().renderer.clearColor(red, green, blue, alpha);
    }
}

void glClearStencil(GLint s) {
    if (outsideBegin()) {
        layer().renderer.clearStencil(s);
    }
}

void glFlush(void) {
    if (outsideBegin()) {
        layer().renderer.flush();
    }
}

void glMatrixMode(GLenum mode) {
    if (!outsideBegin()) {
        return;
    }
    Layer& l = layer();
    if (mode == GL_MODELVIEW) {
        l.current = &l.modelview;
    } else if (mode == GL_PROJECTION) {
        l.current = &l.projection;
    } else {
        fail(GL_INVALID_ENUM);
    }
}

void glLoadIdentity(void) {
    if (outsideBegin()) {
        layer().current->load(Matrix4::identity());
    }
}

void glPushMatrix(void) {
    if (outsideBegin() && !layer().current->push()) {
        fail(GL_STACK_OVERFLOW);
    }
}

void glPopMatrix(void) {
    if (outsideBegin() && !layer().current->pop()) {
        fail(GL_STACK_UNDERFLOW);
    }
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearVal,
             GLdouble farVal) {
    if (!outsideBegin()) {
        return;
    }
    if (left == right || bottom == top || nearVal == farVal) {
        fail(GL_INVALID_VALUE);
        return;
    }
    layer().current->multiply(Matrix4::ortho(left, right, bottom, top, nearVal, farVal));
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (outsideBegin()) {
        layer().current->multiply(Matrix4::rotation(angle, x, y, z));
    }
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (outsideBegin()) {
        layer().current->multiply(Matrix4::scaling(x, y, z));
    }
}

// A glBegin adds to the batch: only a change of state draws it, so the rings and lines of a
// wire frame, one glBegin each, go to WebGL as one draw.
void glBegin(GLenum mode) {
    if (layer().inBegin) {
        fail(GL_INVALID_OPERATION);
        return;
    }
    if (PrimitiveAssembler::kindOf(mode) == PrimitiveAssembler::INVALID) {
        fail(GL_INVALID_ENUM);
        return;
    }
    Layer& l = layer();
    l.inBegin = true;
    l.mode = mode;
    l.vertices.clear();
}

void glEnd(void) {
    Layer& l = layer();
    if (!l.inBegin) {
        fail(GL_INVALID_OPERATION);
        return;
    }
    l.inBegin = false;
    const PrimitiveAssembler::Kind kind = PrimitiveAssembler::kindOf(l.mode);
    if (kind != l.pendingKind) {
        flush();
        l.pendingKind = kind;
    }
    PrimitiveAssembler::assemble(l.mode, l.vertices, l.pending);
    if (!l.pending.empty()) {
        queueFlush(l);
    }
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    Layer& l = layer();
    if (!l.inBegin) {
        return; // outside glBegin/glEnd a vertex has no effect
    }
    ImmediateVertex v = {{x, y, z},
                         {l.color[0], l.color[1], l.color[2], l.color[3]},
                         {l.texcoord[0], l.texcoord[1]}};
    l.vertices.push_back(v);
}

void glVertex2f(GLfloat x, GLfloat y) {
    glVertex3f(x, y, 0.0f);
}

void glVertex3fv(const GLfloat* v) {
    glVertex3f(v[0], v[1], v[2]);
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    float* c = layer().color;
    c[0] = red;
    c[1] = green;
    c[2] = blue;
    c[3] = alpha;
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    glColor4f(red, green, blue, 1.0f);
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    layer().texcoord[0] = s;
    layer().texcoord[1] = t;
}

void glTexCoord2fv(const GLfloat* v) {
    glTexCoord2f(v[0], v[1]);
}

void glGenTextures(GLsizei n, GLuint* textures) {
    if (!outsideBegin()) {
        return;
    }
    if (n < 0) {
        fail(GL_INVALID_VALUE);
        return;
    }
    layer().renderer.genTextures(n, textures);
}

void glDeleteTextures(GLsizei n, const GLuint* textures) {
    if (!outsideBegin()) {
        return;
    }
    if (n < 0) {
        fail(GL_INVALID_VALUE);
        return;
    }
    Layer& l = layer();
    for (GLsizei i = 0; i < n; ++i) {
        l.withImage.erase(textures[i]);
        if (textures[i] == l.boundTexture) {
            l.boundTexture = 0; // deleting the bound texture binds the default one
        }
    }
    l.renderer.deleteTextures(n, textures);
}

void glBindTexture(GLenum target, GLuint texture) {
    if (!outsideBegin()) {
        return;
    }
    if (target != GL_TEXTURE_2D) {
        fail(GL_INVALID_ENUM);
        return;
    }
    layer().boundTexture = texture;
    layer().renderer.bindTexture(texture);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    if (outsideBegin()) {
        layer().renderer.texParameter(target, pname, param);
    }
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    if (outsideBegin()) {
        layer().current->multiply(Matrix4::perspective(fovy, aspect, zNear, zFar));
    }
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    if (outsideBegin()) {
        const double eye[3] = {eyeX, eyeY, eyeZ};
        const double centre[3] = {centerX, centerY, centerZ};
        const double up[3] = {upX, upY, upZ};
        layer().current->multiply(Matrix4::lookAt(eye, centre, up));
    }
}

GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void* data) {
    if (width < 1 || height < 1) {
        return GLU_INVALID_VALUE;
    }
    const bool knownInternal = internalFormat == GL_RGB || internalFormat == GL_RGBA ||
                               internalFormat == 3 || internalFormat == 4;
    if (target != GL_TEXTURE_2D || !knownInternal || (format != GL_RGB && format != GL_RGBA) ||
        type != GL_UNSIGNED_BYTE || !data) {
        return GLU_INVALID_ENUM;
    }
    if (!outsideBegin()) {
        return 0;
    }
    const bool keepAlpha = internalFormat == GL_RGBA || internalFormat == 4;
    const std::vector<MipmapChain::Level> levels =
        MipmapChain::build(static_cast<const unsigned char*>(data), width, height,
                           format == GL_RGBA ? 4 : 3, keepAlpha);
    Layer& l = layer();
    l.renderer.upload(levels);
    l.withImage.insert(l.boundTexture);
    return 0;
}
