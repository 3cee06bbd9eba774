/* RTSP source for the tests: serves a synthetic 320 x 240 H.264 stream at 25 Hz on one loopback address.
 *
 *   sarvik_test_rtsp_source ADDRESS PORT [LIFETIME_S] [SHORT_PICTURES]
 *
 * Mount points: /live (500 pictures) and /short (SHORT_PICTURES pictures, default 30, then the stream
 * ends), each client getting its own pipeline. Prints "READY" once listening, exits by itself after
 * LIFETIME_S seconds (default 20, at most 120). Exit codes: 77 a GStreamer element is missing, 2 the port
 * cannot be bound, 1 bad arguments. */
#include <gst/gst.h>
#include <gst/rtsp-server/rtsp-server.h>

#include <stdio.h>
#include <stdlib.h>

static gboolean quit_loop(gpointer loop) {
    g_main_loop_quit((GMainLoop *)loop);
    return G_SOURCE_REMOVE;
}

static void mount(GstRTSPMountPoints *mounts, const char *path, int pictures) {
    char launch[512];
    snprintf(launch, sizeof launch,
             "( videotestsrc num-buffers=%d is-live=true pattern=ball "
             "! video/x-raw,width=320,height=240,framerate=25/1 "
             "! x264enc tune=zerolatency speed-preset=ultrafast key-int-max=25 "
             "! rtph264pay name=pay0 pt=96 config-interval=1 )",
             pictures);
    GstRTSPMediaFactory *factory = gst_rtsp_media_factory_new();
    gst_rtsp_media_factory_set_launch(factory, launch);
    gst_rtsp_mount_points_add_factory(mounts, path, factory);
}

int main(int argc, char **argv) {
    gst_init(&argc, &argv);
    if (argc < 3) {
        fprintf(stderr, "usage: %s ADDRESS PORT [LIFETIME_S] [SHORT_PICTURES]\n", argv[0]);
        return 1;
    }
    int lifetime = argc > 3 ? atoi(argv[3]) : 20;
    if (lifetime <= 0 || lifetime > 120) lifetime = 20;
    int shortPictures = argc > 4 ? atoi(argv[4]) : 30;
    if (shortPictures <= 0 || shortPictures > 500) shortPictures = 30;

    static const char *needed[] = {"videotestsrc", "x264enc", "rtph264pay"};
    for (size_t i = 0; i < sizeof needed / sizeof needed[0]; ++i) {
        GstElementFactory *f = gst_element_factory_find(needed[i]);
        if (!f) {
            printf("MISSING %s\n", needed[i]);
            fflush(stdout);
            return 77;
        }
        gst_object_unref(f);
    }

    GMainLoop *loop = g_main_loop_new(NULL, FALSE);
    GstRTSPServer *server = gst_rtsp_server_new();
    gst_rtsp_server_set_address(server, argv[1]);
    gst_rtsp_server_set_service(server, argv[2]);
    GstRTSPMountPoints *mounts = gst_rtsp_server_get_mount_points(server);
    mount(mounts, "/live", 500);
    mount(mounts, "/short", shortPictures);
    g_object_unref(mounts);
    if (gst_rtsp_server_attach(server, NULL) == 0) {
        fprintf(stderr, "cannot listen on %s:%s\n", argv[1], argv[2]);
        return 2;
    }
    g_timeout_add_seconds((guint)lifetime, quit_loop, loop);
    printf("READY\n");
    fflush(stdout);
    g_main_loop_run(loop);
    return 0;
}
