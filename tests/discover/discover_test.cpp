// Discovery and address change through the public interface, against virtual cameras inside a private
// network namespace (each test case runs in a process of its own, so each gets its own namespace).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "netns.h"
#include "temp_dir.h"
#include "vcam_process.h"

using namespace discovertest;
using testsupport::TempDir;
using testsupport::VcamProcess;

namespace {

struct Found {
    std::string id, name;
    uint32_t ip;
};

std::string text32(const char *field) { return std::string(field, strnlen(field, 32)); }

uint32_t ip_of(const char *dotted) {
    in_addr a{};
    inet_pton(AF_INET, dotted, &a);
    return ntohl(a.s_addr);
}

// Copies the list for checking, then hands it back to the library.
std::vector<Found> discover_all() {
    _DiscoverCameraNode *head = Sarvik_DiscoverCameras();
    std::vector<Found> found;
    for (const _DiscoverCameraNode *n = head; n; n = n->next)
        found.push_back({text32(n->camera.basicInfo.cameraId), text32(n->camera.basicInfo.cameraName),
                         n->camera.cameraIp});
    Sarvik_DiscoverCamerasFree(&head);
    EXPECT_EQ(head, nullptr);
    return found;
}

_DiscoverConfigIPInfo config_request(const char *cameraId, const char *newIp) {
    _DiscoverConfigIPInfo req;
    std::memset(&req, 0, sizeof req);
    std::strncpy(req.cameraId, cameraId, sizeof req.cameraId);
    req.network.useStaticIp = 1;
    req.network.staticIp = ip_of(newIp);
    req.network.subnetMask = ip_of("255.255.255.0");
    req.network.gateway = ip_of("10.77.0.254");
    req.network.mtu = 1400;
    req.network.dns = ip_of("10.77.0.53");
    return req;
}

// Virtual cameras of one test, each with its own address and options.
class Cameras {
public:
    void add(const std::string &ip, const std::string &id, const std::string &name,
             std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--discovery", "--camera-id", id, "--name", name};
        args.insert(args.end(), extra.begin(), extra.end());
        cams_.push_back(std::make_unique<VcamProcess>(ip, args));
        ASSERT_TRUE(cams_.back()->ready()) << "camera " << id << " on " << ip;
    }

private:
    std::vector<std::unique_ptr<VcamProcess>> cams_;
};

class DiscoverInNamespace : public ::testing::Test {
protected:
    virtual NetnsKind kind() const { return NetnsKind::Lan; }
    void SetUp() override {
        std::string why = enter_test_netns(kind());
        if (!why.empty()) GTEST_SKIP() << why;
        ASSERT_EQ(Sarvik_InitSDK(), 0);
        started_ = true;
    }
    void TearDown() override {
        if (started_) Sarvik_FreeSDK();
    }
    bool started_ = false;
};

class DiscoverLoopbackOnly : public DiscoverInNamespace {
protected:
    NetnsKind kind() const override { return NetnsKind::LoopbackOnly; }
};

}  // namespace

TEST(DiscoverUnstarted, NothingBeforeInit) {
    EXPECT_EQ(Sarvik_DiscoverCameras(), nullptr);
    _DiscoverConfigIPInfo req = config_request("ANY", "10.77.0.9");
    EXPECT_EQ(Sarvik_DiscoverConfigIP(&req), SARVIK_ERR_NOT_INIT);
}

TEST(DiscoverUnstarted, FreeIgnoresEmptyInput) {
    Sarvik_DiscoverCamerasFree(nullptr);
    _DiscoverCameraNode *head = nullptr;
    Sarvik_DiscoverCamerasFree(&head);
    EXPECT_EQ(head, nullptr);
}

// One discovery covers the merge rules: both passes collected, pass 1 first, one entry per cameraId with
// the first answer's data.
TEST_F(DiscoverInNamespace, BothPassesMergedOneEntryPerCameraId) {
    Cameras cams;
    cams.add("127.0.2.11", "CAM-BOTH", "answers-both");
    cams.add("127.0.2.12", "CAM-DUP", "dup-first", {"--discovery-route", "0"});
    cams.add("127.0.2.13", "CAM-DUP", "dup-late", {"--discovery-route", "0", "--discovery-delay", "800"});
    cams.add("127.0.2.14", "CAM-SPLIT", "split-pass1", {"--discovery-route", "0", "--discovery-delay", "200"});
    cams.add("127.0.2.15", "CAM-SPLIT", "split-pass2", {"--discovery-route", "1"});
    cams.add("127.0.2.16", "CAM-PASS2", "pass2-only", {"--discovery-route", "1"});
    if (HasFatalFailure()) return;

    std::vector<Found> found = discover_all();
    std::map<std::string, Found> byId;
    for (const Found &f : found) {
        EXPECT_TRUE(byId.emplace(f.id, f).second) << "listed twice: " << f.id;
    }
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(byId["CAM-BOTH"].name, "answers-both");
    EXPECT_EQ(byId["CAM-BOTH"].ip, ip_of("127.0.2.11"));
    EXPECT_EQ(byId["CAM-DUP"].name, "dup-first") << "the later answer of a duplicate id is dropped";
    EXPECT_EQ(byId["CAM-DUP"].ip, ip_of("127.0.2.12"));
    EXPECT_EQ(byId["CAM-SPLIT"].name, "split-pass1") << "an id answered in both passes keeps its pass-1 entry";
    EXPECT_EQ(byId["CAM-PASS2"].ip, ip_of("127.0.2.16"));
    EXPECT_EQ(found.back().id, "CAM-PASS2") << "pass-2 answers follow those of pass 1";
}

