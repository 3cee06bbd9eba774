// The sarvik program against virtual cameras: records, controls, recording, batch work and refusals.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli_test_support.h"
#include "netns.h"
#include "vcam_process.h"

extern char **environ;

using clitest::count_prefixed;
using clitest::lines_of;
using clitest::sarvik;
using testsupport::TempDir;
using testsupport::VcamProcess;

namespace {

struct Camera {
    TempDir dir;
    std::string ip;
    std::unique_ptr<VcamProcess> vcam;
    Camera(const std::string &address, std::vector<std::string> extra = {}) : ip(address) {
        std::vector<std::string> args = {"--event-log", events(), "--transfer-log", dir.file("transfers.log"),
                                         "--size", "160x120", "--fps", "10"};
        args.insert(args.end(), extra.begin(), extra.end());
        vcam = std::make_unique<VcamProcess>(ip, args);
    }
    std::string events() const { return dir.file("events.log"); }
    int recordWrites() const { return count_prefixed(lines_of(events()), "record "); }
};

int64_t file_size(const std::string &path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

}  // namespace

struct RoundTrip {
    const char *record;
    const char *patch;
    const char *field;
    nlohmann::json value;
    const char *event;  // what the camera logs for the write
};

// set changes the named field on the camera (get reads it back) and only that field.
TEST(CliRecords, SetThenGetShowsTheChangeOnTheCamera) {
    Camera cam("127.0.0.82");
    ASSERT_TRUE(cam.vcam->ready());
    const RoundTrip cases[] = {
        {"CameraTimeInfo", R"({"timeZone": "Europe/Berlin"})", "timeZone", "Europe/Berlin", "record 54"},
        {"CameraOSDInfo", R"({"loc_name": "Gate 3", "loc_y": 40})", "loc_name", "Gate 3", "record 68"},
        {"FixInfo", R"({"globalEmissivity": 0.9})", "globalEmissivity", 0.9, "record 25"},
        {"GB28181Block", R"({"serverPort": 5061})", "serverPort", 5061, nullptr},
    };
    for (const RoundTrip &c : cases) {
        const clitest::Run before = sarvik(cam.dir, {"get", cam.ip, c.record});
        ASSERT_EQ(before.code, 0) << before.err;
        const std::string patch = cam.dir.file("patch.json");
        testsupport::write_file(patch, c.patch);
        const int writes = count_prefixed(lines_of(cam.events()), c.event ? c.event : "record ");
        const clitest::Run set = sarvik(cam.dir, {"set", cam.ip, c.record, patch});
        EXPECT_EQ(set.code, 0) << c.record << ": " << set.err;
        if (c.event) {
            EXPECT_EQ(count_prefixed(lines_of(cam.events()), c.event), writes + 1) << c.record;
        }

        const clitest::Run after = sarvik(cam.dir, {"get", cam.ip, c.record});
        ASSERT_EQ(after.code, 0) << after.err;
        auto want = nlohmann::json::parse(before.out);
        const auto patchJson = nlohmann::json::parse(c.patch);
        for (auto &[k, v] : patchJson.items()) want[k] = v;
        EXPECT_EQ(nlohmann::json::parse(after.out), want) << c.record;
        EXPECT_EQ(want[c.field], c.value);
    }
    EXPECT_EQ(count_prefixed(lines_of(cam.dir.file("transfers.log")), "upload-mem type 2"), 1)
        << testsupport::read_file(cam.dir.file("transfers.log"));
}

// What info prints for each record is accepted back by set as it is, and nothing changes.
TEST(CliRecords, InfoOutputFedBackToSetIsAcceptedUnchanged) {
    Camera cam("127.0.0.83");
    ASSERT_TRUE(cam.vcam->ready());
    const clitest::Run info = sarvik(cam.dir, {"info", cam.ip});
    ASSERT_EQ(info.code, 0) << info.err;
    const auto all = nlohmann::json::parse(info.out);
    ASSERT_TRUE(all.contains("CameraBasicInfo") && all.contains("GB28181Block") && all.contains("FixDistBlock"));
    for (auto &[name, rec] : all.items()) {
        ASSERT_FALSE(rec.contains("error")) << name << " refused by the virtual camera";
        const std::string file = cam.dir.file(name + ".json");
        testsupport::write_file(file, rec.dump());
        const clitest::Run set = sarvik(cam.dir, {"set", cam.ip, name, file});
        EXPECT_EQ(set.code, 0) << name << ": " << set.err;
    }
    const clitest::Run again = sarvik(cam.dir, {"info", cam.ip});
    ASSERT_EQ(again.code, 0);
    EXPECT_EQ(nlohmann::json::parse(again.out), all);
}

struct BadInput {
    std::vector<std::string> args;  // {dir} is the test folder
    std::string content;            // written to {dir}/in.<ext> unless empty
    int code;
    const char *message;
};

// Bad record files and bad upload files end with one line naming the problem, and the camera gets no write.
TEST(CliRecords, BadInputIsRefusedWithOneLineAndTheCameraUntouched) {
    Camera cam("127.0.0.84");
    ASSERT_TRUE(cam.vcam->ready());
    const std::string d = cam.dir.path();
    mkdir((d + "/folder.json").c_str(), 0755);
    testsupport::write_file(d + "/junk.bin.cali", std::string("\x00\x01\x02", 3));
    std::string foreignBad(44, '\0');
    std::memcpy(&foreignBad[0], "OTHERCAM", 8);
    testsupport::write_file(d + "/foreign.bad", foreignBad);
    const BadInput cases[] = {
        {{"set", cam.ip, "CameraTimeInfo", d + "/in.json"}, R"({"foo": 1})", 3, "unknown field 'foo' in CameraTimeInfo"},
        {{"set", cam.ip, "CameraOSDInfo", d + "/in.json"}, R"({"loc_x": "12"})", 3, "field 'loc_x' in CameraOSDInfo"},
        {{"set", cam.ip, "CameraTimeInfo", d + "/in.json"}, "{\"ntpServer\": \"" + std::string(40, 'n') + "\"}", 3,
         "field 'ntpServer' in CameraTimeInfo: text of 40 bytes, at most 31 fit"},
        {{"set", cam.ip, "CameraTimeInfo", d + "/in.json"}, "\x89PNG\r\n", 3, "in.json: not JSON"},
        {{"set", cam.ip, "CameraTimeInfo", d + "/missing.json"}, "", 3, "missing.json: No such file"},
        {{"set", cam.ip, "CameraTimeInfo", d + "/folder.json"}, "", 3, "folder.json: not a regular file"},
        {{"set", cam.ip, "NoSuchInfo", d + "/in.json"}, "{}", 2, "unknown record 'NoSuchInfo'"},
        {{"upload", cam.ip, "bad", d + "/missing.bad"}, "", 3, "missing.bad: No such file"},
        {{"upload", cam.ip, "bad", d + "/foreign.bad"}, "", 3, "not a bad-pixel list of this camera"},
        {{"upload", cam.ip, "bin", d + "/junk.bin.cali"}, "", 3, "a .cali file, not a bin file"},
        {{"upload", cam.ip, "nonsense", d + "/foreign.bad"}, "", 2, "unknown file type 'nonsense'"},
    };
    for (const BadInput &c : cases) {
        if (!c.content.empty()) testsupport::write_file(d + "/in.json", c.content);
        const clitest::Run r = sarvik(cam.dir, c.args);
        EXPECT_EQ(r.code, c.code) << c.args[3] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(cam.recordWrites(), 0) << testsupport::read_file(cam.events());
    EXPECT_EQ(count_prefixed(lines_of(cam.dir.file("transfers.log")), "upload"), 0);
}

struct ControlCase {
    std::vector<std::string> action;
    int code;
    const char *event;  // the line the camera logs, or nullptr for none
};

TEST(CliControl, EachActionReachesTheCamera) {
    Camera cam("127.0.0.85", {"--software-id", "R160 GS 2.1"});
    Camera plain("127.0.0.86");
    ASSERT_TRUE(cam.vcam->ready() && plain.vcam->ready());
    const ControlCase cases[] = {
        {{"shutter", "close"}, 0, "control shutter close"},
        {{"shutter", "open"}, 0, "control shutter open"},
        {{"ffc"}, 0, "control ffc 1"},
        {{"gpio", "1", "on"}, 0, "ctlx gpio 0x02"},
        {{"gpio", "buzz", "on"}, 0, "ctlx gpio 0x12"},
        {{"gpio", "1", "off"}, 0, "ctlx gpio 0x10"},
        {{"gear", "2"}, 0, "ctlx gear 2"},
        {{"gear", "999"}, 1, nullptr},
        {{"ntp"}, 0, "ctlx ntp-sync"},
        {{"shutter", "ajar"}, 2, nullptr},
        {{"gpio", "7", "on"}, 2, nullptr},
    };
    for (const ControlCase &c : cases) {
        const size_t before = lines_of(cam.events()).size();
        std::vector<std::string> args = {"control", cam.ip};
        args.insert(args.end(), c.action.begin(), c.action.end());
        const clitest::Run r = sarvik(cam.dir, args);
        EXPECT_EQ(r.code, c.code) << c.action[0] << ": " << r.err;
        std::vector<std::string> added = lines_of(cam.events());
        added.erase(added.begin(), added.begin() + static_cast<long>(before));
        // Logging in sets the camera clock; that line is not the action's.
        added.erase(std::remove_if(added.begin(), added.end(),
                                   [](const std::string &l) { return l.rfind("ctlx clock-set", 0) == 0; }),
                    added.end());
        if (c.event) {
            ASSERT_EQ(added.size(), 1u) << c.action[0];
            EXPECT_EQ(added[0].rfind(c.event, 0), 0u) << added[0];
        } else {
            EXPECT_TRUE(added.empty()) << c.action[0] << ": " << added[0];
        }
    }
    // A camera without a motorised lens is told so instead of waiting for an answer that never comes.
    const clitest::Run gear = sarvik(plain.dir, {"control", plain.ip, "gear", "1"});
    EXPECT_EQ(gear.code, 1);
    EXPECT_NE(gear.err.find("no motorised lens"), std::string::npos) << gear.err;
}

// A timed recording and one cut short by SIGINT both leave a whole stream file with as many frames as the
// tool reports, and nothing partial beside it.
TEST(CliRecord, TimedAndInterruptedRecordingsAreWhole) {
    Camera cam("127.0.0.87");
    ASSERT_TRUE(cam.vcam->ready());
    const std::string timed = cam.dir.file("timed.stream");
    const clitest::Run r = sarvik(cam.dir, {"record", cam.ip, timed, "--seconds", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    const size_t at = r.err.find("written, ");
    ASSERT_NE(at, std::string::npos) << r.err;
    const int reported = std::stoi(r.err.substr(at + 9));
    EXPECT_GT(reported, 0);
    EXPECT_EQ(clitest::stream_frames(timed), reported);

    const std::string cut = cam.dir.file("cut.stream");
    const std::string errPath = cam.dir.file("cut.err");
    const std::vector<std::string> argv = {SARVIK_CLI_PROGRAM, "record", cam.ip, cut, "--seconds", "60"};
    std::vector<char *> cargv;
    for (const std::string &s : argv) cargv.push_back(const_cast<char *>(s.c_str()));
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, cargv[0], &fa, nullptr, cargv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&fa);
    // Interrupt once the partial file holds a few frames (160x120: 38400 + 128 bytes each).
    const std::string part = cut + ".part-" + std::to_string(pid);
    for (int i = 0; i < 300 && file_size(part) < 64 + 4 * 19200 + 1024 + 128 + 3 * 38528; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGINT);
    int status = -1;
    for (int i = 0; i < 300 && waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the recording did not end on SIGINT";
    }
    ASSERT_TRUE(WIFEXITED(status));
    const std::string err = testsupport::read_file(errPath);
    EXPECT_EQ(WEXITSTATUS(status), 0) << err;
    const size_t kept = err.find("interrupted: ");
    ASSERT_NE(kept, std::string::npos) << err;
    const int keptFrames = std::stoi(err.substr(kept + 13));
    EXPECT_GE(keptFrames, 3);
    EXPECT_EQ(clitest::stream_frames(cut), keptFrames);
    EXPECT_TRUE(clitest::partial_files(cam.dir.path()).empty());
}

// One line per camera in list order, the unreachable one FAILED with its reason, a count, exit 4; the
// per-camera outputs named by {ip}.
TEST(CliBatch, OneLinePerCameraInListOrderAndExit4OnFailure) {
    Camera a("127.0.0.88"), b("127.0.0.89");
    ASSERT_TRUE(a.vcam->ready() && b.vcam->ready());
    const std::string list = "127.0.0.89,127.0.0.97,127.0.0.88";
    const std::string snap = a.dir.file("shot-{ip}.jpg");
    const clitest::Run r = sarvik(a.dir, {"batch", "--cameras", list, "--jobs", "3", "snapshot", snap});
    EXPECT_EQ(r.code, 4) << r.err;
    const std::vector<std::string> expected = {"127.0.0.89 ok", "127.0.0.97 FAILED 199 login: cannot connect",
                                               "127.0.0.88 ok", "2 ok, 1 failed"};
    std::vector<std::string> got;
    for (size_t p = 0, n; p < r.out.size(); p = n + 1) got.push_back(r.out.substr(p, (n = r.out.find('\n', p)) - p));
    ASSERT_EQ(got.size(), expected.size()) << r.out;
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].rfind(expected[i], 0), 0u) << got[i];
    EXPECT_GT(file_size(a.dir.file("shot-127.0.0.88.jpg")), 0);
    EXPECT_GT(file_size(a.dir.file("shot-127.0.0.89.jpg")), 0);
    EXPECT_EQ(file_size(a.dir.file("shot-127.0.0.97.jpg")), -1);

    testsupport::write_file(a.dir.file("cams.txt"), "127.0.0.88\n# spare\n\n127.0.0.89\n");
    const clitest::Run ok = sarvik(a.dir, {"batch", "--cameras", "@" + a.dir.file("cams.txt"), "--save",
                                           a.dir.file("tz-{ip}.json"), "get", "CameraTimeInfo"});
    EXPECT_EQ(ok.code, 0) << ok.out << ok.err;
    EXPECT_EQ(ok.out, "127.0.0.88 ok\n127.0.0.89 ok\n2 ok, 0 failed\n");
    EXPECT_EQ(nlohmann::json::parse(testsupport::read_file(a.dir.file("tz-127.0.0.89.json")))["timeZone"],
              "Asia/Shanghai");
}

// A download the camera refuses leaves no file; one it serves appears whole.
TEST(CliTransfer, DownloadAppearsOnlyWhole) {
    Camera cam("127.0.0.90", {"--fault-cut-transfer", "10"});
    Camera good("127.0.0.91");
    ASSERT_TRUE(cam.vcam->ready() && good.vcam->ready());
    const clitest::Run cut = sarvik(cam.dir, {"download", cam.ip, "log", cam.dir.file("cam.log")});
    EXPECT_NE(cut.code, 0);
    EXPECT_EQ(file_size(cam.dir.file("cam.log")), -1);
    EXPECT_TRUE(clitest::partial_files(cam.dir.path()).empty());
    const clitest::Run ok = sarvik(good.dir, {"download", good.ip, "log", good.dir.file("cam.log")});
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_NE(testsupport::read_file(good.dir.file("cam.log")).find("VCAM0001"), std::string::npos);
}

TEST(CliDiscover, FindsTheCameraInAPrivateNetwork) {
    const std::string why = discovertest::enter_test_netns(discovertest::NetnsKind::Lan);
    if (!why.empty()) GTEST_SKIP() << why;
    Camera cam("127.0.0.92", {"--discovery", "--camera-id", "CLI-DISC-1"});
    ASSERT_TRUE(cam.vcam->ready());
    const clitest::Run r = sarvik(cam.dir, {"discover", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto found = nlohmann::json::parse(r.out);
    ASSERT_EQ(found.size(), 1u) << r.out;
    EXPECT_EQ(found[0]["cameraId"], "CLI-DISC-1");
    EXPECT_EQ(found[0]["address"], "127.0.0.92");
    EXPECT_EQ(found[0]["mac"].get<std::string>().size(), 17u);
}
