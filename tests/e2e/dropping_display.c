/* A display in front of a real one that closes its first connection a moment after taking it, as
   a busy X server now and then does, and passes every later connection through; SIGUSR1 has it
   close the next one too. It takes the first free display number from 200 on and prints it once
   it listens.
   Usage: dropping_display REAL-DISPLAY-NUMBER */
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

static volatile sig_atomic_t dropNext = 1;

static void DropNext(int signal) {
    (void)signal;
    dropNext = 1;
}

static struct sockaddr_un DisplayAddress(int number) {
    struct sockaddr_un address = {.sun_family = AF_UNIX};
    snprintf(address.sun_path, sizeof address.sun_path, "/tmp/.X11-unix/X%d", number);
    return address;
}

static int Listen(void) {
    for (int number = 200; number < 300; ++number) {
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        struct sockaddr_un address = DisplayAddress(number);
        if (bind(fd, (struct sockaddr*)&address, sizeof address) == 0 && listen(fd, 16) == 0) {
            printf("%d\n", number);
            fflush(stdout);
            return fd;
        }
        close(fd);
    }
    return -1;
}

/* Copies what one side sends to the other until either closes. */
static void Relay(int client, int real) {
    struct pollfd ends[2] = {{client, POLLIN, 0}, {real, POLLIN, 0}};
    char buffer[65536];
    while (poll(ends, 2, -1) > 0) {
        for (int side = 0; side < 2; ++side) {
            if (ends[side].revents) {
                ssize_t got = read(ends[side].fd, buffer, sizeof buffer);
                if (got <= 0 || write(ends[1 - side].fd, buffer, (size_t)got) != got) {
                    return;
                }
            }
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s REAL-DISPLAY-NUMBER\n", argv[0]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    signal(SIGCHLD, SIG_IGN);
    signal(SIGUSR1, DropNext);
    int listener = Listen();
    if (listener < 0) {
        fprintf(stderr, "no free display number\n");
        return 1;
    }
    struct sockaddr_un real = DisplayAddress(atoi(argv[1]));
    for (;;) {
        int client = accept(listener, NULL, NULL);
        if (client < 0) {
            continue;
        }
        if (dropNext) {
            dropNext = 0;
            /* Long enough for the client to be past its check that the connection is open. */
            nanosleep(&(struct timespec){0, 200000000}, NULL);
            close(client);
            continue;
        }
        if (fork() == 0) {
            int upstream = socket(AF_UNIX, SOCK_STREAM, 0);
            if (connect(upstream, (struct sockaddr*)&real, sizeof real) == 0) {
                Relay(client, upstream);
            }
            _exit(0);
        }
        close(client);
    }
}
