// discover: the cameras on the local networks, by the SDK's broadcast discovery.
#include <CLI/CLI.hpp>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "cam_session.h"
#include "cli_common.h"

namespace cli {

namespace {

std::string text(const char *s, size_t n) { return std::string(s, strnlen(s, n)); }

std::string dotted(uint32_t ip) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", ip >> 24, (ip >> 16) & 255, (ip >> 8) & 255, ip & 255);
    return buf;
}

// The MAC address is not part of a discovery answer: it comes from the camera's network record.
std::string macOf(const std::string &address) {
    _LoginInfo li{};
    std::snprintf(li.ip, sizeof li.ip, "%s", address.c_str());
    _CameraBasicInfo b{};
    const int user = Sarvik_Login(&li, &b);
    if (user < 0) return "-";
    _CameraNetworkInfo n{};
    const int r = Sarvik_GetCameraNetworkInfo(user, &n);
    Sarvik_Logout(user);
    if (r != 0) return "-";
    char buf[18];
    std::snprintf(buf, sizeof buf, "%02x:%02x:%02x:%02x:%02x:%02x", n.macAddr[0], n.macAddr[1], n.macAddr[2],
                  n.macAddr[3], n.macAddr[4], n.macAddr[5]);
    return buf;
}

int runDiscover(bool asJson, int timeoutMs) {
    Sdk sdk;
    if (sdk.status() != 0) return exitCodeOf(sdk.status());

    // The SDK's discovery takes at least 4 s and ends when the network is quiet; the time-out bounds a
    // network that never is.
    struct Shared {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        _DiscoverCameraNode *list = nullptr;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared] {
        _DiscoverCameraNode *l = Sarvik_DiscoverCameras();
        std::lock_guard<std::mutex> lock(shared->m);
        shared->list = l;
        shared->done = true;
        shared->cv.notify_all();
    }).detach();
    _DiscoverCameraNode *list = nullptr;
    {
        std::unique_lock<std::mutex> lock(shared->m);
        if (!shared->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return shared->done; })) {
            message("discovery did not end within " + std::to_string(timeoutMs) + " ms");
            std::fflush(stdout);
            // The discovery thread is still inside the SDK: leave without tearing it down under it.
            std::_Exit(EXIT_FAIL);
        }
        list = shared->list;
    }

    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    if (!asJson)
        std::printf("%-15s  %-20s  %-12s  %-20s  %s\n", "ADDRESS", "CAMERA ID", "MODEL", "VERSION", "MAC");
    int count = 0;
    for (const _DiscoverCameraNode *n = list; n; n = n->next) {
        const _CameraBasicInfo &b = n->camera.basicInfo;
        const std::string address = dotted(n->camera.cameraIp);
        const std::string id = text(b.cameraId, sizeof b.cameraId), model = text(b.cameraType, sizeof b.cameraType),
                          version = text(b.softwareId, sizeof b.softwareId), mac = macOf(address);
        ++count;
        if (asJson) {
            all.push_back({{"address", address},
                           {"cameraId", id},
                           {"cameraName", text(b.cameraName, sizeof b.cameraName)},
                           {"model", model},
                           {"version", version},
                           {"hardwareId", text(b.hardwareId, sizeof b.hardwareId)},
                           {"fpaId", text(b.fpaId, sizeof b.fpaId)},
                           {"width", b.dataWidth},
                           {"height", b.dataHeight},
                           {"mac", mac}});
        } else {
            std::printf("%-15s  %-20s  %-12s  %-20s  %s\n", address.c_str(), id.c_str(), model.c_str(),
                        version.c_str(), mac.c_str());
        }
    }
    Sarvik_DiscoverCamerasFree(&list);
    if (asJson) {
        std::printf("%s\n", dumpJson(all).c_str());
    } else {
        std::fflush(stdout);
        message(std::to_string(count) + (count == 1 ? " camera" : " cameras") + " found");
    }
    return std::fflush(stdout) == 0 ? EXIT_OK : EXIT_FAIL;
}

}  // namespace

void addDiscoverCommand(CLI::App &app, int &result) {
    auto asJson = std::make_shared<bool>(false);
    auto timeoutMs = std::make_shared<int>(20000);
    CLI::App *sub = app.add_subcommand("discover", "Finds the cameras on the local networks");
    sub->footer("UDP broadcast on every interface; takes at least 4 s. Lists address, camera id, model, firmware\n"
                "version and MAC address (read from each camera's network record; \"-\" when it does not answer).");
    sub->add_flag("--json", *asJson, "a JSON array instead of the table");
    sub->add_option("--timeout-ms", *timeoutMs, "give up after this long (default 20000)")
        ->check(CLI::Range(1000, 600000));
    sub->callback([&result, asJson, timeoutMs] { result = runDiscover(*asJson, *timeoutMs); });
}

}  // namespace cli
