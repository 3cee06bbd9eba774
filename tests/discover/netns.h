// Private network namespaces for the discovery tests: broadcasts sent in them never reach a real network.
#pragma once

#include <cstdint>
#include <string>

namespace discovertest {

// Address of the PC side on the namespace's own network.
constexpr const char *kLanAddress = "10.77.0.1";

enum class NetnsKind {
    LoopbackOnly,  // lo up, no other interface
    Lan,           // lo plus a veth pair: v0 10.77.0.1/24 (default route), v1 up without an address
};

// Moves the calling thread (and the processes it starts from now on) into a new network namespace and
// sets it up. Returns "" on success, else why it could not be done (the caller skips the test).
std::string enter_test_netns(NetnsKind kind);

// Runs the ip tool with the arguments; its exit status, or -1 when there is no ip tool.
int run_ip(const std::string &args);

// Reads the camera's network record (message 11) over its command port; false when that fails.
bool read_network_record(const std::string &cameraIp, void *record52);

}  // namespace discovertest
