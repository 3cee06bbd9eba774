// The configuration file: which files are read, which values are taken, and the log-path rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sdk_config.h"
#include "temp_dir.h"

using namespace sarvik;
using testsupport::TempDir;
using testsupport::write_file;

namespace {

SdkConfig parsed(const std::string &text, int *ret = nullptr) {
    SdkConfig cfg{};
    std::snprintf(cfg.exeDir, sizeof cfg.exeDir, "/opt/app/bin");
    sdkconfig_defaults(&cfg);
    int r = sdkconfig_parse(text.data(), text.size(), &cfg);
    if (ret) *ret = r;
    return cfg;
}

}  // namespace

TEST(SdkConfig, DefaultsWhenKeysAreMissing) {
    SdkConfig c = parsed("{}");
    EXPECT_EQ(c.encoder, 0);
    EXPECT_EQ(c.decoder, 0);
    EXPECT_STREQ(c.logPath, "");
    EXPECT_EQ(c.syncTime, 1);
    EXPECT_EQ(c.previewEnableInterProcess, 1);
    EXPECT_EQ(c.previewEnableThread2, 0);
}

TEST(SdkConfig, TakesEveryKey) {
    SdkConfig c = parsed(R"({"encoder":"cuda","decoder":"qsv","log":"/var/log/sdk.log","syncTime":0,
        "previewEnableInterProcess":0,"previewEnableThread2":1})");
    EXPECT_EQ(c.encoder, 2);
    EXPECT_EQ(c.decoder, 5);
    EXPECT_STREQ(c.logPath, "/var/log/sdk.log");
    EXPECT_EQ(c.syncTime, 0);
    EXPECT_EQ(c.previewEnableInterProcess, 0);
    EXPECT_EQ(c.previewEnableThread2, 1);
}

TEST(SdkConfig, DeviceNamesMapToCodecDeviceNumbers) {
    EXPECT_EQ(parsed(R"({"decoder":"d3d11va"})").decoder, 7);
    EXPECT_EQ(parsed(R"({"decoder":"CUDA"})").decoder, 0) << "names are exact";
    EXPECT_EQ(parsed(R"({"encoder":"vaapi"})").encoder, 0);
}

TEST(SdkConfig, WrongTypeDiscardsTheWholeFile) {
    int ret = 0;
    SdkConfig c = parsed(R"({"syncTime":"yes","encoder":"cuda","log":"x.log"})", &ret);
    EXPECT_NE(ret, 0);
    EXPECT_EQ(c.syncTime, 1);
    EXPECT_EQ(c.encoder, 0);
    EXPECT_STREQ(c.logPath, "");

    EXPECT_EQ(parsed(R"({"encoder":2,"previewEnableThread2":1})").previewEnableThread2, 0);
    EXPECT_EQ(parsed(R"({"syncTime":0.5})").syncTime, 1);
    EXPECT_EQ(parsed(R"({"log":7,"syncTime":0})").syncTime, 1);
}

TEST(SdkConfig, BrokenJsonGivesDefaults) {
    int ret = 0;
    EXPECT_EQ(parsed(R"({"syncTime":0)", &ret).syncTime, 1);
    EXPECT_NE(ret, 0);
    EXPECT_EQ(parsed("[1,2]", &ret).syncTime, 1);
    EXPECT_NE(ret, 0);
}

TEST(SdkConfig, RelativeLogPathIsJoinedToTheExecutableDirectory) {
    EXPECT_STREQ(parsed(R"({"log":"logs/sdk.log"})").logPath, "/opt/app/bin/logs/sdk.log");
    EXPECT_STREQ(parsed(R"({"log":"/abs/sdk.log"})").logPath, "/abs/sdk.log");
    EXPECT_STREQ(parsed(R"({"log":""})").logPath, "");
}

TEST(SdkConfigFile, ReadsTheFileNextToTheExecutable) {
    TempDir dir;
    write_file(dir.file("SarvikSDK.json"), R"({"syncTime":0,"log":"sdk.log"})");
    SdkConfig c{};
    sdkconfig_load(&c, dir.path().c_str());
    EXPECT_EQ(c.syncTime, 0);
    EXPECT_EQ(std::string(c.logPath), dir.path() + "/sdk.log");
}

TEST(SdkConfigFile, FileOf1024BytesOrMoreIsIgnored) {
    TempDir dir;
    std::string text = R"({"syncTime":0})";
    std::string padded = text + std::string(1023 - text.size(), ' ');
    ASSERT_EQ(padded.size(), 1023u);
    write_file(dir.file("SarvikSDK.json"), padded);
    SdkConfig c{};
    sdkconfig_load(&c, dir.path().c_str());
    EXPECT_EQ(c.syncTime, 0) << "1023 bytes are still read";

    write_file(dir.file("SarvikSDK.json"), padded + " ");
    sdkconfig_load(&c, dir.path().c_str());
    EXPECT_EQ(c.syncTime, 1);
}

TEST(SdkConfigFile, MissingOrEmptyFileGivesDefaults) {
    TempDir dir;
    SdkConfig c{};
    sdkconfig_load(&c, dir.path().c_str());
    EXPECT_EQ(c.syncTime, 1);
    EXPECT_EQ(std::string(c.exeDir), dir.path());
    write_file(dir.file("SarvikSDK.json"), "");
    sdkconfig_load(&c, dir.path().c_str());
    EXPECT_EQ(c.syncTime, 1);
}
