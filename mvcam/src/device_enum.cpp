// Device lists: GigE Vision by discovery, USB3 Vision through Aravis's USB interface.
#include <cstring>

#include "mvcc_internal.h"

namespace mvcc {
namespace {

constexpr int kBroadcastAnswerMs = 1000;
constexpr unsigned kMaxUnicastMs = 10000;

std::mutex gUsbListLock;

void copy_text(char *dst, size_t size, const char *src) {
    std::memset(dst, 0, size);
    if (src) std::strncpy(dst, src, size - 1);
}

void list_usb3(MV_CC_DEVICE_INFO_LIST *list) {
    std::lock_guard<std::mutex> g(gUsbListLock);
    ArvInterface *uv = arv_uv_interface_get_instance();
    if (!uv) return;
    arv_interface_update_device_list(uv);
    const unsigned n = arv_interface_get_n_devices(uv);
    for (unsigned i = 0; i < n && list->nDeviceNum < MVCC_MAX_DEVICES; ++i) {
        MV_CC_DEVICE_INFO &d = list->stDevice[list->nDeviceNum++];
        std::memset(&d, 0, sizeof d);
        d.nTransport = MVCC_TRANSPORT_USB3;
        copy_text(d.info.usb3.chSerialNumber, sizeof d.info.usb3.chSerialNumber,
                  arv_interface_get_device_serial_nbr(uv, i));
        copy_text(d.info.usb3.chVendor, sizeof d.info.usb3.chVendor, arv_interface_get_device_vendor(uv, i));
        copy_text(d.info.usb3.chModel, sizeof d.info.usb3.chModel, arv_interface_get_device_model(uv, i));
        copy_text(d.info.usb3.chDeviceId, sizeof d.info.usb3.chDeviceId, arv_interface_get_device_id(uv, i));
    }
}

}  // namespace
}  // namespace mvcc

using namespace mvcc;

extern "C" {

int MV_CC_EnumDevices(unsigned int nTransports, MV_CC_DEVICE_INFO_LIST *pList) {
    if (!pList) return MVCC_E_PARAMETER;
    std::memset(pList, 0, sizeof *pList);
    if (!nTransports || (nTransports & ~(MVCC_TRANSPORT_GIGE | MVCC_TRANSPORT_USB3))) return MVCC_E_SUPPORT;
    if (nTransports & MVCC_TRANSPORT_GIGE) {
        const int r = gige_discover(0, kBroadcastAnswerMs, pList);
        if (r != MVCC_OK) return r;
    }
    if (nTransports & MVCC_TRANSPORT_USB3) list_usb3(pList);
    return MVCC_OK;
}

int MV_CC_EnumDevicesUnicast(unsigned int nIp, unsigned int nTimeoutMs, MV_CC_DEVICE_INFO_LIST *pList) {
    if (!pList || nIp == 0 || nIp == 0xFFFFFFFFu) return MVCC_E_PARAMETER;
    std::memset(pList, 0, sizeof *pList);
    if (nTimeoutMs == 0) nTimeoutMs = 1000;
    if (nTimeoutMs > kMaxUnicastMs) nTimeoutMs = kMaxUnicastMs;
    return gige_discover(nIp, static_cast<int>(nTimeoutMs), pList);
}

}  // extern "C"
