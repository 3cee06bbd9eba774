// Record reads and writes on a session's command port: the one exchange shape behind every get/set call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

namespace sarvik {

// Resolves the user id and runs one command-channel exchange with the session's camera. respCap may be 0
// for one-way requests. -4 or -10 before anything is sent, else the channel's status.
int session_exchange(int userId, const void *req, void *resp, int respCap);

// Sends the bare get request and copies the record part of the answer (size bytes) into record; the record
// is not touched on failure.
int record_get(int userId, uint16_t getType, void *record, size_t size);

// Sends header plus record and waits for the bare acknowledgement.
int record_set(int userId, uint16_t setType, const void *record, size_t size);

// The plug-in exchange (message 48): operation word 0 reads into *info, 2 writes *info. The answer's status
// word must repeat the operation, else -2 and *info is untouched.
int plugin_exchange(int userId, int32_t operation, _CameraPluginInfo *info);

}  // namespace sarvik
