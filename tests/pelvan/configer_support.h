// Virtual cameras of the configurator tests (127.0.35.x) and the logs they keep.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "vcam_process.h"

class CDeviceNode;

// A virtual camera on 127.0.35.<host> with an event, request and transfer log in a folder of its own.
class ConfigerCam {
public:
    ConfigerCam(int host, const QString &dir, std::vector<std::string> args = {});
    bool ready() const { return m_proc && m_proc->ready(); }
    QString ip() const { return m_ip; }
    // Lines of each log so far.
    QStringList events() const;
    QStringList requests() const;
    QStringList transfers() const;
    // How many requests of this message type the camera received.
    int requestCount(int type) const;

private:
    QString m_ip;
    QString m_eventLog, m_requestLog, m_transferLog;
    std::unique_ptr<testsupport::VcamProcess> m_proc;
};

// A node naming the address, owned by the caller.
std::unique_ptr<CDeviceNode> nodeFor(const QString &ip);

// Writes bytes to a file; true when all were written.
bool writeBytes(const QString &path, const QByteArray &bytes);

// A bad-pixel list: identifier, detector size and the given points (x, y pairs).
QByteArray badPixelList(const QByteArray &cameraId, int width, int height, const std::vector<int> &xy);
