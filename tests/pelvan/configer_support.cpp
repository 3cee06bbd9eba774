#include "configer_support.h"

#include <QDir>
#include <QFile>

#include <cstring>

#include "CDeviceNode.h"

namespace {

QStringList lines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

ConfigerCam::ConfigerCam(int host, const QString &dir, std::vector<std::string> args)
    : m_ip(QStringLiteral("127.0.35.%1").arg(host)),
      m_eventLog(QDir(dir).filePath(QStringLiteral("events-%1.log").arg(host))),
      m_requestLog(QDir(dir).filePath(QStringLiteral("requests-%1.log").arg(host))),
      m_transferLog(QDir(dir).filePath(QStringLiteral("transfers-%1.log").arg(host))) {
    args.insert(args.end(), {"--size", "160x120", "--fps", "1", "--restart-ms", "100", "--event-log",
                             m_eventLog.toStdString(), "--request-log", m_requestLog.toStdString(),
                             "--transfer-log", m_transferLog.toStdString()});
    m_proc = std::make_unique<testsupport::VcamProcess>(m_ip.toStdString(), args);
}

QStringList ConfigerCam::events() const {
    return lines(m_eventLog);
}

QStringList ConfigerCam::requests() const {
    return lines(m_requestLog);
}

QStringList ConfigerCam::transfers() const {
    return lines(m_transferLog);
}

int ConfigerCam::requestCount(int type) const {
    int n = 0;
    for (const QString &l : requests())
        if (l.section(QLatin1Char(' '), 0, 0).toInt() == type) ++n;
    return n;
}

std::unique_ptr<CDeviceNode> nodeFor(const QString &ip) {
    auto node = std::make_unique<CDeviceNode>();
    node->set_deviceIp(ip);
    return node;
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray badPixelList(const QByteArray &cameraId, int width, int height, const std::vector<int> &xy) {
    QByteArray out(44, '\0');
    std::memcpy(out.data(), cameraId.constData(), std::min<size_t>(cameraId.size(), 31));
    const int32_t head[3] = {width, height, static_cast<int32_t>(xy.size() / 2)};
    std::memcpy(out.data() + 32, head, sizeof head);
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        const uint16_t p[2] = {static_cast<uint16_t>(xy[i]), static_cast<uint16_t>(xy[i + 1])};
        out.append(reinterpret_cast<const char *>(p), sizeof p);
    }
    return out;
}
