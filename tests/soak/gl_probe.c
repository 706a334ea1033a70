// Preloaded into the demo by soak.sh (LD_PRELOAD): at every buffer swap it reads each GL error the
// frame raised and, every 100 frames, the process's resident memory, and appends them to the file
// named by VARKO_SOAK_LOG as "frame N error 0xCODE" and "frame N rss KIB" lines. The demo itself
// is not changed.

#define _GNU_SOURCE
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static void (*swapWindow)(SDL_Window*);
static FILE* record;
static long frames;

static long ResidentKib(void) {
    long size = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (statm != NULL) {
        if (fscanf(statm, "%ld %ld", &size, &resident) != 2) {
            resident = 0;
        }
        fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

static void Start(void) {
    swapWindow = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    const char* path = getenv("VARKO_SOAK_LOG");
    record = path != NULL ? fopen(path, "w") : NULL;
    if (swapWindow == NULL || record == NULL) {
        fprintf(stderr, "gl_probe: cannot find the swap or open VARKO_SOAK_LOG\n");
        abort();
    }
}

void SDL_GL_SwapWindow(SDL_Window* window) {
    if (swapWindow == NULL) {
        Start();
    }
    ++frames;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        fprintf(record, "frame %ld error 0x%04x\n", frames, error);
    }
    if (frames % 100 == 0) {
        fprintf(record, "frame %ld rss %ld\n", frames, ResidentKib());
        fflush(record);
    }
    swapWindow(window);
}
