#include "CDeviceManager.h"

#include <QThreadPool>
#include <cstring>
#include <QtConcurrent>
#include <QtQml>

#include "CBatchRunner.h"
#include "CComEditor.h"
#include "CCustEditor.h"
#include "CDevice.h"
#include "CDeviceConfiger.h"
#include "CDeviceNode.h"
#include "CFixDistEditor.h"
#include "CWeiJuEditor.h"
#include "TempDataState.h"

namespace {

int nodeCount(QQmlListProperty<CDeviceNode> *p) {
    return static_cast<const QList<CDeviceNode *> *>(p->data)->size();
}

CDeviceNode *nodeAt(QQmlListProperty<CDeviceNode> *p, int i) {
    const auto *list = static_cast<const QList<CDeviceNode *> *>(p->data);
    return (i >= 0 && i < list->size()) ? list->at(i) : nullptr;
}

}  // namespace

CDeviceManager::CDeviceManager(QObject *parent)
    : QObject(parent),
      m_device(new CDevice(this)),
      m_deviceConfiger(new CDeviceConfiger(this)),
      m_custEditor(new CCustEditor(this)),
      m_weijuEditor(new CWeiJuEditor(this)),
      m_fixdistEditor(new CFixDistEditor(this)),
      m_comEditor(new CComEditor(this)) {
    // Automatic connection: queued when the discovery task emits it from a pool thread.
    connect(this, &CDeviceManager::qtc_workEnd, this, &CDeviceManager::qtc_onWorkEnd);
}

CDeviceManager::~CDeviceManager() {
    // The discovery task writes into this object: it must be over before the object goes.
    m_discoverTask.waitForFinished();
    if (m_discoverList) Sarvik_DiscoverCamerasFree(&m_discoverList);
    // The device first: it stops its preview while the rest of the application is still there.
    delete m_device;
    m_device = nullptr;
    // Their destructors log out whatever session they still hold.
    delete m_deviceConfiger;
    m_deviceConfiger = nullptr;
    delete m_custEditor;
    m_custEditor = nullptr;
    delete m_weijuEditor;
    m_weijuEditor = nullptr;
    delete m_fixdistEditor;
    m_fixdistEditor = nullptr;
    delete m_comEditor;
    m_comEditor = nullptr;
    qDeleteAll(m_nodeList);
    m_nodeList.clear();
}

void CDeviceManager::init() {
    static bool registered = false;
    if (!registered) {
        registered = true;
        const char *uri = "Sarvik";
        qmlRegisterType<CDeviceNode>(uri, 1, 0, "CDeviceNode");
        CDeviceConfiger::registerTypes();
        CCustEditor::registerTypes();
        CComEditor::registerTypes();
        CWeiJuEditor::registerTypes();
        CFixDistEditor::registerTypes();
        CBatchRunner::registerType();
        qmlRegisterType<CDeviceManager>(uri, 1, 0, "CDeviceManager");
        qmlRegisterUncreatableType<CDevice>(uri, 1, 0, "CDevice",
                                            QStringLiteral("the device belongs to the device manager"));
        qmlRegisterType<TempDataState>(uri, 1, 0, "TempDataState");
        CDeviceConfiger::registerRecordTypes();
    }
    m_device->init();
}

void CDeviceManager::setStartupOptions(const QStringList &cameras, bool discoveryAtStart) {
    m_startupCameras.clear();
    for (const QString &c : cameras) {
        const QString ip = c.trimmed();
        if (!ip.isEmpty() && !m_startupCameras.contains(ip)) m_startupCameras.append(ip);
    }
    m_discoveryAtStart = discoveryAtStart;
}

QQmlListProperty<CDeviceNode> CDeviceManager::nodeListProperty() {
    return QQmlListProperty<CDeviceNode>(this, &m_nodeList, &nodeCount, &nodeAt);
}

void CDeviceManager::setWorkState(int v) {
    if (m_workState == v) return;
    m_workState = v;
    emit workStateChanged();
}

void CDeviceManager::node_startup() {
    if (appendStartupCameras()) emit nodeListChanged();
    if (m_discoveryAtStart) node_refresh();
}

void CDeviceManager::node_refresh() {
    if (m_workState != 0) return;
    setWorkState(1);
    m_discoverTask = QtConcurrent::run(QThreadPool::globalInstance(), [this]() {
        m_discoverList = Sarvik_DiscoverCameras();
        emit qtc_workEnd(1);
    });
}

void CDeviceManager::qtc_onWorkEnd(int flags) {
    Q_UNUSED(flags);
    if (m_workState != 1) {
        setWorkState(0);
        return;
    }
    setDiscoveredNodes(m_discoverList);
    Sarvik_DiscoverCamerasFree(&m_discoverList);
    m_discoverList = nullptr;
    setWorkState(0);
}

void CDeviceManager::setDiscoveredNodes(const _DiscoverCameraNode *answers) {
    // QML delegates may still hold the old nodes until the list change reaches them.
    for (CDeviceNode *node : m_nodeList) node->deleteLater();
    m_nodeList.clear();
    for (const _DiscoverCameraNode *n = answers; n; n = n->next) {
        auto *node = new CDeviceNode(this);
        node->init(n->camera);
        sortedInsert(m_nodeList, node);
    }
    // Addresses named on the command line stay listed, after the cameras the search found.
    appendStartupCameras();
    emit nodeListChanged();
}

void CDeviceManager::node_create(const QString &ip) {
    if (m_workState != 0) return;
    const QString address = ip.trimmed();
    if (address.isEmpty()) return;
    for (const CDeviceNode *node : m_nodeList)
        if (node->deviceIp() == address) return;
    auto *node = new CDeviceNode(this);
    node->set_deviceIp(address);
    m_nodeList.append(node);
    emit nodeListChanged();
}

bool CDeviceManager::appendStartupCameras() {
    bool added = false;
    for (const QString &ip : m_startupCameras) {
        bool listed = false;
        for (const CDeviceNode *node : m_nodeList)
            if (node->deviceIp() == ip) listed = true;
        if (listed) continue;
        auto *node = new CDeviceNode(this);
        node->set_deviceIp(ip);
        m_nodeList.append(node);
        added = true;
    }
    return added;
}

void CDeviceManager::sortedInsert(QList<CDeviceNode *> &list, CDeviceNode *node) {
    list.append(node);
    // Plain text order of the identifiers: "A10" before "A9". Only a strictly smaller identifier moves
    // forward, so equal ones keep the order they arrived in.
    const QByteArray id = node->deviceId().toUtf8();
    int i = list.size() - 1;
    while (i > 0 && std::strcmp(id.constData(), list.at(i - 1)->deviceId().toUtf8().constData()) < 0) {
        list.swapItemsAt(i, i - 1);
        --i;
    }
}
