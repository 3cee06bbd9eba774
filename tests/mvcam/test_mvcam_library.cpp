// libMvCameraControl through its public header: exports, pixel conversion, recording, handle misuse, and
// discovery of the fake camera (inside a private network namespace: GigE enumeration broadcasts).
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "MvCameraControl.h"
#include "fake_vis_camera.h"
#include "temp_dir.h"
#include "vcam_process.h"

using namespace mvcamtest;

namespace {

struct Handle {
    void *h = nullptr;
    Handle() {
        MV_CC_DEVICE_INFO info{};
        info.nTransport = MVCC_TRANSPORT_GIGE;
        info.info.gige.nCurrentIp = 0x7F002201;
        EXPECT_EQ(MV_CC_CreateHandle(&h, &info), MVCC_OK);
    }
    ~Handle() {
        if (h) MV_CC_DestroyHandle(h);
    }
};

MVCC_CONVERT_PARAM convert_param(uint32_t srcType, uint32_t dstType, int w, int h, const uint8_t *src,
                                 size_t srcLen, uint8_t *dst, size_t dstSize) {
    MVCC_CONVERT_PARAM p{};
    p.nWidth = static_cast<uint16_t>(w);
    p.nHeight = static_cast<uint16_t>(h);
    p.enSrcPixelType = srcType;
    p.pSrcData = src;
    p.nSrcDataLen = static_cast<uint32_t>(srcLen);
    p.enDstPixelType = dstType;
    p.pDstBuffer = dst;
    p.nDstBufferSize = static_cast<uint32_t>(dstSize);
    return p;
}

struct Bgra {
    int b, g, r, a;
};

// Converts a uniform frame of one source pixel repeated and returns its first and last output pixels.
int convert_uniform(void *h, uint32_t type, const std::vector<uint8_t> &pixel, int w, int hgt, Bgra *first,
                    Bgra *last) {
    std::vector<uint8_t> src;
    // Packed YUV describes two pixels per four bytes: the pattern given is one such pair.
    const size_t frameBytes = static_cast<size_t>(w) * hgt * MVCC_PIXEL_BITS(type) / 8;
    while (src.size() < frameBytes) src.insert(src.end(), pixel.begin(), pixel.end());
    src.resize(frameBytes);
    std::vector<uint8_t> dst(4 * static_cast<size_t>(w) * hgt, 0);
    MVCC_CONVERT_PARAM p =
        convert_param(type, MVCC_PIXEL_BGRA8, w, hgt, src.data(), src.size(), dst.data(), dst.size());
    const int r = MV_CC_ConvertPixelType(h, &p);
    if (r == MVCC_OK) {
        EXPECT_EQ(p.nDstLen, dst.size());
        const uint8_t *f = dst.data(), *l = dst.data() + dst.size() - 4;
        *first = {f[0], f[1], f[2], f[3]};
        *last = {l[0], l[1], l[2], l[3]};
    }
    return r;
}

}  // namespace

TEST(MvcamExports, OnlyTheLibraryFunctionsLeaveTheLibrary) {
    std::string out;
    const std::string lib = testsupport::bin_dir() + "/../lib/libMvCameraControl.so";
    ASSERT_EQ(testsupport::run_program({"/usr/bin/nm", "-D", "--defined-only", lib}, &out, 30), 0);
    std::istringstream in(out);
    int count = 0;
    for (std::string line; std::getline(in, line);) {
        const std::string name = line.substr(line.rfind(' ') + 1);
        EXPECT_EQ(name.rfind("MV_CC_", 0), 0u) << "exported: " << name;
        ++count;
    }
    EXPECT_GE(count, 25);
}

