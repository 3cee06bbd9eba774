#include "CCustFile.h"

#include <QDateTime>

#include <cstring>

#include "CCustEditor.h"

namespace {

// Layout of the custom-point block.
constexpr int kOffNote = 8;
constexpr int kNoteSize = 256;
constexpr int kOffCount = 268;
constexpr int kOffItems = 272;
constexpr int kItemSize = 24;
// Ticks of 100 ns from 1601-01-01 to 1970-01-01, in milliseconds.
constexpr int64_t kEpochDiffMs = 11644473600000LL;

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

}  // namespace

void CCustPoint::setBlackbody(double v) {
    editorSet(this, m_blackbody, v, &CCustPoint::blackbodyChanged);
}
void CCustPoint::setTemp(double v) {
    editorSet(this, m_temp, v, &CCustPoint::tempChanged);
}
void CCustPoint::setEmmi(double v) {
    editorSet(this, m_emmi, v, &CCustPoint::emmiChanged);
}

CCustFile::CCustFile(QObject *parent) : QObject(parent) {
    for (int i = 0; i < ITEM_MAX; ++i) m_items.append(new CCustPoint(this));
}

void CCustFile::setNote(const QString &note) {
    editorSet(this, m_note, note, &CCustFile::noteChanged);
}

void CCustFile::setItemCount(int count) {
    if (count < 0 || count > ITEM_MAX) return;
    editorSet(this, m_itemCount, count, &CCustFile::itemCountChanged);
}

void CCustFile::setEditEnable(bool enable) {
    editorSet(this, m_editEnable, enable, &CCustFile::editEnableChanged);
}

QQmlListProperty<CCustPoint> CCustFile::itemListProperty() {
    return QQmlListProperty<CCustPoint>(this, &m_items);
}

QString CCustFile::ticksToText(int64_t ticks) {
    const qint64 ms = ticks / 10000 - kEpochDiffMs;
    return QDateTime::fromMSecsSinceEpoch(ms).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int64_t CCustFile::nowTicks() {
    return (QDateTime::currentMSecsSinceEpoch() + kEpochDiffMs) * 10000;
}

void CCustFile::bin2cls() {
    editorSet(this, m_timestamp, ticksToText(readLe<int64_t>(m_image)), &CCustFile::timestampChanged);
    // The note ends at its first zero or at the end of its field, never beyond.
    const char *note = reinterpret_cast<const char *>(m_image + kOffNote);
    setNote(QString::fromUtf8(note, int(strnlen(note, kNoteSize))));
    setItemCount(readLe<int32_t>(m_image + kOffCount));
    for (int i = 0; i < ITEM_MAX; ++i) {
        const uint8_t *entry = m_image + kOffItems + i * kItemSize;
        m_items[i]->setBlackbody(readLe<float>(entry));
        m_items[i]->setTemp(readLe<float>(entry + 4));
    }
}

void CCustFile::cls2bin() {
    const int64_t ticks = nowTicks();
    writeLe<int64_t>(m_image, ticks);
    editorSet(this, m_timestamp, ticksToText(ticks), &CCustFile::timestampChanged);
    // At most 255 bytes so the note stays zero-terminated; a cut never splits a UTF-8 character.
    QByteArray note = m_note.toUtf8();
    int len = std::min(note.size(), kNoteSize - 1);
    while (len > 0 && len < note.size() && (uint8_t(note[len]) & 0xC0) == 0x80) --len;
    std::memset(m_image + kOffNote, 0, kNoteSize);
    std::memcpy(m_image + kOffNote, note.constData(), size_t(len));
    writeLe<int32_t>(m_image + kOffCount, m_itemCount);
    for (int i = 0; i < ITEM_MAX; ++i) {
        uint8_t *entry = m_image + kOffItems + i * kItemSize;
        writeLe<float>(entry, float(m_items[i]->blackbody()));
        writeLe<float>(entry + 4, float(m_items[i]->temp()));
    }
}
