#include "sdk_config.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

namespace sarvik {

void sdkconfig_defaults(SdkConfig *cfg) {
    cfg->encoder = 0;
    cfg->decoder = 0;
    cfg->logPath[0] = '\0';
    cfg->syncTime = 1;
    cfg->previewEnableInterProcess = 1;
    cfg->previewEnableThread2 = 0;
}

int sdkconfig_device_number(const char *name) {
    if (!name) return 0;
    if (std::strcmp(name, "cuda") == 0) return 2;
    if (std::strcmp(name, "qsv") == 0) return 5;
    if (std::strcmp(name, "d3d11va") == 0) return 7;
    return 0;
}

namespace {

// Reads an integer key; false when present with another type.
bool read_int(const nlohmann::json &j, const char *key, int *out) {
    auto it = j.find(key);
    if (it == j.end()) return true;
    if (!it->is_number_integer()) return false;
    *out = it->get<int>();
    return true;
}

bool read_text(const nlohmann::json &j, const char *key, std::string *out, bool *present) {
    *present = false;
    auto it = j.find(key);
    if (it == j.end()) return true;
    if (!it->is_string()) return false;
    *out = it->get<std::string>();
    *present = true;
    return true;
}

}  // namespace

int sdkconfig_parse(const char *text, size_t len, SdkConfig *cfg) {
    nlohmann::json j = nlohmann::json::parse(text, text + len, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return -1;

    // Every key is checked before anything is stored, so a bad key leaves all defaults.
    SdkConfig next = *cfg;
    std::string encoder, decoder, log;
    bool hasEncoder = false, hasDecoder = false, hasLog = false;
    if (!read_text(j, "encoder", &encoder, &hasEncoder) || !read_text(j, "decoder", &decoder, &hasDecoder) ||
        !read_text(j, "log", &log, &hasLog) || !read_int(j, "syncTime", &next.syncTime) ||
        !read_int(j, "previewEnableInterProcess", &next.previewEnableInterProcess) ||
        !read_int(j, "previewEnableThread2", &next.previewEnableThread2)) {
        return -1;
    }
    next.encoder = hasEncoder ? sdkconfig_device_number(encoder.c_str()) : 0;
    next.decoder = hasDecoder ? sdkconfig_device_number(decoder.c_str()) : 0;
    next.logPath[0] = '\0';
    if (hasLog && !log.empty()) {
        // Over-long paths are cut to the field, as every text field of the record is.
        std::string path = log[0] == '/' ? log : std::string(next.exeDir) + "/" + log;
        std::snprintf(next.logPath, sizeof next.logPath, "%s", path.c_str());
    }
    *cfg = next;
    return 0;
}

void sdkconfig_load(SdkConfig *cfg, const char *exeDir) {
    std::snprintf(cfg->exeDir, sizeof cfg->exeDir, "%s", exeDir ? exeDir : "");
    sdkconfig_defaults(cfg);

    char path[kConfigTextSize + 32];
    std::snprintf(path, sizeof path, "%s/SarvikSDK.json", cfg->exeDir);
    FILE *f = std::fopen(path, "rb");
    if (!f) return;
    char text[kConfigTextSize];
    size_t n = std::fread(text, 1, sizeof text, f);
    std::fclose(f);
    if (n < 1 || n > static_cast<size_t>(kConfigMaxFileBytes)) return;
    sdkconfig_parse(text, n, cfg);
}

}  // namespace sarvik