// Every source type on a uniform frame: the colour that must come out, channel by channel.
TEST(MvcamConvert, EachSourceTypeGivesItsColour) {
    struct Case {
        const char *name;
        uint32_t type;
        std::vector<uint8_t> pixel;
        Bgra want;
        int tolerance;
    };
    const Case cases[] = {
        {"Mono8", MVCC_PIXEL_MONO8, {77}, {77, 77, 77, 255}, 0},
        {"Mono10", MVCC_PIXEL_MONO10, {0x00, 0x02}, {128, 128, 128, 255}, 1},
        {"Mono12", MVCC_PIXEL_MONO12, {0x00, 0x08}, {128, 128, 128, 255}, 1},
        {"Mono16", MVCC_PIXEL_MONO16, {0x00, 0xC0}, {192, 192, 192, 255}, 1},
        {"RGB8", MVCC_PIXEL_RGB8, {10, 120, 230}, {230, 120, 10, 255}, 0},
        {"BGR8", MVCC_PIXEL_BGR8, {10, 120, 230}, {10, 120, 230, 255}, 0},
        {"RGBA8", MVCC_PIXEL_RGBA8, {10, 120, 230, 255}, {230, 120, 10, 255}, 0},
        {"BGRA8", MVCC_PIXEL_BGRA8, {10, 120, 230, 255}, {10, 120, 230, 255}, 0},
        {"BayerRG8 grey", MVCC_PIXEL_BAYER_RG8, {90}, {90, 90, 90, 255}, 1},
        {"BayerBG8 grey", MVCC_PIXEL_BAYER_BG8, {200}, {200, 200, 200, 255}, 1},
        {"BayerGR16 grey", MVCC_PIXEL_BAYER_GR16, {0x00, 0x40}, {64, 64, 64, 255}, 1},
        // Limited-range video: black 16 and white 235, neutral chroma 128.
        {"UYVY white", MVCC_PIXEL_YUV422_UYVY, {128, 235, 128, 235}, {255, 255, 255, 255}, 1},
        {"YUYV black", MVCC_PIXEL_YUV422_YUYV, {16, 128, 16, 128}, {0, 0, 0, 255}, 1},
    };
    Handle h;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Bgra first{}, last{};
        ASSERT_EQ(convert_uniform(h.h, c.type, c.pixel, 16, 8, &first, &last), MVCC_OK);
        for (const Bgra &px : {first, last}) {
            EXPECT_NEAR(px.b, c.want.b, c.tolerance);
            EXPECT_NEAR(px.g, c.want.g, c.tolerance);
            EXPECT_NEAR(px.r, c.want.r, c.tolerance);
            EXPECT_EQ(px.a, c.want.a);
        }
    }
}

// Mono8 is the tool's format: every pixel is kept exactly, across sizes that change between calls.
TEST(MvcamConvert, Mono8KeepsEveryPixelAcrossSizeChanges) {
    Handle h;
    for (const int w : {640, 17, 1280}) {
        const int hgt = w / 2 + 1;
        std::vector<uint8_t> src(static_cast<size_t>(w) * hgt);
        for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
        std::vector<uint8_t> dst(4 * src.size());
        MVCC_CONVERT_PARAM p = convert_param(MVCC_PIXEL_MONO8, MVCC_PIXEL_BGRA8, w, hgt, src.data(),
                                             src.size(), dst.data(), dst.size());
        ASSERT_EQ(MV_CC_ConvertPixelType(h.h, &p), MVCC_OK);
        size_t wrong = 0;
        for (size_t i = 0; i < src.size(); ++i)
            if (dst[4 * i] != src[i] || dst[4 * i + 1] != src[i] || dst[4 * i + 2] != src[i] ||
                dst[4 * i + 3] != 255)
                ++wrong;
        EXPECT_EQ(wrong, 0u) << w << "x" << hgt;
    }
}

