/* The camera's compressed outputs without the desktop tool: logs in to a camera, previews its H.264 video
 * stream and then its mixed stream for a few seconds each, printing pictures per second, records each to an
 * MP4 file for a few seconds and writes one decoded picture of each as a PNG. Written in C against the public
 * header only.
 *
 * Usage: sarvik-video-demo [IP [OUTPUT_DIR [SECONDS]]]   (defaults 127.0.0.2, demo-out, 2) */
#include <pthread.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SarvikSDK.h"
#include "demo_util.h"

/* What the callback leaves for the main thread; the callback only copies and returns. */
typedef struct Pictures {
    atomic_long count;
    pthread_mutex_t lock;
    int wantPicture;   /* set by main: copy the next picture into picture */
    uint32_t *picture; /* width x height BGRA, allocated by main */
    int width, height;
} Pictures;

static void on_picture(int status, _DataFrame *frame, void *user) {
    Pictures *p = (Pictures *)user;
    if (status != 0 || !frame) {
        printf("  callback status %d\n", status);
        return;
    }
    atomic_fetch_add(&p->count, 1);
    pthread_mutex_lock(&p->lock);
    if (p->wantPicture) {
        memcpy(p->picture, frame->image, (size_t)p->width * (size_t)p->height * 4);
        p->wantPicture = 0;
    }
    pthread_mutex_unlock(&p->lock);
}

/* One preview of kind (video or mixed): live rate, an MP4 of a few seconds, a PNG. 0 or 1. */
static int show_stream(int user, const _CameraBasicInfo *info, uint8_t kind, const char *name, const char *dir,
                       double seconds) {
    char mp4[1024], png[1024];
    snprintf(mp4, sizeof mp4, "%s/%s.mp4", dir, name);
    snprintf(png, sizeof png, "%s/%s.png", dir, name);
    Pictures p;
    memset(&p, 0, sizeof p);
    atomic_init(&p.count, 0);
    pthread_mutex_init(&p.lock, NULL);
    p.width = info->videoWidth;
    p.height = info->videoHeight;
    p.picture = malloc((size_t)p.width * (size_t)p.height * 4);
    PreviewParam param;
    memset(&param, 0, sizeof param);
    param.previewKind = kind;
    param.callback = on_picture;
    param.user = &p;
    const int preview = p.picture ? Sarvik_StartPreview(user, &param) : SARVIK_ERR_NO_MEMORY;
    int failed = preview < 0;
    if (failed) fprintf(stderr, "%s preview failed: %d\n", name, preview);

    if (!failed) {
        const double start = now_s();
        sleep_s(seconds);
        const long n = atomic_load(&p.count);
        printf("%s preview: %dx%d H.264, %ld pictures in %.1f s, %.1f pictures/s\n", name, p.width, p.height, n,
               now_s() - start, (double)n / (now_s() - start));
        failed = n == 0;
    }
    if (!failed) {
        /* A recording starts at the stream's next key frame; the camera sends one every two seconds. */
        int r = Sarvik_BeginSave(preview, mp4, SARVIK_SAVE_VIDEO);
        if (r == 0) {
            sleep_s(2.5);
            r = Sarvik_EndSave(preview, SARVIK_SAVE_VIDEO);
        }
        if (r != 0) fprintf(stderr, "%s recording failed: %d\n", name, r);
        failed = r != 0;
    }
    if (!failed) {
        pthread_mutex_lock(&p.lock);
        p.wantPicture = 1;
        pthread_mutex_unlock(&p.lock);
        int pending = 1;
        for (int i = 0; i < 200 && pending; ++i) {
            sleep_s(0.01);
            pthread_mutex_lock(&p.lock);
            pending = p.wantPicture;
            pthread_mutex_unlock(&p.lock);
        }
        failed = pending || write_png(png, p.picture, p.width, p.height) != 0;
        if (failed) fprintf(stderr, "%s: no PNG written\n", name);
    }
    if (preview >= 0) Sarvik_StopPreview(preview);
    if (!failed) printf("  recording %s, picture %s\n", mp4, png);
    pthread_mutex_destroy(&p.lock);
    free(p.picture);
    return failed;
}

int main(int argc, char **argv) {
    const char *ip = argc > 1 ? argv[1] : "127.0.0.2";
    const char *dir = argc > 2 ? argv[2] : "demo-out";
    const double seconds = argc > 3 ? atof(argv[3]) : 2.0;
    _CameraBasicInfo info;
    const int user = demo_start(ip, dir, &info);
    if (user < 0) return 1;
    int failed = show_stream(user, &info, SARVIK_PREVIEW_VIDEO, "video", dir, seconds);
    if (!failed) failed = show_stream(user, &info, SARVIK_PREVIEW_MIXED, "mixed", dir, seconds);
    Sarvik_Logout(user);
    Sarvik_FreeSDK();
    return failed ? 1 : 0;
}
