#include "rtsp_server.h"

#include <gst/gst.h>
#include <gst/rtsp-server/rtsp-server.h>

#include <cstdio>
#include <string>

#include "SarvikFfmpeg.h"
#include "command_server.h"
#include "stream_service.h"
#include "video_encoder.h"
#include "video_picture.h"

namespace vcam {

namespace {

constexpr guint kStopPollMs = 100;
constexpr int kDrainMs = 500;
constexpr int kDefaultFps = 25;
constexpr int kMaxFeeds = 8;  // each client runs an encoder of its own
constexpr const char *kLaunch =
    "( appsrc name=src format=time ! h264parse ! rtph264pay name=pay0 pt=96 config-interval=1 )";

struct Mount {
    RtspServer::Impl *owner;
    VideoKind kind;
};

// The stream of one RTSP client: its own picture and encoder, time stamps from its first frame on.
struct MediaFeed {
    MediaFeed(std::atomic<int> &live, const Options &opt, VideoKind kind, int width, int height)
        : liveFeeds(live), picture(opt, kind, width, height) {
        ++liveFeeds;
    }
    ~MediaFeed() { --liveFeeds; }
    std::atomic<int> &liveFeeds;
    RtspServer::Impl *owner = nullptr;
    VideoPicture picture;
    VideoEncoder encoder;
    int fps = kDefaultFps;
    int64_t frames = 0;
    int64_t firstMs = -1;
};

}  // namespace

struct RtspServer::Impl {
    Impl(const Options &o, CameraState &s, int64_t start) : opt(o), state(s), startMs(start) {}
    const Options &opt;
    CameraState &state;
    const int64_t startMs;
    std::atomic<bool> stopping{false};
    std::atomic<int> liveFeeds{0};
    GMainContext *context = nullptr;
    GstRTSPServer *server = nullptr;
    guint serverSource = 0;
    Mount mounts[2] = {};
};

namespace {

void push_next(GstElement *appsrc, guint, gpointer data) {
    auto *feed = static_cast<MediaFeed *>(data);
    RtspServer::Impl &impl = *feed->owner;
    if (feed->firstMs < 0) feed->firstMs = now_ms();
    GstFlowReturn flow = GST_FLOW_OK;
    if (!sleep_until_ms(feed->firstMs + feed->frames * 1000 / feed->fps, impl.stopping)) {
        g_signal_emit_by_name(appsrc, "end-of-stream", &flow);
        return;
    }
    const uint8_t *au = nullptr;
    int len = 0;
    const int rc = feed->encoder.encode(
        feed->picture.render(now_ms() - impl.startMs, impl.state.shutter_closed()), &au, &len);
    if (rc < 0) {
        std::fprintf(stderr, "sarvik-vcam: rtsp encoder failed: %s\n", Ffmpeg_ErrorText(rc));
        g_signal_emit_by_name(appsrc, "end-of-stream", &flow);
        return;
    }
    const int64_t n = feed->frames++;
    if (rc != 0) return;  // held back; the next request asks again
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, static_cast<gsize>(len), nullptr);
    gst_buffer_fill(buffer, 0, au, static_cast<gsize>(len));
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(static_cast<guint64>(n), GST_SECOND, feed->fps);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(1, GST_SECOND, feed->fps);
    g_signal_emit_by_name(appsrc, "push-buffer", buffer, &flow);
    gst_buffer_unref(buffer);
}

void free_feed(gpointer data) {
    delete static_cast<MediaFeed *>(data);
}

void configure_media(GstRTSPMediaFactory *, GstRTSPMedia *media, gpointer data) {
    const Mount &mount = *static_cast<Mount *>(data);
    RtspServer::Impl &impl = *mount.owner;
    const int width = even_side(video_width(impl.opt));
    const int height = even_side(video_height(impl.opt));
    GstElement *pipeline = gst_rtsp_media_get_element(media);
    GstElement *appsrc = gst_bin_get_by_name_recurse_up(GST_BIN(pipeline), "src");
    int rc = SFF_E_ARG;
    if (!video_size_ok(width, height)) {
        std::fprintf(stderr, "sarvik-vcam: rtsp: video size %dx%d out of range\n", width, height);
    } else if (impl.liveFeeds >= kMaxFeeds) {
        std::fprintf(stderr, "sarvik-vcam: rtsp: %d clients already, stream refused\n", kMaxFeeds);
    } else {
        auto *feed = new MediaFeed(impl.liveFeeds, impl.opt, mount.kind, width, height);
        feed->owner = &impl;
        feed->fps = impl.opt.fps > 0 ? impl.opt.fps : kDefaultFps;
        rc = feed->encoder.open(width, height, feed->fps);
        // The media owns the feed from here on; it outlives the pipeline's streaming thread.
        g_object_set_data_full(G_OBJECT(media), "vcam-feed", feed, free_feed);
        if (rc == 0) {
            GstCaps *caps = gst_caps_new_simple("video/x-h264", "stream-format", G_TYPE_STRING, "byte-stream",
                                                "alignment", G_TYPE_STRING, "au", "width", G_TYPE_INT, width,
                                                "height", G_TYPE_INT, height, "framerate", GST_TYPE_FRACTION,
                                                feed->fps, 1, nullptr);
            g_object_set(appsrc, "caps", caps, nullptr);
            gst_caps_unref(caps);
            g_signal_connect(appsrc, "need-data", G_CALLBACK(push_next), feed);
        } else {
            std::fprintf(stderr, "sarvik-vcam: rtsp encoder failed: %s\n", Ffmpeg_ErrorText(rc));
        }
    }
    if (rc != 0) {
        GstFlowReturn flow = GST_FLOW_OK;
        g_signal_emit_by_name(appsrc, "end-of-stream", &flow);
    }
    gst_object_unref(appsrc);
    gst_object_unref(pipeline);
}

GstRTSPFilterResult remove_client(GstRTSPServer *, GstRTSPClient *, gpointer) {
    return GST_RTSP_FILTER_REMOVE;
}

struct StopCheck {
    const std::atomic<bool> *stop;
    int64_t deadlineMs;
    GMainLoop *loop;
};

gboolean quit_when_stopped(gpointer data) {
    auto *c = static_cast<StopCheck *>(data);
    if (!*c->stop && now_ms() < c->deadlineMs) return G_SOURCE_CONTINUE;
    g_main_loop_quit(c->loop);
    return G_SOURCE_REMOVE;
}

}  // namespace

