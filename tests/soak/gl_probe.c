// Preloaded into the demo by soak.sh (LD_PRELOAD): at every buffer swap it reads each GL error the
// frame raised and, every 100 frames, the process's resident memory and the memory its allocator
// has handed out, and appends them to the file named by VARKO_SOAK_LOG as "frame N error 0xCODE"
// and "frame N rss KIB held KIB" lines; each time the frame was drawn into a viewport of another
// size it adds "frame N viewport W H" at once. The number of frames drawn so far is rewritten in
// place after every frame in the file named by VARKO_SOAK_FRAMES, so that the script can step the
// run by frames instead of by seconds. The demo itself is not changed.

#define _GNU_SOURCE
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static void (*swapWindow)(SDL_Window*);
static FILE* record;
static int counter = -1;
static long frames;
static GLint viewport[4];

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

// What the allocator has handed out and not had back, in every arena and in mapped blocks: the
// memory the program and its libraries hold, whatever the allocator keeps resident for them.
static long HeldKib(void) {
    struct mallinfo2 heap = mallinfo2();
    return (long)((heap.uordblks + heap.hblkhd) / 1024);
}

static void Start(void) {
    swapWindow = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    const char* path = getenv("VARKO_SOAK_LOG");
    const char* counterPath = getenv("VARKO_SOAK_FRAMES");
    record = path != NULL ? fopen(path, "w") : NULL;
    counter = counterPath != NULL
                  ? open(counterPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)
                  : -1;
    if (swapWindow == NULL || record == NULL || counter < 0) {
        fprintf(stderr,
                "gl_probe: cannot find the swap or open VARKO_SOAK_LOG and VARKO_SOAK_FRAMES\n");
        abort();
    }
}

// One fixed-width line written over the last: a reader never sees a shorter number's leftovers.
static void PublishFrameCount(void) {
    char line[24];
    int length = snprintf(line, sizeof line, "%20ld\n", frames);
    if (pwrite(counter, line, (size_t)length, 0) != length) {
        fprintf(record, "frame %ld counter unwritten\n", frames);
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
    GLint drawn[4];
    glGetIntegerv(GL_VIEWPORT, drawn);
    if (drawn[2] != viewport[2] || drawn[3] != viewport[3]) {
        viewport[2] = drawn[2];
        viewport[3] = drawn[3];
        fprintf(record, "frame %ld viewport %d %d\n", frames, drawn[2], drawn[3]);
        fflush(record);
    }
    swapWindow(window);
    // After the swap, when the driver has finished with the frame's own buffers.
    if (frames % 100 == 0) {
        fprintf(record, "frame %ld rss %ld held %ld\n", frames, ResidentKib(), HeldKib());
        fflush(record);
    }
    PublishFrameCount();
}
