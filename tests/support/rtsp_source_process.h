// The tests' RTSP source (rtsp_source.c) run as a child process that dies with the test and stops by itself.
#pragma once

#include <sys/types.h>

#include <string>

namespace testsupport {

class RtspSourceProcess {
public:
    RtspSourceProcess() = default;
    ~RtspSourceProcess() { stop(); }
    RtspSourceProcess(const RtspSourceProcess &) = delete;
    RtspSourceProcess &operator=(const RtspSourceProcess &) = delete;

    // Serves rtsp://ip:port/live and /short (shortPictures pictures, then the stream ends) for lifetime_s.
    // 0 running; 2 the port is taken; -1 with *skip set when GStreamer cannot serve here (or the source was
    // not built), with *error otherwise.
    int start(const std::string &ip, int port, int lifetime_s, int shortPictures, std::string *skip,
              std::string *error);
    void stop();

private:
    pid_t pid_ = -1;
};

}  // namespace testsupport
