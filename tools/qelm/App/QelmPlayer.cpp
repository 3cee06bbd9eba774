#include "QelmPlayer.h"

#include "TempSnapshot.h"

void QelmPlayer::setFile(const QString &fn, int frameCount) {
    if (m_fn != fn) {
        m_fn = fn;
        emit fnChanged();
    }
    if (m_frameCount != frameCount) {
        m_frameCount = frameCount;
        emit frameCountChanged();
    }
}

void QelmPlayer::setShown(int index, qint64 stamp, bool announce) {
    if (m_curIndex != index || announce) {
        m_curIndex = index;
        emit curIndexChanged();
    }
    const QString text = stamp ? tempStampText(stamp) : QString();
    if (m_curStamp != stamp || m_curTime != text || announce) {
        m_curStamp = stamp;
        m_curTime = text;
        emit curTimeChanged();
    }
}

void QelmPlayer::clearFile() {
    setFile(QString(), 0);
    setShown(0, 0);
}
