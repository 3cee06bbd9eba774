// The application state the device tests run in, virtual cameras and bounded waits.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CDevice.h"
#include "CDeviceNode.h"
#include "vcam_process.h"

class CApp;

// A process-wide application singleton (configuration in a temporary folder) made current for one test:
// getfn names files in the test's own save folder, and the chart settings are the defaults (500 samples,
// one per second). The SDK is started once. Restores AppStatic::app on destruction.
class DeviceWorld {
public:
    DeviceWorld();
    ~DeviceWorld();
    DeviceWorld(const DeviceWorld &) = delete;
    DeviceWorld &operator=(const DeviceWorld &) = delete;

    CApp *app() const;
    QString saveDir() const { return m_saveDir; }
    // Points the configured save folder elsewhere (an unwritable place, for instance).
    void setSaveDir(const QString &dir);
    // The configured preview transport (0 TCP, 1 UDP).
    void setTransType(int type);
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_saveDir;
    CApp *m_savedApp;
    int m_savedFifo;
    int64_t m_savedInterval;
};

// Runs the event loop until cond holds or timeoutMs passed; true when it holds.
bool waitUntil(const std::function<bool()> &cond, int timeoutMs);

// A device of its own (chart series made), stopped and deleted by its owner.
std::unique_ptr<CDevice> makeDevice();

// startWork on a node with this address, then the wait for the start task's end (bounded). True when the
// device is working afterwards.
bool startOn(CDevice *device, CDeviceNode *node, const QString &ip, int timeoutMs = 15000);
// stopWork and the wait for the stop task's end; true when the device is idle in time.
bool stopAndWait(CDevice *device, int timeoutMs = 10000);
// Waits until the device has shown at least n frames since its start.
bool waitFrames(CDevice *device, unsigned n, int timeoutMs = 15000);

// A virtual camera on 127.0.31.<host> (the range the device tests own), 384 x 288 unless args say otherwise.
std::unique_ptr<testsupport::VcamProcess> startVcam(int host, std::vector<std::string> args = {});
QString vcamIp(int host);

// Collects the Qt messages of its lifetime (and passes them on to the handler before it).
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    QStringList lines() const;
    bool contains(const QString &text) const;
};

// Records each emission of one signal with its arguments, while it lives (a QSignalSpy without QtTest).
class SignalLog {
public:
    template <class Obj, class... Args>
    SignalLog(Obj *sender, void (Obj::*signal)(Args...)) {
        QObject::connect(sender, signal, &m_context,
                         [this](Args... a) { m_calls.append(QVariantList{QVariant::fromValue(a)...}); });
    }
    int count() const { return m_calls.size(); }
    const QVariantList &at(int i) const { return m_calls.at(i); }
    void clear() { m_calls.clear(); }

private:
    QObject m_context;  // ends the connection with the log
    QList<QVariantList> m_calls;
};

// Whole file as bytes (empty when it cannot be read).
QByteArray readFile(const QString &path);
