#include "hw_device.h"

#include "sff_log.h"

namespace sff {

AVHWDeviceType hwDeviceType(int deviceType) {
    switch (deviceType) {
        case 2:
            return AV_HWDEVICE_TYPE_CUDA;
        case 5:
            return AV_HWDEVICE_TYPE_QSV;
        case 7:
            return AV_HWDEVICE_TYPE_D3D11VA;
        default:
            return AV_HWDEVICE_TYPE_NONE;
    }
}

const char *hwDeviceName(int deviceType) {
    AVHWDeviceType type = hwDeviceType(deviceType);
    return type == AV_HWDEVICE_TYPE_NONE ? "software" : av_hwdevice_get_type_name(type);
}

AVBufferRef *openHwDevice(int deviceType, const char *caller) {
    if (deviceType == 0) return nullptr;
    AVHWDeviceType type = hwDeviceType(deviceType);
    if (type == AV_HWDEVICE_TYPE_NONE) {
        SFF_LOG_AS(caller, "unknown device type %d, using software", deviceType);
        return nullptr;
    }
    AVBufferRef *device = nullptr;
    int ret = av_hwdevice_ctx_create(&device, type, nullptr, nullptr, 0);
    if (ret < 0) {
        logHwFallback(caller, deviceType, AvErrText(ret).c_str());
        return nullptr;
    }
    return device;
}

void logHwFallback(const char *caller, int deviceType, const char *why) {
    SFF_LOG_AS(caller, "hardware device \"%s\" unavailable (%s), falling back to software",
               hwDeviceName(deviceType), why);
}

}  // namespace sff
