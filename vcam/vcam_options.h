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
};

struct Options {
    std::string ip;                 // IPv4 address to bind, e.g. 127.0.0.2
    std::string cameraId = "VCAM0001";
    std::string cameraName = "sarvik-vcam";
    std::string model = "R640";
    std::string softwareId = "R640-V1.0.0";
    std::string hardwareId = "HW-1.0";
    std::string fpaId = "FPA-640-12UM";
    uint16_t width = 640;
    uint16_t height = 512;
    uint16_t fps = 25;
    uint16_t secondWidth = 0;       // 0: camera reports no second plane
    uint16_t secondHeight = 0;
    uint16_t commandPort = 55502;
    int lifetimeS = 600;            // the camera stops by itself after this long
    int maxConnections = 100000;    // and after this many command connections
    std::string requestLog;         // append "<type> <length>" per received request
    Faults faults;
};

// Parses argv; on error or --help prints usage and returns false with *exitCode set.
bool parse_options(int argc, char **argv, Options *opt, int *exitCode);

}  // namespace vcam
