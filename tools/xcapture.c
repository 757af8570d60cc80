/* Watches screen regions and prints when each one changes.
 *   xcapture SECONDS INTERVAL_MS NAME X Y W H [NAME X Y W H ...]
 * Every INTERVAL_MS it reads each region from the root window; a line
 * "NAME TIME" (wall clock, seconds since the epoch) is printed for every change.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#define MAX_REGIONS 4

struct region {
    const char* name;
    int x, y, w, h;
    uint64_t hash;
    int seen;
};

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static uint64_t hash_image(XImage* image)
{
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < image->height; y++) {
        for (int x = 0; x < image->width; x++) {
            hash = (hash ^ (uint64_t)XGetPixel(image, x, y)) * 1099511628211ull;
        }
    }
    return hash;
}

int main(int argc, char** argv)
{
    if (argc < 8 || (argc - 3) % 5 != 0 || (argc - 3) / 5 > MAX_REGIONS) {
        fprintf(stderr, "usage: xcapture SECONDS INTERVAL_MS NAME X Y W H [...]\n");
        return 2;
    }
    double seconds = atof(argv[1]);
    long interval = atol(argv[2]);
    int count = (argc - 3) / 5;
    struct region regions[MAX_REGIONS];
    for (int i = 0; i < count; i++) {
        char** a = argv + 3 + 5 * i;
        regions[i].name = a[0];
        regions[i].x = atoi(a[1]);
        regions[i].y = atoi(a[2]);
        regions[i].w = atoi(a[3]);
        regions[i].h = atoi(a[4]);
        regions[i].seen = 0;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "xcapture: no display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    double start = now();
    printf("start %.6f\n", start);
    double next = start;
    while (now() - start < seconds) {
        for (int i = 0; i < count; i++) {
            struct region* r = &regions[i];
            XImage* image = XGetImage(display, root, r->x, r->y, (unsigned)r->w, (unsigned)r->h,
                                      AllPlanes, ZPixmap);
            double taken = now();
            if (image == NULL) {
                continue;
            }
            uint64_t hash = hash_image(image);
            XDestroyImage(image);
            if (r->seen && hash != r->hash) {
                printf("%s %.6f\n", r->name, taken);
            }
            r->hash = hash;
            r->seen = 1;
        }
        fflush(stdout);
        next += (double)interval / 1000.0;
        double wait = next - now();
        if (wait > 0) {
            struct timespec pause = {(time_t)wait, (long)((wait - (time_t)wait) * 1e9)};
            nanosleep(&pause, NULL);
        }
    }
    printf("end %.6f\n", now());
    XCloseDisplay(display);
    return 0;
}
