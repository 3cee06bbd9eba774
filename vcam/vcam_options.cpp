#include "vcam_options.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SarvikSDK.h"

namespace vcam {

namespace {

const char kUsage[] =
    "usage: sarvik-vcam --ip A.B.C.D [options]\n"
    "\n"
    "A virtual radiometric thermal camera: the camera side of the command channel, the temperature stream\n"
    "and snapshots.\n"
    "\n"
    "  --ip ADDR              IPv4 address to bind (one address per camera, e.g. 127.0.0.2)\n"
    "  --camera-id TEXT       camera identifier (default VCAM0001)\n"
    "  --name TEXT            camera name\n"
    "  --model TEXT           model text (cameraType; default R384 or R640 by size)\n"
    "  --software-id TEXT     firmware version text (softwareId); \"GS\" or \"GW\" in it: motorised lens\n"
    "  --hardware-id TEXT     hardware version text\n"
    "  --fpa-id TEXT          detector identifier\n"
    "  --size WxH             temperature image size (default 640x512)\n"
    "  --second-size WxH      second image plane reported in the basic info (default 0x0)\n"
    "  --fps N                frame rate in Hz (default 25); 0: the TCP stream sends as fast as the client\n"
    "                         reads, still ending with --lifetime (the UDP variant then sends 1 frame/s)\n"
    "  --command-port N       command port (default 55502)\n"
    "  --lifetime S           stop after S seconds (default 600)\n"
    "  --max-connections N    stop after N command connections\n"
    "  --request-log FILE     append one line \"<type> <length>\" per request received\n"
    "  --state FILE           keep records, clock and lens gear in FILE, so writes survive a restart\n"
    "  --event-log FILE       append one line per control, serial-port write and record write\n"
    "  --restart-ms MS        time a restart or factory reset keeps the camera away (default 1000)\n"
    "  --transfer-log FILE    append one line per file or memory transfer:\n"
    "                         \"<kind> type <t> size <announced> status <s> moved <bytes>\"\n"
    "\n"
    "Discovery (UDP 55501; answers go only to this machine's own addresses, or to the subnets of a private\n"
    "network namespace):\n"
    "  --discovery            answer discovery requests and address changes\n"
    "  --discovery-delay MS   answer discovery requests MS milliseconds late\n"
    "  --discovery-stray      send a datagram of another type before each discovery answer\n"
    "  --discovery-route N    answer only requests for answer route N (0 or 1)\n"
    "  --discovery-ack-id TEXT  name TEXT instead of the camera's own id in address-change answers\n"
    "\n"
    "Temperature stream (TCP; the UDP variant answers open requests on the same port number) and snapshots:\n"
    "  --stream-port N        temperature stream port (default 55503)\n"
    "  --snapshot-port N      snapshot port (default 55505)\n"
    "  --stream-encoding raw|delta  samples raw or delta-run encoded (default raw)\n"
    "  --slope N              temperature scale divisor (default 100; 10 or less shows a 450 C hot object)\n"
    "  --offset N             temperature offset in C (default 0)\n"
    "  --seed N               seed of the scene's noise and column stripes (default 1)\n"
    "  --data-kind N          data kind of the stream's frames (default: 2 for software ids beginning\n"
    "                         \"R1280H\", else 0); data kind 2 adds column stripes\n"
    "  --scene-loop N         render N frames (1..250) of the scene at start-up and send them in turn\n"
    "                         on the TCP stream instead of rendering each frame: a camera that costs\n"
    "                         little more than its sends, for many cameras on few cores. The frames\n"
    "                         still carry their send time, and their number in the stream (u32 from 0\n"
    "                         per connection) in header bytes 56 to 59. Holds N x 2 x width x height\n"
    "                         bytes; a closed shutter is still rendered live\n"
    "\n"
    "Compressed video (H.264 on TCP 55506, the thermal picture in an iron palette over 15..45 C; the mixed\n"
    "stream on TCP 55507, the same picture blended with a synthetic visible scene); the size is the second\n"
    "size, or the temperature size when that is 0x0 (an odd width or height is cropped to even), at --fps\n"
    "(0: as fast as the client reads; RTSP then runs at 25 Hz); each connection has an encoder of its own;\n"
    "every frame header carries its send time (i64, 100-ns ticks since 1970) in its bytes 8 to 15:\n"
    "  --still                freeze the scene: every video frame shows the same picture\n"
    "  --dump-video FILE      write the still video picture as raw BGRA (width x height x 4 bytes, rows top\n"
    "                         down) and exit without serving\n"
    "  --dump-mixed FILE      likewise for the mixed picture (both dumps may be given together)\n"
    "  --rtsp-port N          serve rtsp://IP:N/video and rtsp://IP:N/mixed (RTP over the RTSP connection)\n"
    "  --fault-video-drop N   close the first connection of each video port after N frames\n"
    "  --fault-video-resize WxH  second and later connections of each video port stream this size\n"
    "  --fault-video-oversize N  first connection: frame N (from 1) gets a header announcing more than\n"
    "                         3 x width x height + 17408 bytes, then the connection closes\n"
    "  --fault-video-undersize N first connection: frame N gets a header announcing 800 bytes, then the\n"
    "                         connection closes\n"
    "\n"
    "Faults, for testing a client's recovery:\n"
    "  --fault-delay MS       answer every request MS milliseconds late\n"
    "  --fault-split          send every answer in several TCP segments\n"
    "  --fault-silent         never answer\n"
    "  --fault-close          close the connection instead of answering\n"
    "  --fault-wrong-type     answer with the wrong message type\n"
    "  --fault-short          answer one byte short\n"
    "  --fault-refuse-transfer  refuse every file and memory transfer (negative status, no payload)\n"
    "  --fault-cut-transfer N   close a transfer's connection after N payload bytes\n"
    "  --fault-stall-transfer N stop a transfer's payload after N bytes, holding the connection open\n"
    "  --fault-stream-drop N    close every stream after N frames\n"
    "  --fault-stream-away S    after such a drop, refuse streams for S seconds\n"
    "  --fault-stream-stall N   stop every stream after N frames, holding the connection open\n"
    "  --fault-stream-malformed N  every Nth frame carries a broken delta-run payload\n"
    "  --fault-stream-slow N    send every frame in N pieces with pauses between\n"
    "  --help                 this text\n";

bool parse_size(const char *s, uint16_t *w, uint16_t *h) {
    unsigned a = 0, b = 0;
    if (std::sscanf(s, "%ux%u", &a, &b) != 2 || a > 65535 || b > 65535) return false;
    *w = static_cast<uint16_t>(a);
    *h = static_cast<uint16_t>(b);
    return true;
}

bool parse_int(const char *s, long lo, long hi, long *out) {
    char *end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (!end || *end || v < lo || v > hi) return false;
    *out = v;
    return true;
}

}  // namespace

bool parse_options(int argc, char **argv, Options *opt, int *exitCode) {
    *exitCode = 2;
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        auto value = [&](const char **out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        const char *v = nullptr;
        long n = 0;
        bool ok = true;
        if (!std::strcmp(a, "--help")) {
            std::fputs(kUsage, stdout);
            *exitCode = 0;
            return false;
        } else if (!std::strcmp(a, "--ip")) {
            ok = value(&v);
            if (ok) opt->ip = v;
        } else if (!std::strcmp(a, "--camera-id")) {
            ok = value(&v);
            if (ok) opt->cameraId = v;
        } else if (!std::strcmp(a, "--name")) {
            ok = value(&v);
            if (ok) opt->cameraName = v;
        } else if (!std::strcmp(a, "--model")) {
            ok = value(&v);
            if (ok) opt->model = v;
        } else if (!std::strcmp(a, "--software-id")) {
            ok = value(&v);
            if (ok) opt->softwareId = v;
        } else if (!std::strcmp(a, "--hardware-id")) {
            ok = value(&v);
            if (ok) opt->hardwareId = v;
        } else if (!std::strcmp(a, "--fpa-id")) {
            ok = value(&v);
            if (ok) opt->fpaId = v;
        } else if (!std::strcmp(a, "--size")) {
            ok = value(&v) && parse_size(v, &opt->width, &opt->height);
        } else if (!std::strcmp(a, "--second-size")) {
            ok = value(&v) && parse_size(v, &opt->secondWidth, &opt->secondHeight);
        } else if (!std::strcmp(a, "--fps")) {
            ok = value(&v) && parse_int(v, 0, 1000, &n);
            if (ok) opt->fps = static_cast<uint16_t>(n);
        } else if (!std::strcmp(a, "--command-port")) {
            ok = value(&v) && parse_int(v, 1, 65535, &n);
            if (ok) opt->commandPort = static_cast<uint16_t>(n);
        } else if (!std::strcmp(a, "--lifetime")) {
            ok = value(&v) && parse_int(v, 1, 86400, &n);
            if (ok) opt->lifetimeS = static_cast<int>(n);
        } else if (!std::strcmp(a, "--max-connections")) {
            ok = value(&v) && parse_int(v, 1, 100000000, &n);
            if (ok) opt->maxConnections = static_cast<int>(n);
        } else if (!std::strcmp(a, "--request-log")) {
            ok = value(&v);
            if (ok) opt->requestLog = v;
        } else if (!std::strcmp(a, "--state")) {
            ok = value(&v);
            if (ok) opt->stateFile = v;
        } else if (!std::strcmp(a, "--event-log")) {
            ok = value(&v);
            if (ok) opt->eventLog = v;
        } else if (!std::strcmp(a, "--restart-ms")) {
            ok = value(&v) && parse_int(v, 0, 60000, &n);
            if (ok) opt->restartMs = static_cast<int>(n);
        } else if (!std::strcmp(a, "--transfer-log")) {
            ok = value(&v);
            if (ok) opt->transferLog = v;
        } else if (!std::strcmp(a, "--fault-delay")) {
            ok = value(&v) && parse_int(v, 0, 60000, &n);
            if (ok) opt->faults.answerDelayMs = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-split")) {
            opt->faults.splitAnswers = true;
        } else if (!std::strcmp(a, "--fault-silent")) {
            opt->faults.silent = true;
        } else if (!std::strcmp(a, "--fault-close")) {
            opt->faults.closeWithoutAnswer = true;
        } else if (!std::strcmp(a, "--fault-wrong-type")) {
            opt->faults.wrongAnswerType = true;
        } else if (!std::strcmp(a, "--fault-short")) {
            opt->faults.shortAnswers = true;
        } else if (!std::strcmp(a, "--fault-refuse-transfer")) {
            opt->faults.refuseTransfer = true;
        } else if (!std::strcmp(a, "--fault-cut-transfer")) {
            ok = value(&v) && parse_int(v, 0, 2147483647, &n);
            if (ok) opt->faults.cutTransferBytes = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-stall-transfer")) {
            ok = value(&v) && parse_int(v, 0, 2147483647, &n);
            if (ok) opt->faults.stallTransferBytes = static_cast<int>(n);
        } else if (!std::strcmp(a, "--stream-port")) {
            ok = value(&v) && parse_int(v, 1, 65535, &n);
            if (ok) opt->stream.port = static_cast<uint16_t>(n);
        } else if (!std::strcmp(a, "--snapshot-port")) {
            ok = value(&v) && parse_int(v, 1, 65535, &n);
            if (ok) opt->stream.snapshotPort = static_cast<uint16_t>(n);
        } else if (!std::strcmp(a, "--stream-encoding")) {
            ok = value(&v) && (!std::strcmp(v, "raw") || !std::strcmp(v, "delta"));
            if (ok) opt->stream.delta = !std::strcmp(v, "delta");
        } else if (!std::strcmp(a, "--slope")) {
            ok = value(&v) && parse_int(v, 1, 65535, &n);
            if (ok) opt->stream.slope = static_cast<uint16_t>(n);
        } else if (!std::strcmp(a, "--offset")) {
            ok = value(&v) && parse_int(v, -32768, 32767, &n);
            if (ok) opt->stream.offset = static_cast<int16_t>(n);
        } else if (!std::strcmp(a, "--seed")) {
            ok = value(&v) && parse_int(v, 0, 4294967295L, &n);
            if (ok) opt->stream.seed = static_cast<uint32_t>(n);
        } else if (!std::strcmp(a, "--data-kind")) {
            ok = value(&v) && parse_int(v, 0, 255, &n);
            if (ok) opt->stream.dataKind = static_cast<int>(n);
        } else if (!std::strcmp(a, "--scene-loop")) {
            ok = value(&v) && parse_int(v, 1, 250, &n);
            if (ok) opt->stream.sceneLoop = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-stream-drop")) {
            ok = value(&v) && parse_int(v, 0, 2147483647, &n);
            if (ok) opt->stream.dropAfterFrames = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-stream-away")) {
            ok = value(&v) && parse_int(v, 0, 3600, &n);
            if (ok) opt->stream.awayAfterDropS = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-stream-stall")) {
            ok = value(&v) && parse_int(v, 0, 2147483647, &n);
            if (ok) opt->stream.stallAfterFrames = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-stream-malformed")) {
            ok = value(&v) && parse_int(v, 1, 2147483647, &n);
            if (ok) opt->stream.malformedEvery = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-stream-slow")) {
            ok = value(&v) && parse_int(v, 2, 4096, &n);
            if (ok) opt->stream.slowPieces = static_cast<int>(n);
        } else if (!std::strcmp(a, "--still")) {
            opt->video.still = true;
        } else if (!std::strcmp(a, "--dump-video")) {
            ok = value(&v);
            if (ok) opt->video.dumpVideo = v;
        } else if (!std::strcmp(a, "--dump-mixed")) {
            ok = value(&v);
            if (ok) opt->video.dumpMixed = v;
        } else if (!std::strcmp(a, "--rtsp-port")) {
            ok = value(&v) && parse_int(v, 1, 65535, &n);
            if (ok) opt->video.rtspPort = static_cast<uint16_t>(n);
        } else if (!std::strcmp(a, "--fault-video-drop")) {
            ok = value(&v) && parse_int(v, 0, 2147483647, &n);
            if (ok) opt->video.dropAfterFrames = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-video-resize")) {
            ok = value(&v) && parse_size(v, &opt->video.resizeWidth, &opt->video.resizeHeight) &&
                 opt->video.resizeWidth >= 16 && opt->video.resizeHeight >= 16 &&
                 opt->video.resizeWidth <= 4096 && opt->video.resizeHeight <= 4096;
        } else if (!std::strcmp(a, "--fault-video-oversize")) {
            ok = value(&v) && parse_int(v, 1, 2147483647, &n);
            if (ok) opt->video.oversizeAtFrame = static_cast<int>(n);
        } else if (!std::strcmp(a, "--fault-video-undersize")) {
            ok = value(&v) && parse_int(v, 1, 2147483647, &n);
            if (ok) opt->video.undersizeAtFrame = static_cast<int>(n);
        } else if (!std::strcmp(a, "--discovery")) {
            opt->discovery.enabled = true;
        } else if (!std::strcmp(a, "--discovery-delay")) {
            ok = value(&v) && parse_int(v, 0, 60000, &n);
            if (ok) opt->discovery.answerDelayMs = static_cast<int>(n);
        } else if (!std::strcmp(a, "--discovery-stray")) {
            opt->discovery.stray = true;
        } else if (!std::strcmp(a, "--discovery-route")) {
            ok = value(&v) && parse_int(v, 0, 1, &n);
            if (ok) opt->discovery.onlyRoute = static_cast<int>(n);
        } else if (!std::strcmp(a, "--discovery-ack-id")) {
            ok = value(&v);
            if (ok) opt->discovery.ackId = v;
        } else {
            std::fprintf(stderr, "sarvik-vcam: unknown option %s\n\n%s", a, kUsage);
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "sarvik-vcam: bad or missing value for %s\n", a);
            return false;
        }
    }
    // Model texts follow the detector class of the size; texts given on the command line win.
    const bool small = small_core(*opt);
    if (opt->model.empty()) opt->model = small ? "R384" : "R640";
    if (opt->softwareId.empty()) opt->softwareId = opt->model + "-V1.0.0";
    if (opt->fpaId.empty()) opt->fpaId = small ? "FPA-384-17UM" : "FPA-640-12UM";
    in_addr addr{};
    if (opt->ip.empty() || inet_pton(AF_INET, opt->ip.c_str(), &addr) != 1) {
        std::fprintf(stderr, "sarvik-vcam: --ip with an IPv4 address is required\n\n%s", kUsage);
        return false;
    }
    return true;
}

uint8_t data_kind(const Options &opt) {
    if (opt.stream.dataKind >= 0) return static_cast<uint8_t>(opt.stream.dataKind);
    return opt.softwareId.rfind("R1280H", 0) == 0 ? SARVIK_DATA_KIND_TEMPERATURE : SARVIK_DATA_KIND_RAW;
}

}  // namespace vcam
