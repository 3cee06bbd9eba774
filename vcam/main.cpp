// sarvik-vcam: a virtual thermal camera for development and tests without hardware.
#include <csignal>
#include <cstdio>

#include <atomic>
#include <thread>
#include <vector>

#include "camera_state.h"
#include "command_server.h"
#include "transfer_service.h"
#include "discovery_service.h"
#include "snapshot_service.h"
#include "stream_service.h"
#include "udp_stream_service.h"
#include "vcam_options.h"
#include "rtsp_server.h"
#include "video_picture.h"
#include "video_service.h"
#include "SarvikFfmpeg.h"

namespace {
std::atomic<bool> g_stop{false};
void on_signal(int) { g_stop = true; }
}  // namespace

int main(int argc, char **argv) {
    vcam::Options opt;
    int exitCode = 0;
    if (!vcam::parse_options(argc, argv, &opt, &exitCode)) return exitCode;
    if (!opt.video.dumpVideo.empty() || !opt.video.dumpMixed.empty())
        return vcam::dump_video_pictures(opt) ? 0 : 1;
    // The codec layer stays initialised for the camera's life; the video ports encode with it.
    if (Ffmpeg_Init() != 0) {
        std::fprintf(stderr, "sarvik-vcam: codec layer failed to start\n");
        return 1;
    }
    struct CodecRelease {
        ~CodecRelease() { Ffmpeg_Free(); }
    } codecRelease;

    std::signal(SIGINT, on_signal);
    std::signal(SIGTERM, on_signal);
    std::signal(SIGPIPE, SIG_IGN);

    const int64_t deadlineMs = vcam::now_ms() + static_cast<int64_t>(opt.lifetimeS) * 1000;
    vcam::CameraState state(opt);
    vcam::CommandServer commands(opt, state);
    // Opened before the command port, so a camera that accepts connections already hears discovery.
    vcam::DiscoveryService discovery(opt, state);
    if (opt.discovery.enabled && !discovery.open()) return 1;
    // Stream and snapshot ports too, so that a camera whose command port answers streams at once.
    const int64_t startMs = vcam::now_ms();
    vcam::StreamService stream(opt, state, startMs);
    vcam::UdpStreamService udpStream(opt, state, startMs);
    vcam::SnapshotService snapshots(opt, state, startMs);
    if (!stream.open() || !udpStream.open() || !snapshots.open()) return 1;
    vcam::VideoService video(opt, state, startMs, vcam::VideoKind::Thermal, vcam::kVideoPort);
    vcam::VideoService mixed(opt, state, startMs, vcam::VideoKind::Mixed, vcam::kMixedPort);
    if (!video.open() || !mixed.open()) return 1;
    vcam::RtspServer rtsp(opt, state, startMs);
    if (opt.video.rtspPort && !rtsp.open()) return 1;
    if (!commands.open()) return 1;
    vcam::TransferService transfers(opt, commands, g_stop);  // files and memory blocks on the command port

    // Further ports of the camera run beside the command port, each on its own thread, until the same
    // stop flag or deadline ends them. Each service registers its command-port handlers before serving.
    std::vector<std::thread> services;
    if (opt.discovery.enabled) services.emplace_back([&] { discovery.run(g_stop, deadlineMs); });
    services.emplace_back([&] { stream.run(g_stop, deadlineMs); });
    services.emplace_back([&] { udpStream.run(g_stop, deadlineMs); });
    services.emplace_back([&] { snapshots.run(g_stop, deadlineMs); });
    services.emplace_back([&] { video.run(g_stop, deadlineMs); });
    services.emplace_back([&] { mixed.run(g_stop, deadlineMs); });
    if (opt.video.rtspPort) services.emplace_back([&] { rtsp.run(g_stop, deadlineMs); });

    std::printf("sarvik-vcam: %s ready, camera %s, %ux%u@%uHz\n", opt.ip.c_str(), opt.cameraId.c_str(), opt.width,
                opt.height, opt.fps);
    std::fflush(stdout);

    commands.run(g_stop, deadlineMs);
    g_stop = true;
    for (std::thread &t : services) t.join();
    std::printf("sarvik-vcam: %s stopped\n", opt.ip.c_str());
    return 0;
}
