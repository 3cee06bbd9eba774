#include "CComEditor.h"

#include <QQmlEngine>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "CCustEditor.h"
#include "zq_base.h"

namespace {

constexpr int kErrNoMemory = -5;
constexpr int kErrFormat = -194;
constexpr int kErrOpen = -200;

template <typename T>
T readLe(const uint8_t *p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void writeLe(uint8_t *p, T v) {
    std::memcpy(p, &v, sizeof v);
}

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};

bool inU16(int v) {
    return v >= 0 && v <= 0xFFFF;
}

}  // namespace

void CComPoint::setX(int x) {
    editorSet(this, m_x, x, &CComPoint::xChanged);
}
void CComPoint::setY(int y) {
    editorSet(this, m_y, y, &CComPoint::yChanged);
}

CComEditor::CComEditor(QObject *parent) : QObject(parent) {}

CComEditor::~CComEditor() = default;

void CComEditor::registerTypes() {
    const char *uri = "Sarvik";
    qmlRegisterType<CComEditor>(uri, 1, 0, "CComEditor");
    qmlRegisterType<CComPoint>(uri, 1, 0, "CComPoint");
}

void CComEditor::setDeviceId(const QString &id) {
    editorSet(this, m_deviceId, id, &CComEditor::deviceIdChanged);
}
void CComEditor::setDeviceWidth(int w) {
    editorSet(this, m_deviceWidth, w, &CComEditor::deviceWidthChanged);
}
void CComEditor::setDeviceHeight(int h) {
    editorSet(this, m_deviceHeight, h, &CComEditor::deviceHeightChanged);
}

QQmlListProperty<CComPoint> CComEditor::pointListProperty() {
    return QQmlListProperty<CComPoint>(this, &m_points);
}

int CComEditor::load(const QString &path) {
    // One byte beyond the largest list tells a longer file from a full one.
    std::unique_ptr<uint8_t, FreeDeleter> buf(static_cast<uint8_t *>(std::malloc(FILE_MAX + 1)));
    if (!buf) return kErrNoMemory;
    FILE *f = fopen_utf8(path.toUtf8().constData(), "rb");
    if (!f) return kErrOpen;
    const size_t len = std::fread(buf.get(), 1, FILE_MAX + 1, f);
    std::fclose(f);
    if (len < size_t(HEADER_SIZE)) return kErrFormat;
    const uint8_t *data = buf.get();
    const int32_t count = readLe<int32_t>(data + 40);
    // The count is checked against what was read before a single point is taken from the buffer.
    if (count < 0 || count > POINT_MAX || len != size_t(HEADER_SIZE) + 4 * size_t(count)) return kErrFormat;
    QList<QPair<int, int>> points;
    for (int i = 0; i < count; ++i) {
        const uint8_t *p = data + HEADER_SIZE + 4 * i;
        const QPair<int, int> pt(readLe<uint16_t>(p), readLe<uint16_t>(p + 2));
        // A list with a point twice is not one this editor could have written.
        if (points.contains(pt)) return kErrFormat;
        points.append(pt);
    }
    const char *id = reinterpret_cast<const char *>(data);
    setDeviceId(QString::fromUtf8(id, int(strnlen(id, ID_SIZE))));
    setDeviceWidth(readLe<int32_t>(data + 32));
    setDeviceHeight(readLe<int32_t>(data + 36));
    for (CComPoint *p : m_points) p->deleteLater();
    m_points.clear();
    for (const auto &pt : points) m_points.append(new CComPoint(pt.first, pt.second, this));
    emit pointListChanged();
    return 0;
}

int CComEditor::save(const QString &path) {
    const size_t len = size_t(HEADER_SIZE) + 4 * size_t(m_points.size());
    std::unique_ptr<uint8_t, FreeDeleter> buf(static_cast<uint8_t *>(std::calloc(1, len)));
    if (!buf) return kErrNoMemory;
    uint8_t *data = buf.get();
    // At most 32 bytes of the identifier, never half a UTF-8 character.
    const QByteArray id = m_deviceId.toUtf8();
    int idLen = std::min(id.size(), int(ID_SIZE));
    while (idLen > 0 && idLen < id.size() && (uint8_t(id[idLen]) & 0xC0) == 0x80) --idLen;
    std::memcpy(data, id.constData(), size_t(idLen));
    writeLe<int32_t>(data + 32, m_deviceWidth);
    writeLe<int32_t>(data + 36, m_deviceHeight);
    writeLe<int32_t>(data + 40, m_points.size());
    for (int i = 0; i < m_points.size(); ++i) {
        writeLe<uint16_t>(data + HEADER_SIZE + 4 * i, uint16_t(m_points[i]->x()));
        writeLe<uint16_t>(data + HEADER_SIZE + 4 * i + 2, uint16_t(m_points[i]->y()));
    }
    return fileutil_write(path.toUtf8().constData(), data, len);
}

int CComEditor::point_create(CComPoint *point) {
    // The file keeps 16-bit coordinates: anything else would be written as another point.
    if (!point || !inU16(point->x()) || !inU16(point->y())) return -8;
    if (m_points.size() >= POINT_MAX) return -7;
    for (const CComPoint *p : m_points)
        if (p->x() == point->x() && p->y() == point->y()) return -8;
    m_points.append(new CComPoint(point->x(), point->y(), this));
    emit pointListChanged();
    return 0;
}

int CComEditor::point_delete(CComPoint *point) {
    if (!point) return -8;
    int index = m_points.indexOf(point);
    for (int i = 0; index < 0 && i < m_points.size(); ++i)
        if (m_points[i]->x() == point->x() && m_points[i]->y() == point->y()) index = i;
    if (index < 0) return -8;
    // Later, as the view may still hold the row's object while the signal is handled.
    m_points.takeAt(index)->deleteLater();
    emit pointListChanged();
    return 0;
}

void CComEditor::point_clear() {
    if (m_points.isEmpty()) return;
    for (CComPoint *p : m_points) p->deleteLater();
    m_points.clear();
    emit pointListChanged();
}
