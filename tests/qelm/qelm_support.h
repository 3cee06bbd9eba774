// What the dual-light tool's tests share: the process state the devices need, bounded waits and the
// private network namespace of the fake visible camera.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <string>

// The SDK started once, the canvas manager made once, and getfn pointed at a save folder of this test's
// own (restored on destruction).
class QelmWorld {
public:
    QelmWorld();
    ~QelmWorld();
    QelmWorld(const QelmWorld &) = delete;
    QelmWorld &operator=(const QelmWorld &) = delete;

    QString saveDir() const { return m_saveDir; }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_saveDir;
};

// Runs the event loop until cond holds or timeoutMs passed; true when it holds.
bool waitUntil(const std::function<bool()> &cond, int timeoutMs);

// Moves this test process into a private network namespace with lo up and the visible camera's address
// (127.0.0.0/8) on lo, for the fake camera. "" on success, else why not (the test skips).
std::string enterCameraNetns(const std::string &visIp);