TEST(MvcamConvert, RefusesWhatWouldOverrunOrIsUnknown) {
    Handle h;
    std::vector<uint8_t> src(64 * 64 * 3), dst(4 * 64 * 64 + 16, 0xAB);
    struct Case {
        const char *name;
        uint32_t srcType, dstType;
        uint32_t srcLen, dstSize;
        int want;
    };
    const Case cases[] = {
        {"destination one byte short", MVCC_PIXEL_MONO8, MVCC_PIXEL_BGRA8, 64 * 64, 4 * 64 * 64 - 1,
         MVCC_E_BUFFER},
        {"source one byte short", MVCC_PIXEL_RGB8, MVCC_PIXEL_BGRA8, 64 * 64 * 3 - 1, 4 * 64 * 64,
         MVCC_E_BUFFER},
        {"unknown source type", 0x01234567, MVCC_PIXEL_BGRA8, 64 * 64 * 3, 4 * 64 * 64, MVCC_E_SUPPORT},
        {"destination not BGRA", MVCC_PIXEL_MONO8, MVCC_PIXEL_RGB8, 64 * 64, 4 * 64 * 64, MVCC_E_SUPPORT},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MVCC_CONVERT_PARAM p =
            convert_param(c.srcType, c.dstType, 64, 64, src.data(), c.srcLen, dst.data(), c.dstSize);
        EXPECT_EQ(MV_CC_ConvertPixelType(h.h, &p), c.want);
        EXPECT_EQ(p.nDstLen, 0u);
        EXPECT_EQ(dst[0], 0xAB) << "nothing is written on refusal";
    }
    MVCC_CONVERT_PARAM p{};
    EXPECT_EQ(MV_CC_ConvertPixelType(nullptr, &p), MVCC_E_HANDLE);
}

TEST(MvcamHandle, MisuseIsRefusedWithItsCode) {
    MV_CC_DEVICE_INFO info{};
    void *h = nullptr;
    EXPECT_EQ(MV_CC_CreateHandle(&h, nullptr), MVCC_E_PARAMETER);
    info.nTransport = 2;
    EXPECT_EQ(MV_CC_CreateHandle(&h, &info), MVCC_E_SUPPORT);
    EXPECT_EQ(h, nullptr);

    Handle closed;
    MVCC_INT_VALUE iv{};
    EXPECT_EQ(MV_CC_StartGrabbing(closed.h), MVCC_E_CALLORDER);
    EXPECT_EQ(MV_CC_StopGrabbing(closed.h), MVCC_E_CALLORDER);
    EXPECT_EQ(MV_CC_CloseDevice(closed.h), MVCC_E_CALLORDER);
    EXPECT_EQ(MV_CC_GetIntValueEx(closed.h, "Width", &iv), MVCC_E_CALLORDER);
    EXPECT_EQ(MV_CC_SetIntValueEx(closed.h, "Width", 64), MVCC_E_CALLORDER);
    EXPECT_EQ(MV_CC_OpenDevice(closed.h, 2, 0), MVCC_E_SUPPORT);
    EXPECT_EQ(MV_CC_StopRecord(closed.h), MVCC_E_CALLORDER);

    void *gone = nullptr;
    info.nTransport = MVCC_TRANSPORT_USB3;
    ASSERT_EQ(MV_CC_CreateHandle(&gone, &info), MVCC_OK);
    EXPECT_EQ(MV_CC_DestroyHandle(gone), MVCC_OK);
    EXPECT_EQ(MV_CC_DestroyHandle(gone), MVCC_E_HANDLE) << "a destroyed handle is recognised, not used";
    EXPECT_EQ(MV_CC_GetIntValueEx(gone, "Width", &iv), MVCC_E_HANDLE);
    EXPECT_STRNE(MV_CC_GetErrorText(MVCC_E_FEATURE_LOCKED), MV_CC_GetErrorText(MVCC_E_FEATURE_RANGE));
}

namespace {

struct Probe {
    int width = 0, height = 0, frames = 0;
};

bool ffprobe(const std::string &path, Probe *p) {
    std::string out;
    if (testsupport::run_program(
            {"/usr/bin/ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
             "stream=width,height,nb_read_frames", "-of", "csv=p=0", path},
            &out, 60) != 0)
        return false;
    return std::sscanf(out.c_str(), "%d,%d,%d", &p->width, &p->height, &p->frames) == 3;
}

}  // namespace

