// What the dual-light tool's two players share: the file, its frame count, the frame shown with its time,
// and stepping.
#pragma once

#include <QObject>
#include <QString>

class QelmPlayer : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString fn READ fn NOTIFY fnChanged)
    Q_PROPERTY(int frameCount READ frameCount NOTIFY frameCountChanged)
    // Setting it reads that frame; out of range (or a read failure) leaves the shown frame as it was.
    Q_PROPERTY(int curIndex READ curIndex WRITE set_curIndex NOTIFY curIndexChanged)
    // "YYYY-MM-DD hh:mm:ss.zzz" in local time from the frame's time stamp.
    Q_PROPERTY(QString curTime READ curTime NOTIFY curTimeChanged)
    // The frame's time stamp: 100-ns ticks since 1970-01-01 UTC (0 when nothing is loaded).
    Q_PROPERTY(qint64 curStamp READ curStamp NOTIFY curTimeChanged)

public:
    QString fn() const { return m_fn; }
    int frameCount() const { return m_frameCount; }
    int curIndex() const { return m_curIndex; }
    QString curTime() const { return m_curTime; }
    qint64 curStamp() const { return m_curStamp; }

    // Reads and shows a frame: 0, -7 with nothing loaded, -8 out of range, or the reader's code; the shown
    // frame stays on failure.
    Q_INVOKABLE virtual int set_curIndex(int index) = 0;
    Q_INVOKABLE int nextFrame() { return set_curIndex(m_curIndex + 1); }
    Q_INVOKABLE int prevFrame() { return set_curIndex(m_curIndex - 1); }

signals:
    void fnChanged();
    void frameCountChanged();
    void curIndexChanged();
    void curTimeChanged();

protected:
    explicit QelmPlayer(QObject *parent) : QObject(parent) {}

    void setFile(const QString &fn, int frameCount);
    // The frame shown: index and time stamp. announce signals both even when unchanged (a new file).
    void setShown(int index, qint64 stamp, bool announce = false);
    // Nothing loaded: no file, no frames, index 0, no time.
    void clearFile();

private:
    QString m_fn;
    int m_frameCount = 0;
    int m_curIndex = 0;
    QString m_curTime;
    qint64 m_curStamp = 0;
};
