// Command-line options of the virtual camera.
#pragma once

#include <cstdint>
#include <string>

namespace vcam {

struct Faults {
    int answerDelayMs = 0;          // wait before every answer
    bool splitAnswers = false;      // send every answer in several TCP segments
    bool silent = false;            // read requests but never answer
    bool closeWithoutAnswer = false;
    bool wrongAnswerType = false;   // answer with request type + 2 instead of + 1
    bool shortAnswers = false;      // drop the last byte of every answer
    bool refuseTransfer = false;    // answer every file or memory transfer with a refusing status
    int cutTransferBytes = -1;      // close a transfer's connection after this many payload bytes
    int stallTransferBytes = -1;    // stop a transfer's payload after this many bytes, connection kept open
};

// Discovery on UDP 55501: off unless asked for, since it listens for broadcasts on every interface.
struct DiscoveryOptions {
    bool enabled = false;
    int answerDelayMs = 0;  // answer discovery requests this late
    bool stray = false;     // send a datagram of another type before each discovery answer
    int onlyRoute = -1;     // answer only requests of this route (0 or 1); -1: both
    std::string ackId;      // cameraId named in address-change answers; empty: the camera's own
};

// Temperature stream (TCP and UDP on the same port number) and snapshots.
struct StreamOptions {
    uint16_t port = 55503;          // TCP stream, and the UDP variant's control port
    uint16_t snapshotPort = 55505;
    bool delta = false;             // delta-run encode the samples
    uint16_t slope = 100;           // temperature = sample / slope + offset
    int16_t offset = 0;
    uint32_t seed = 1;              // noise and stripes of the scene
    int dataKind = -1;              // -1: the model's own (2 for the R1280H line, else 0)
    int dropAfterFrames = -1;       // close each stream after this many frames
    int awayAfterDropS = 0;         // after such a drop, refuse streams for this long
    int stallAfterFrames = -1;      // stop sending after this many frames, connection held open
    int malformedEvery = 0;         // every Nth frame carries a broken delta-run payload
    int slowPieces = 0;             // send each frame in this many pieces with pauses between
    int sceneLoop = 0;              // TCP stream: frames rendered at start-up and sent in turn; 0: live
};

// Compressed video on the video (55506) and mixed (55507) ports, and the optional RTSP server.
struct VideoOptions {
    bool still = false;             // freeze the scene: every video frame shows the same picture
    int dropAfterFrames = -1;       // close the first connection of each port after this many frames
    uint16_t resizeWidth = 0;       // second and later connections stream this size instead
    uint16_t resizeHeight = 0;
    int oversizeAtFrame = -1;       // first connection: frame N's header announces too many bytes
    int undersizeAtFrame = -1;      // first connection: frame N's header announces 800 bytes
    uint16_t rtspPort = 0;          // 0: no RTSP server
    std::string dumpVideo;          // write the still pictures (raw BGRA) and exit
    std::string dumpMixed;
};

struct Options {
    std::string ip;                 // IPv4 address to bind, e.g. 127.0.0.2
    std::string cameraId = "VCAM0001";
    std::string cameraName = "sarvik-vcam";
    std::string model;              // empty: chosen from the size (R384 or R640)
    std::string softwareId;         // empty: chosen from the size
    std::string hardwareId = "HW-1.0";
    std::string fpaId;              // empty: chosen from the size
    uint16_t width = 640;
    uint16_t height = 512;
    uint16_t fps = 25;              // 0: the TCP stream is not paced
    uint16_t secondWidth = 0;       // 0: camera reports no second plane
    uint16_t secondHeight = 0;
    uint16_t commandPort = 55502;
    int lifetimeS = 600;            // the camera stops by itself after this long
    int maxConnections = 100000;    // and after this many command connections
    std::string requestLog;         // append "<type> <length>" per received request
    std::string stateFile;          // records, clock and lens gear kept here across restarts
    std::string eventLog;           // append one line per control, serial write and record write
    int restartMs = 1000;           // how long a restart or factory reset keeps the camera away
    std::string transferLog;        // append one line per file or memory transfer
    Faults faults;
    DiscoveryOptions discovery;
    StreamOptions stream;
    VideoOptions video;
};

// Data kind 2 (temperatures the destripe and denoise filters apply to) for the R1280H line.
uint8_t data_kind(const Options &opt);

// The 384 x 288 class of detector cores; anything larger is taken as a 640 x 512 class core of its size.
inline bool small_core(const Options &opt) { return opt.width <= 400 && opt.height <= 300; }

// Size of the compressed video: the second plane of the basic info, or the temperature image size when
// either second dimension is 0 (as a client's login fills it in).
inline uint16_t video_width(const Options &opt) {
    return opt.secondWidth && opt.secondHeight ? opt.secondWidth : opt.width;
}
inline uint16_t video_height(const Options &opt) {
    return opt.secondWidth && opt.secondHeight ? opt.secondHeight : opt.height;
}

// Parses argv; on error or --help prints usage and returns false with *exitCode set.
bool parse_options(int argc, char **argv, Options *opt, int *exitCode);

}  // namespace vcam
