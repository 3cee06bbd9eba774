// Virtual cameras and scripted peers for the records tests. Every test owns its own address 127.0.1.N, so
// the tests run in parallel without sharing a camera.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SarvikSDK.h"
#include "scripted_peer.h"
#include "temp_dir.h"
#include "vcam_process.h"

namespace recordstest {

std::string host(int n);

// The SDK started for the test, a virtual camera on 127.0.1.N with a request log and an event log, and a
// session on it.
class CameraTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the camera (extra vcam arguments in args) and logs in; id_ holds the user id.
    void start_camera(int n, const std::vector<std::string> &args = {});
    // Logs out and stops the camera; the logs stay readable.
    void stop_camera();
    // Request types the camera received so far, in order.
    std::vector<uint16_t> requests() const;
    // Waits (bounded) until a line of the event log contains text.
    bool wait_event(const std::string &text, int timeoutMs = 3000) const;
    std::string events() const;

    testsupport::TempDir dir_;
    std::unique_ptr<testsupport::VcamProcess> cam_;
    std::string ip_;
    std::string requestLog_, eventLog_;
    int id_ = -1;
};

// What a peer standing in for a camera answers to everything but login.
using PeerRest = std::function<testsupport::PeerReply(uint16_t type, const std::vector<uint8_t> &request)>;

// A scripted camera: answers login's two record requests with a plausible camera, ignores the one-way
// time set, and hands every other request to rest.
testsupport::ScriptedPeer::Script scripted_camera(PeerRest rest);

// Logs in to a camera at ip (the SDK must be started); the user id or a status.
int login(const std::string &ip);

// One exchange over a raw connection, without the SDK; the whole answer until the camera closes.
std::vector<uint8_t> raw_exchange(const std::string &ip, const std::vector<uint8_t> &request);

// A message: header (type, total length) and body.
std::vector<uint8_t> message(uint16_t type, const void *body, size_t size);

template <typename T>
std::vector<uint8_t> bytes_of(const T &r) {
    const auto *p = reinterpret_cast<const uint8_t *>(&r);
    return std::vector<uint8_t>(p, p + sizeof r);
}

template <typename T>
T record_of(const std::vector<uint8_t> &bytes, size_t offset = 0) {
    T r;
    std::memset(&r, 0, sizeof r);
    if (bytes.size() >= offset + sizeof r) std::memcpy(&r, bytes.data() + offset, sizeof r);
    return r;
}

}  // namespace recordstest