// Frames given to a recording come out as a video file ordinary players read, one picture per frame.
TEST(MvcamRecord, FileHoldsEveryFrameAtItsSize) {
    testsupport::TempDir dir;
    struct Case {
        const char *file;
        uint32_t type;
        int w, h, frames;
    };
    const Case cases[] = {
        {"mono.mp4", MVCC_PIXEL_MONO8, 320, 240, 30},
        {"bayer.mkv", MVCC_PIXEL_BAYER_RG8, 256, 128, 12},
        {"rgb.mp4", MVCC_PIXEL_RGB8, 160, 96, 7},
    };
    Handle h;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        MVCC_RECORD_PARAM p{};
        p.enPixelType = c.type;
        p.nWidth = static_cast<uint16_t>(c.w);
        p.nHeight = static_cast<uint16_t>(c.h);
        p.fFrameRate = 25;
        p.nBitRateKbps = 3000;
        p.enRecordFormat = MVCC_RECORD_H264;
        std::snprintf(p.strFilePath, sizeof p.strFilePath, "%s", dir.file(c.file).c_str());
        ASSERT_EQ(MV_CC_StartRecord(h.h, &p), MVCC_OK);
        EXPECT_EQ(MV_CC_StartRecord(h.h, &p), MVCC_E_CALLORDER);
        std::vector<uint8_t> frame(static_cast<size_t>(c.w) * c.h * MVCC_PIXEL_BITS(c.type) / 8);
        for (int f = 0; f < c.frames; ++f) {
            for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i + 3 * f);
            MVCC_INPUT_FRAME in{frame.data(), static_cast<uint32_t>(frame.size()), 0};
            ASSERT_EQ(MV_CC_InputOneFrame(h.h, &in), MVCC_OK);
        }
        MVCC_INPUT_FRAME shortFrame{frame.data(), static_cast<uint32_t>(frame.size() - 1), 0};
        EXPECT_EQ(MV_CC_InputOneFrame(h.h, &shortFrame), MVCC_E_BUFFER) << "a short frame is not read past";
        ASSERT_EQ(MV_CC_StopRecord(h.h), MVCC_OK);
        Probe probe;
        ASSERT_TRUE(ffprobe(dir.file(c.file), &probe));
        EXPECT_EQ(probe.width, c.w);
        EXPECT_EQ(probe.height, c.h);
        EXPECT_EQ(probe.frames, c.frames);
    }
}

TEST(MvcamRecord, RefusesWhatItCannotRecord) {
    testsupport::TempDir dir;
    struct Case {
        const char *name;
        uint32_t type, format;
        float rate;
        std::string path;
        int want;
    };
    const Case cases[] = {
        {"unknown format", MVCC_PIXEL_MONO8, 7, 25, dir.file("a.mp4"), MVCC_E_SUPPORT},
        {"unknown pixel type", 0x01234567, MVCC_RECORD_H264, 25, dir.file("b.mp4"), MVCC_E_SUPPORT},
        {"no frame rate", MVCC_PIXEL_MONO8, MVCC_RECORD_H264, 0, dir.file("c.mp4"), MVCC_E_PARAMETER},
        {"folder missing", MVCC_PIXEL_MONO8, MVCC_RECORD_H264, 25, dir.file("none/d.mp4"),
         MVCC_E_RECORD_FILE},
    };
    Handle h;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MVCC_RECORD_PARAM p{};
        p.enPixelType = c.type;
        p.nWidth = 64;
        p.nHeight = 64;
        p.fFrameRate = c.rate;
        p.enRecordFormat = c.format;
        std::snprintf(p.strFilePath, sizeof p.strFilePath, "%s", c.path.c_str());
        EXPECT_EQ(MV_CC_StartRecord(h.h, &p), c.want);
        EXPECT_EQ(MV_CC_StopRecord(h.h), MVCC_E_CALLORDER);
    }
    MVCC_RECORD_PARAM p{};
    p.enPixelType = MVCC_PIXEL_MONO8;
    p.nWidth = 64;
    p.nHeight = 64;
    p.fFrameRate = 10;
    p.enRecordFormat = MVCC_RECORD_H264;
    std::snprintf(p.strFilePath, sizeof p.strFilePath, "%s", dir.file("empty.mp4").c_str());
    ASSERT_EQ(MV_CC_StartRecord(h.h, &p), MVCC_OK);
    EXPECT_EQ(MV_CC_StopRecord(h.h), MVCC_E_RECORD_ENCODE) << "a recording without frames is an error";
    EXPECT_NE(access(dir.file("empty.mp4").c_str(), F_OK), 0) << "and leaves no empty file";
}

