/* A stand-in for libXinerama.so.1 that reports two heads side by side on one
 * wide Xvfb screen: 1024 x 768 at 0,0 and 800 x 600 at 1024,0. Wine asks RandR
 * first and this library only when RandR is off, so the two-monitor test bed
 * (winebed.sh setup <build> dual) starts Xvfb without RandR and puts this first
 * on LD_LIBRARY_PATH. Xvfb's own Xinerama would place two screens both at 0,0. */
#include <stdlib.h>

typedef struct {
    int screen_number;
    short x_org, y_org, width, height;
} XineramaScreenInfo;

int XineramaQueryExtension(void *display, int *event_base, int *error_base) {
    (void)display;
    *event_base = *error_base = 0;
    return 1;
}

int XineramaQueryVersion(void *display, int *major, int *minor) {
    (void)display;
    *major = 1;
    *minor = 1;
    return 1;
}

int XineramaIsActive(void *display) {
    (void)display;
    return 1;
}

/* The caller frees the list with XFree, which is free(). */
XineramaScreenInfo *XineramaQueryScreens(void *display, int *number) {
    static const XineramaScreenInfo heads[2] = {{0, 0, 0, 1024, 768}, {1, 1024, 0, 800, 600}};
    XineramaScreenInfo *list = malloc(sizeof heads);
    (void)display;
    if (!list) {
        *number = 0;
        return NULL;
    }
    list[0] = heads[0];
    list[1] = heads[1];
    *number = 2;
    return list;
}
