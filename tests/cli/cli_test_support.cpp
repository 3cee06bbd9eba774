#include "cli_test_support.h"

#include <dirent.h>

#include <fstream>

#include "SarvikSDK.h"
#include "vcam_process.h"

namespace clitest {

Run sarvik(const testsupport::TempDir &dir, const std::vector<std::string> &args, int timeout_s) {
    const std::string errPath = dir.file("stderr.txt");
    std::vector<std::string> argv = {"/bin/sh", "-c", "f=$1; shift; exec \"$@\" 2>\"$f\"", "sh", errPath,
                                     SARVIK_CLI_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    Run r;
    r.code = testsupport::run_program(argv, &r.out, timeout_s);
    r.err = testsupport::read_file(errPath);
    return r;
}

std::vector<std::string> lines_of(const std::string &path) {
    std::vector<std::string> v;
    std::ifstream f(path);
    for (std::string line; std::getline(f, line);) v.push_back(line);
    return v;
}

int count_prefixed(const std::vector<std::string> &lines, const std::string &prefix) {
    int n = 0;
    for (const std::string &l : lines) n += l.compare(0, prefix.size(), prefix) == 0;
    return n;
}

int stream_frames(const std::string &path) {
    if (Sarvik_InitSDK() != 0) return -1;
    void *pb = SarvikPlayback_Create();
    int frames = -1;
    FrameCover cover{};
    if (pb && SarvikPlayback_OpenFile(pb, path.c_str(), SARVIK_PLAYBACK_STREAM) == 0 &&
        SarvikPlayback_ReadCover(pb, &cover) == 0 && cover.info) {
        frames = cover.info->frameCount;
        // The last frame must read whole, not only be counted.
        _DataFrame f{};
        if (frames > 0 && SarvikPlayback_ReadFrame(pb, frames - 1, &f) != 0) frames = -1;
    }
    SarvikPlayback_Free(&pb);
    Sarvik_FreeSDK();
    return frames;
}

std::vector<std::string> partial_files(const std::string &dir) {
    std::vector<std::string> v;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (std::string(e->d_name).find(".part") != std::string::npos) v.push_back(e->d_name);
        closedir(d);
    }
    return v;
}

}  // namespace clitest