// Broadcast discovery finds the camera with its address, mask, gateway and serial; the unicast form asks one
// address only.
TEST(MvcamDiscovery, FindsTheFakeCameraInsideAPrivateNetwork) {
    const std::string why = enter_camera_netns("127.0.34.2", true);
    if (!why.empty()) GTEST_SKIP() << why;
    FakeVisCamera cam("127.0.34.2", "DISC0002");
    ASSERT_TRUE(cam.start());

    MV_CC_DEVICE_INFO_LIST list;
    ASSERT_EQ(MV_CC_EnumDevices(MVCC_TRANSPORT_GIGE, &list), MVCC_OK);
    ASSERT_EQ(list.nDeviceNum, 1u);
    const MVCC_GIGE_INFO &g = list.stDevice[0].info.gige;
    EXPECT_EQ(list.stDevice[0].nTransport, MVCC_TRANSPORT_GIGE);
    EXPECT_EQ(g.nCurrentIp, cam.ip_host_order());
    EXPECT_EQ(std::string(g.chSerialNumber, strnlen(g.chSerialNumber, 16)), "DISC0002");
    EXPECT_STRNE(g.chModel, "");

    ASSERT_EQ(MV_CC_EnumDevicesUnicast(cam.ip_host_order(), 1000, &list), MVCC_OK);
    ASSERT_EQ(list.nDeviceNum, 1u);
    EXPECT_EQ(list.stDevice[0].info.gige.nCurrentIp, cam.ip_host_order());
    ASSERT_EQ(MV_CC_EnumDevicesUnicast(cam.ip_host_order() + 1, 300, &list), MVCC_OK);
    EXPECT_EQ(list.nDeviceNum, 0u);

    EXPECT_EQ(MV_CC_EnumDevices(0, &list), MVCC_E_SUPPORT);
    EXPECT_EQ(MV_CC_EnumDevicesUnicast(0, 100, &list), MVCC_E_PARAMETER);
}

// The probe lists, opens, prints the 28 features and grabs.
TEST(MvcamProbe, ListsOpensAndGrabs) {
    const std::string why = enter_camera_netns("127.0.34.3", true);
    if (!why.empty()) GTEST_SKIP() << why;
    FakeVisCamera cam("127.0.34.3", "PROBE003");
    ASSERT_TRUE(cam.start());
    std::string out;
    EXPECT_EQ(
        testsupport::run_program({testsupport::bin_dir() + "/mvcam-probe", "127.0.34.3", "20"}, &out, 60), 0)
        << out;
    EXPECT_NE(out.find("devices: 1"), std::string::npos) << out;
    EXPECT_NE(out.find("127.0.34.3"), std::string::npos) << out;
    for (const char *name : {"Width", "PixelFormat", "AcquisitionFrameRate", "HDRGain", "BinningVertical"})
        EXPECT_NE(out.find(name), std::string::npos) << name;
    int frames = 0;
    const size_t at = out.find("\nframes ");
    ASSERT_NE(at, std::string::npos) << out;
    ASSERT_EQ(std::sscanf(out.c_str() + at, "\nframes %d", &frames), 1) << out;
    EXPECT_GE(frames, 20);
}
