#include "CDeviceNode.h"

#include <cstring>

namespace {

// A fixed-size text field of a camera record: up to its first zero byte, never past its end.
QString fieldText(const char *field, size_t size) {
    return QString::fromUtf8(field, static_cast<int>(strnlen(field, size)));
}

}  // namespace

CDeviceNode::CDeviceNode(QObject *parent) : QObject(parent) {}

void CDeviceNode::init(const _DiscoverCameraResp2 &answer) {
    const uint32_t ip = answer.cameraIp;
    set_deviceIp(QStringLiteral("%1.%2.%3.%4")
                     .arg((ip >> 24) & 0xFF)
                     .arg((ip >> 16) & 0xFF)
                     .arg((ip >> 8) & 0xFF)
                     .arg(ip & 0xFF));
    set_deviceId(fieldText(answer.basicInfo.cameraId, sizeof(answer.basicInfo.cameraId)));
    set_softwareId(fieldText(answer.basicInfo.softwareId, sizeof(answer.basicInfo.softwareId)));
    set_fpaId(fieldText(answer.basicInfo.fpaId, sizeof(answer.basicInfo.fpaId)));
    set_edit_select(false);
}

#define NODE_SETTER(name, type)                   \
    void CDeviceNode::set_##name(type v) {        \
        if (m_##name == v) return;                \
        m_##name = v;                             \
        emit name##Changed();                     \
    }

NODE_SETTER(edit_select, bool)
NODE_SETTER(edit_info, const QString &)
NODE_SETTER(deviceId, const QString &)
NODE_SETTER(deviceIp, const QString &)
NODE_SETTER(softwareId, const QString &)
NODE_SETTER(fpaId, const QString &)

#undef NODE_SETTER
