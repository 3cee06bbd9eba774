// Library bookkeeping, logging and the exported interface.
#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

using namespace codectest;

namespace {

TEST(Library, InitAndFreeAreCountedAndRestoreFfmpegLogging) {
    const int before = av_log_get_level();
    ASSERT_EQ(Ffmpeg_Init(), SFF_OK);
    EXPECT_EQ(av_log_get_level(), AV_LOG_QUIET);
    ASSERT_EQ(Ffmpeg_Init(), SFF_OK);
    EXPECT_EQ(Ffmpeg_Free(), SFF_OK);
    EXPECT_EQ(av_log_get_level(), AV_LOG_QUIET);  // one Init still outstanding
    EXPECT_EQ(Ffmpeg_Free(), SFF_OK);
    EXPECT_EQ(av_log_get_level(), before);
    EXPECT_EQ(Ffmpeg_Free(), SFF_OK);  // unmatched: nothing to undo
    EXPECT_EQ(av_log_get_level(), before);
}

TEST(Library, FailuresReachTheHandlerAndLinesWithoutHandlerAreDropped) {
    LibrarySession lib;
    H264EncHandle *enc = H264Enc_Open();
    ASSERT_NE(enc, nullptr);
    const H264EncConfig bad = encoderConfig(0, 0);
    Ffmpeg_SetLogHandler(nullptr);
    EXPECT_EQ(H264Enc_SetConfig(enc, &bad), SFF_E_ARG);
    {
        LogCapture log;
        EXPECT_EQ(H264Enc_SetConfig(enc, &bad), SFF_E_ARG);
        // Only the line of the call made with the handler installed: nothing was kept back.
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0], "H264Enc_SetConfig: invalid picture size 0x0");
    }
    H264Enc_Close(&enc);
}

TEST(Library, FfmpegOwnMessagesAreForwardedOnlyWhenAskedFor) {
    LibrarySession lib;
    LogCapture log;
    encodeScene(encoderConfig(64, 64), 2);
    EXPECT_FALSE(log.contains("av_log"));
    Ffmpeg_SetLibraryLogLevel(AV_LOG_INFO);
    encodeScene(encoderConfig(64, 64), 2);
    Ffmpeg_SetLibraryLogLevel(AV_LOG_QUIET);
    EXPECT_TRUE(log.contains("av_log", "libx264")) << "x264 reports its settings at info level";
}

TEST(Library, ExportsExactlyTheDeclaredInterface) {
    const std::string cmd = std::string("nm -D --defined-only '") + SFF_LIBRARY_PATH + "' 2>/dev/null";
    FILE *p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::set<std::string> names;
    char addr[64], type[8], name[512];
    while (fscanf(p, "%63s %7s %511s", addr, type, name) == 3) names.insert(name);
    pclose(p);
    const std::set<std::string> expected = {"Ffmpeg_Init",
                                            "Ffmpeg_Free",
                                            "Ffmpeg_SetLogHandler",
                                            "Ffmpeg_SetLibraryLogLevel",
                                            "Ffmpeg_ErrorText",
                                            "H264Enc_Open",
                                            "H264Enc_Close",
                                            "H264Enc_SetConfig",
                                            "H264Enc_EncFrame",
                                            "H264Enc_MuxBegin",
                                            "H264Enc_MuxFrame",
                                            "H264Enc_MuxEnd",
                                            "H264Dec_Open",
                                            "H264Dec_Close",
                                            "H264Dec_SetConfig",
                                            "H264Dec_DecFrame",
                                            "H264Dec_MuxBegin",
                                            "H264Dec_MuxFrame",
                                            "H264Dec_MuxEnd",
                                            "RtspDemuxDec_Open",
                                            "RtspDemuxDec_Close",
                                            "RtspDemuxDec_ReadFrame",
                                            "RtspDemuxDec_BeginSave",
                                            "RtspDemuxDec_EndSave"};
    EXPECT_EQ(names, expected);
}

}  // namespace