RtspServer::RtspServer(const Options &opt, CameraState &state, int64_t startMs)
    : impl_(std::make_unique<Impl>(opt, state, startMs)) {}

RtspServer::~RtspServer() {
    Impl &m = *impl_;
    if (m.server) {
        GSource *source =
            m.serverSource ? g_main_context_find_source_by_id(m.context, m.serverSource) : nullptr;
        if (source) g_source_destroy(source);
        g_object_unref(m.server);
    }
    if (m.context) g_main_context_unref(m.context);
}

bool RtspServer::open() {
    Impl &m = *impl_;
    GError *error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        std::fprintf(stderr, "sarvik-vcam: rtsp: GStreamer unavailable: %s\n", error ? error->message : "?");
        if (error) g_error_free(error);
        return false;
    }
    for (const char *name : {"appsrc", "h264parse", "rtph264pay"}) {
        GstElementFactory *f = gst_element_factory_find(name);
        if (!f) {
            std::fprintf(stderr, "sarvik-vcam: rtsp: GStreamer element %s missing\n", name);
            return false;
        }
        gst_object_unref(f);
    }
    m.context = g_main_context_new();
    m.server = gst_rtsp_server_new();
    gst_rtsp_server_set_address(m.server, m.opt.ip.c_str());
    const std::string service = std::to_string(m.opt.video.rtspPort);
    gst_rtsp_server_set_service(m.server, service.c_str());
    GstRTSPMountPoints *mounts = gst_rtsp_server_get_mount_points(m.server);
    const char *paths[2] = {"/video", "/mixed"};
    const VideoKind kinds[2] = {VideoKind::Thermal, VideoKind::Mixed};
    for (int i = 0; i < 2; ++i) {
        m.mounts[i] = Mount{&m, kinds[i]};
        GstRTSPMediaFactory *factory = gst_rtsp_media_factory_new();
        gst_rtsp_media_factory_set_launch(factory, kLaunch);
        // RTP rides on the RTSP connection: nothing is ever sent to a port the client names.
        gst_rtsp_media_factory_set_protocols(factory, GST_RTSP_LOWER_TRANS_TCP);
        g_signal_connect(factory, "media-configure", G_CALLBACK(configure_media), &m.mounts[i]);
        gst_rtsp_mount_points_add_factory(mounts, paths[i], factory);
    }
    g_object_unref(mounts);
    m.serverSource = gst_rtsp_server_attach(m.server, m.context);
    if (m.serverSource == 0) {
        std::fprintf(stderr, "sarvik-vcam: cannot listen on %s:%u (rtsp)\n", m.opt.ip.c_str(),
                     m.opt.video.rtspPort);
        return false;
    }
    return true;
}

void RtspServer::run(const std::atomic<bool> &stop, int64_t deadlineMs) {
    Impl &m = *impl_;
    if (!m.server) return;
    g_main_context_push_thread_default(m.context);
    GMainLoop *loop = g_main_loop_new(m.context, FALSE);
    StopCheck check{&stop, deadlineMs, loop};
    GSource *timer = g_timeout_source_new(kStopPollMs);
    g_source_set_callback(timer, quit_when_stopped, &check, nullptr);
    g_source_attach(timer, m.context);
    g_main_loop_run(loop);
    g_source_destroy(timer);
    g_source_unref(timer);
    g_main_loop_unref(loop);
    // Clients are closed and their pipelines stopped before the server goes.
    m.stopping = true;
    gst_rtsp_server_client_filter(m.server, remove_client, nullptr);
    for (const int64_t until = now_ms() + kDrainMs; now_ms() < until;)
        if (!g_main_context_iteration(m.context, FALSE)) g_usleep(10000);
    g_main_context_pop_thread_default(m.context);
}

}  // namespace vcam

// GLib and GStreamer keep process-wide allocations (type system, thread pools, registry) until the
// process ends; the leak checker of sanitizer builds is told so, quietly.
extern "C" __attribute__((visibility("default"))) const char *__lsan_default_options() {
    return "print_suppressions=0";
}
extern "C" __attribute__((visibility("default"))) const char *__lsan_default_suppressions() {
    return "leak:libglib-2.0.so\nleak:libgobject-2.0.so\nleak:libgstreamer-1.0.so\nleak:libgstrtspserver-1.0."
           "so\n";
}
