// Display start-up through SDL 1.2, key handling and the process exit.
#include "platform/SDLWindow.h"

#include <cstdio>
#include <cstdlib>

#include "platform/DrawingContext.h"
#include "platform/ProcessEnd.h"

SDLWindow::SDLWindow(bool fullScreen)
    : surface(nullptr), videoInfo(nullptr), fullScreen(fullScreen) {}

void SDLWindow::init(char* caption, int argc, char** argv) {
    int width = 800;
    int height = 600;
    if (argc == 3) {
        // No separator and no newline: the two texts run together on one line.
        width = atoi(argv[1]);
        printf("width: %i", width);
        height = atoi(argv[2]);
        printf("height: %i", height);
        fflush(stdout);
    }
    init(caption, width, height);
}

void SDLWindow::init(char* caption, int width, int height) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "Video initialization failed: %s\n", SDL_GetError());
        quit(1);
    }
    SDL_WM_SetCaption(caption, nullptr);

    videoInfo = SDL_GetVideoInfo();
    if (!videoInfo) {
        fprintf(stderr, "Video query failed: %s\n", SDL_GetError());
        quit(1);
    }
    const int bpp = videoInfo->vfmt->BitsPerPixel;

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    SDL_ShowCursor(SDL_DISABLE);

    surface = SDL_SetVideoMode(width, height, bpp, SDL_OPENGL | (fullScreen ? SDL_FULLSCREEN : 0));
    if (!surface) {
        fprintf(stderr, "Video mode set failed: %s\n", SDL_GetError());
        quit(1);
    }
    // A page's SDL gives a surface even without WebGL; the first texture would then end the
    // page's script with an error instead of the program with its reason.
    if (!DrawingContext::made()) {
        fprintf(stderr, "Video mode set failed: no OpenGL context (WebGL is off or missing)\n");
        quit(1);
    }
}

void SDLWindow::process_events() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
            handle_key_down(&event.key.keysym);
            break;
        case SDL_QUIT:
            quit(0);
        default:
            break;
        }
    }
}

void SDLWindow::handle_key_down(SDL_keysym* keysym) {
    switch (keysym->sym) {
    case SDLK_ESCAPE:
    case SDLK_q:
        quit(0);
    case SDLK_f:
        SDL_WM_ToggleFullScreen(surface);
        break;
    default:
        break;
    }
}

void SDLWindow::quit(int status) {
    SDL_Quit();
    ProcessEnd::now(status);
}