// Cameras answer 0, 800 (after a stray datagram) and 1600 ms late in each pass: only the first is kept.
TEST_F(DiscoverInNamespace, StrayDatagramEndsEachPass) {
    Cameras cams;
    cams.add("127.0.2.21", "P1-EARLY", "p1", {"--discovery-route", "0"});
    cams.add("127.0.2.22", "P1-STRAY", "p1", {"--discovery-route", "0", "--discovery-delay", "800", "--discovery-stray"});
    cams.add("127.0.2.23", "P1-LATE", "p1", {"--discovery-route", "0", "--discovery-delay", "1600"});
    cams.add("127.0.2.24", "P2-EARLY", "p2", {"--discovery-route", "1"});
    cams.add("127.0.2.25", "P2-STRAY", "p2", {"--discovery-route", "1", "--discovery-delay", "800", "--discovery-stray"});
    cams.add("127.0.2.26", "P2-LATE", "p2", {"--discovery-route", "1", "--discovery-delay", "1600"});
    if (HasFatalFailure()) return;

    std::vector<Found> found = discover_all();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].id, "P1-EARLY");
    EXPECT_EQ(found[1].id, "P2-EARLY");
}

TEST_F(DiscoverInNamespace, AddressChangeConfirmedByTheNamedCamera) {
    Cameras cams;
    cams.add("127.0.2.31", "CAM-TARGET", "target");
    cams.add("127.0.2.32", "CAM-OTHER", "other");
    if (HasFatalFailure()) return;
    _CameraNetworkInfo otherBefore;
    ASSERT_TRUE(read_network_record("127.0.2.32", &otherBefore));

    _DiscoverConfigIPInfo req = config_request("CAM-TARGET", "10.77.0.99");
    EXPECT_EQ(Sarvik_DiscoverConfigIP(&req), 0);

    _CameraNetworkInfo target, other;
    ASSERT_TRUE(read_network_record("127.0.2.31", &target));
    EXPECT_EQ(target.useStaticIp, 1);
    EXPECT_EQ(target.staticIp, ip_of("10.77.0.99"));
    EXPECT_EQ(target.gateway, ip_of("10.77.0.254"));
    EXPECT_EQ(target.mtu, 1400);
    ASSERT_TRUE(read_network_record("127.0.2.32", &other));
    EXPECT_EQ(std::memcmp(&other, &otherBefore, sizeof other), 0) << "only the named camera changes";
}

TEST_F(DiscoverInNamespace, AnswerNamingAnotherCameraFails) {
    Cameras cams;
    cams.add("127.0.2.41", "CAM-M", "mismatch", {"--discovery-ack-id", "CAM-SOMEONE-ELSE"});
    if (HasFatalFailure()) return;
    _DiscoverConfigIPInfo req = config_request("CAM-M", "10.77.0.98");
    EXPECT_EQ(Sarvik_DiscoverConfigIP(&req), SARVIK_ERR_RECV);
    _CameraNetworkInfo applied;
    ASSERT_TRUE(read_network_record("127.0.2.41", &applied));
    EXPECT_EQ(applied.staticIp, ip_of("10.77.0.98")) << "the camera applied it all the same";
}

TEST_F(DiscoverInNamespace, NoAnswerFailsAndNullRequestSendsNothing) {
    TempDir dir;
    Cameras cams;
    cams.add("127.0.2.51", "CAM-N", "n", {"--request-log", dir.file("requests.txt")});
    if (HasFatalFailure()) return;

    EXPECT_EQ(Sarvik_DiscoverConfigIP(nullptr), 0);
    _DiscoverConfigIPInfo req = config_request("NOBODY", "10.77.0.97");
    EXPECT_EQ(Sarvik_DiscoverConfigIP(&req), SARVIK_ERR_RECV);
    // The camera heard exactly one address change: the null request sent nothing.
    EXPECT_EQ(testsupport::read_file(dir.file("requests.txt")), "82 88\n");
}

// With the answer port taken by a program that does not share it, only the first pass remains.
TEST_F(DiscoverInNamespace, AnswerPortTakenLeavesFirstPassOnly) {
    Sarvik_FreeSDK();
    started_ = false;
    int squatter = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(55511);
    ASSERT_EQ(bind(squatter, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    ASSERT_EQ(Sarvik_InitSDK(), 0) << "a missing answer socket does not fail start-up";
    started_ = true;

    Cameras cams;
    cams.add("127.0.2.61", "ROUTE0", "r0", {"--discovery-route", "0"});
    cams.add("127.0.2.62", "ROUTE1", "r1", {"--discovery-route", "1"});
    if (HasFatalFailure()) {
        close(squatter);
        return;
    }
    _DiscoverConfigIPInfo req = config_request("ROUTE0", "10.77.0.96");
    EXPECT_EQ(Sarvik_DiscoverConfigIP(&req), SARVIK_ERR_STATE);
    std::vector<Found> found = discover_all();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].id, "ROUTE0");
    close(squatter);
}

TEST_F(DiscoverLoopbackOnly, NothingGoesOutWithoutAnInterface) {
    TempDir dir;
    Cameras cams;
    cams.add("127.0.2.71", "CAM-LO", "lo", {"--request-log", dir.file("requests.txt")});
    if (HasFatalFailure()) return;

    _DiscoverConfigIPInfo req = config_request("CAM-LO", "10.77.0.95");
    EXPECT_EQ(Sarvik_DiscoverConfigIP(&req), SARVIK_ERR_SEND);
    EXPECT_EQ(Sarvik_DiscoverCameras(), nullptr);
    EXPECT_EQ(testsupport::read_file(dir.file("requests.txt")), "") << "no request reached the camera";
}
