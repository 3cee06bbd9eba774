/* The live temperature pipeline without the desktop tool: logs in to a camera, previews it for a few
 * seconds printing frames per second and the whole-frame maximum, average and minimum, records a stream
 * file, fetches a radiometric snapshot, opens both again with the playback functions and writes one
 * rendered frame as a PNG. Written in C against the public header only.
 *
 * Usage: sarvik-preview-demo [IP [OUTPUT_DIR [SECONDS]]]   (defaults 127.0.0.2, demo-out, 3) */
#include <pthread.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SarvikSDK.h"
#include "demo_util.h"

/* What the callback leaves for the main thread. The callback runs on the SDK's preview thread and only
 * copies: it must return quickly. */
typedef struct Live {
    atomic_long frames;
    pthread_mutex_t lock;
    _DataFrameResult result; /* newest frame's whole-frame result */
    int wantImage;           /* set by main: copy the next rendered frame into image */
    uint32_t *image;         /* width x height BGRA, allocated by main */
    int width, height;
} Live;

static void on_frame(int status, _DataFrame *frame, void *user) {
    Live *live = (Live *)user;
    if (status != 0 || !frame) {
        printf("  callback status %d\n", status);
        return;
    }
    atomic_fetch_add(&live->frames, 1);
    pthread_mutex_lock(&live->lock);
    memcpy(&live->result, frame->extra + SARVIK_FRAME_RESULT_OFFSET, sizeof live->result);
    if (live->wantImage && frame->header->width == live->width && frame->header->height == live->height) {
        memcpy(live->image, frame->image, (size_t)live->width * (size_t)live->height * 4);
        live->wantImage = 0;
    }
    pthread_mutex_unlock(&live->lock);
}

/* Opens a file with the playback functions and prints what they see in it. */
static int show_file(const char *what, const char *path, int type) {
    void *pb = SarvikPlayback_Create();
    if (!pb) return -1;
    int r = SarvikPlayback_OpenFile(pb, path, type);
    FrameCover cover;
    memset(&cover, 0, sizeof cover);
    if (r == 0) r = SarvikPlayback_ReadCover(pb, &cover);
    _DataFrame frame;
    if (r == 0) r = SarvikPlayback_ReadFrame(pb, 0, &frame);
    if (r == 0) {
        printf("  %-9s %s: %dx%d, ", what, path, cover.info->width, cover.info->height);
        if (type == SARVIK_PLAYBACK_STREAM)
            printf("%d frames, cover %d bytes\n", cover.info->frameCount, cover.imageLength);
        else
            printf("1 frame, image %d bytes before the temperature tail\n", cover.imageLength);
    } else {
        fprintf(stderr, "  %s %s: playback failed: %d\n", what, path, r);
    }
    SarvikPlayback_Free(&pb);
    return r;
}

int main(int argc, char **argv) {
    const char *ip = argc > 1 ? argv[1] : "127.0.0.2";
    const char *dir = argc > 2 ? argv[2] : "demo-out";
    const double seconds = argc > 3 ? atof(argv[3]) : 3.0;
    char streamPath[1024], snapPath[1024], pngPath[1024];
    snprintf(streamPath, sizeof streamPath, "%s/recording.stream", dir);
    snprintf(snapPath, sizeof snapPath, "%s/snapshot.jpg", dir);
    snprintf(pngPath, sizeof pngPath, "%s/preview.png", dir);

    _CameraBasicInfo info;
    const int user = demo_start(ip, dir, &info);
    if (user < 0) return 1;
    int ret;
    printf("logged in to %s: camera %.32s, %dx%d@%dHz\n", ip, info.cameraId, info.dataWidth, info.dataHeight,
           info.dataFps);

    Live live;
    memset(&live, 0, sizeof live);
    atomic_init(&live.frames, 0);
    pthread_mutex_init(&live.lock, NULL);
    live.width = info.dataWidth;
    live.height = info.dataHeight;
    live.image = malloc((size_t)live.width * (size_t)live.height * 4);
    PreviewParam param;
    memset(&param, 0, sizeof param);
    param.previewKind = SARVIK_PREVIEW_TEMPERATURE;
    param.callback = on_frame;
    param.user = &live;
    const int preview = live.image ? Sarvik_StartPreview(user, &param) : SARVIK_ERR_NO_MEMORY;
    int failed = preview < 0;
    if (failed) fprintf(stderr, "Sarvik_StartPreview failed: %d\n", preview);

    /* Live: once a second, the frame rate and the newest frame's whole-frame result. */
    long total = 0;
    const double start = now_s();
    for (int s = 1; !failed && s <= (int)(seconds + 0.5); ++s) {
        const long before = atomic_load(&live.frames);
        sleep_s(1.0);
        const long n = atomic_load(&live.frames) - before;
        pthread_mutex_lock(&live.lock);
        const _DataFrameResult r = live.result;
        pthread_mutex_unlock(&live.lock);
        printf("  %ds: %3ld frames/s   max %6.2f C at (%d,%d)   avg %6.2f C   min %6.2f C at (%d,%d)\n", s, n,
               r.maxTemp, r.maxX, r.maxY, r.avgTemp, r.minTemp, r.minX, r.minY);
        total += n;
    }
    const double elapsed = now_s() - start;
    if (!failed) {
        printf("preview: %ld frames in %.1f s, %.1f frames/s\n", total, elapsed, (double)total / elapsed);
        if (total == 0) {
            fprintf(stderr, "no frame arrived\n");
            failed = 1;
        }
    }

    /* A stream file of about one second, then a snapshot with its temperature tail. */
    if (!failed) {
        ret = Sarvik_BeginSave(preview, streamPath, SARVIK_SAVE_STREAM);
        if (ret == 0) {
            sleep_s(1.0);
            ret = Sarvik_EndSave(preview, SARVIK_SAVE_STREAM);
        }
        if (ret != 0) fprintf(stderr, "stream recording failed: %d\n", ret);
        failed |= ret != 0;
    }
    if (!failed) {
        ret = Sarvik_SaveFrame(user, snapPath, 1);
        if (ret != 0) fprintf(stderr, "Sarvik_SaveFrame failed: %d\n", ret);
        failed |= ret != 0;
    }
    /* One rendered frame for the PNG: asked for, then taken by the next callback (bounded wait). */
    if (!failed) {
        pthread_mutex_lock(&live.lock);
        live.wantImage = 1;
        pthread_mutex_unlock(&live.lock);
        int pending = 1;
        for (int i = 0; i < 200 && pending; ++i) {
            sleep_s(0.01);
            pthread_mutex_lock(&live.lock);
            pending = live.wantImage;
            pthread_mutex_unlock(&live.lock);
        }
        if (pending || write_png(pngPath, live.image, live.width, live.height) != 0) {
            fprintf(stderr, "no PNG written\n");
            failed = 1;
        }
    }
    if (preview >= 0) Sarvik_StopPreview(preview);

    if (!failed) {
        printf("files:\n");
        failed |= show_file("stream", streamPath, SARVIK_PLAYBACK_STREAM) != 0;
        failed |= show_file("snapshot", snapPath, SARVIK_PLAYBACK_SNAPSHOT) != 0;
        printf("  %-9s %s: %dx%d rendered frame\n", "picture", pngPath, live.width, live.height);
        printf("output in %s\n", dir);
    }
    Sarvik_Logout(user);
    Sarvik_FreeSDK();
    pthread_mutex_destroy(&live.lock);
    free(live.image);
    return failed ? 1 : 0;
}
