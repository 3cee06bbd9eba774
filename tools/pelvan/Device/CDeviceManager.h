// The list of cameras the user can pick from (filled by discovery or by typing an address) and the one
// live device of the tool.
#pragma once

#include <QFuture>
#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QStringList>

#include "SarvikSDK.h"

class CComEditor;
class CCustEditor;
class CDevice;
class CDeviceConfiger;
class CDeviceNode;
class CFixDistEditor;
class CWeiJuEditor;

class CDeviceManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QQmlListProperty<CDeviceNode> nodeList READ nodeListProperty NOTIFY nodeListChanged)
    Q_PROPERTY(CDevice *device READ device CONSTANT)
    // The camera configurator and the correction-file editors, each with a login of its own.
    Q_PROPERTY(CDeviceConfiger *deviceConfiger READ deviceConfiger CONSTANT)
    Q_PROPERTY(CCustEditor *custEditor READ custEditor CONSTANT)
    Q_PROPERTY(CWeiJuEditor *weijuEditor READ weijuEditor CONSTANT)
    Q_PROPERTY(CFixDistEditor *fixdistEditor READ fixdistEditor CONSTANT)
    Q_PROPERTY(CComEditor *comEditor READ comEditor CONSTANT)
    // 1 while a discovery runs (the search button shows it), else 0.
    Q_PROPERTY(int workState READ workState NOTIFY workStateChanged)

public:
    explicit CDeviceManager(QObject *parent = nullptr);
    ~CDeviceManager() override;

    // Registers the QML types of the device layer and initialises the device (chart series).
    void init();

    // Program options: addresses listed at start (kept in the list after every search) and whether the
    // start-up search runs at all. Set before the window is loaded.
    void setStartupOptions(const QStringList &cameras, bool discoveryAtStart);
    QStringList startupCameras() const { return m_startupCameras; }
    bool discoveryAtStart() const { return m_discoveryAtStart; }

    QQmlListProperty<CDeviceNode> nodeListProperty();
    const QList<CDeviceNode *> &nodes() const { return m_nodeList; }
    CDevice *device() const { return m_device; }
    CDeviceConfiger *deviceConfiger() const { return m_deviceConfiger; }
    CCustEditor *custEditor() const { return m_custEditor; }
    CWeiJuEditor *weijuEditor() const { return m_weijuEditor; }
    CFixDistEditor *fixdistEditor() const { return m_fixdistEditor; }
    CComEditor *comEditor() const { return m_comEditor; }
    int workState() const { return m_workState; }

    // What the main window runs once it is complete: the start-up cameras, then a search unless the
    // program was told to skip it.
    Q_INVOKABLE void node_startup();
    // Starts a discovery on the thread pool; does nothing while one runs.
    Q_INVOKABLE void node_refresh();
    // Appends a node with only its address set, unless one with that address is listed or a search runs.
    Q_INVOKABLE void node_create(const QString &ip);

    // Replaces the list by one node per discovery answer (in deviceId order), followed by the start-up
    // cameras the answers did not name, and emits nodeListChanged. The list stays the caller's. What the end
    // of a search does; public so that answers can be fed in without a network.
    void setDiscoveredNodes(const _DiscoverCameraNode *answers);

    // Inserts a node in deviceId order (strictly-less moves it forward; equal ids keep their order).
    static void sortedInsert(QList<CDeviceNode *> &list, CDeviceNode *node);

signals:
    void nodeListChanged();
    void workStateChanged();
    void qtc_workEnd(int flags);

private slots:
    void qtc_onWorkEnd(int flags);

private:
    void setWorkState(int v);
    // Appends a node for each start-up camera not listed yet; true when one was added.
    bool appendStartupCameras();

    QList<CDeviceNode *> m_nodeList;
    int m_workState = 0;
    _DiscoverCameraNode *m_discoverList = nullptr;  // owned until freed in qtc_onWorkEnd
    CDevice *m_device = nullptr;
    CDeviceConfiger *m_deviceConfiger = nullptr;
    CCustEditor *m_custEditor = nullptr;
    CWeiJuEditor *m_weijuEditor = nullptr;
    CFixDistEditor *m_fixdistEditor = nullptr;
    CComEditor *m_comEditor = nullptr;
    QStringList m_startupCameras;
    bool m_discoveryAtStart = true;
    QFuture<void> m_discoverTask;  // the running discovery, waited for by the destructor
};
