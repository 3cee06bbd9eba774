// Player of ".stream" recordings: one SDK playback per file, a frame read on every change of curIndex,
// shown on its own canvas.
#pragma once

#include <QFile>
#include <QObject>
#include <QString>

#include <cstdint>

#include "SarvikSDK.h"
#include "TempData.h"

class IRCanvas;

class IRStream : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString fn READ fn NOTIFY fnChanged)
    Q_PROPERTY(int frameCount READ frameCount NOTIFY frameCountChanged)
    // Setting it reads that frame; out of range (or a read failure) leaves the shown frame as it was.
    Q_PROPERTY(int curIndex READ curIndex WRITE set_curIndex NOTIFY curIndexChanged)
    // "YYYY-MM-DD hh:mm:ss.zzz" in local time from the frame's time stamp.
    Q_PROPERTY(QString curTime READ curTime NOTIFY curTimeChanged)
    // The frame's time stamp: 100-ns ticks since 1970-01-01 UTC (0 when nothing is loaded).
    Q_PROPERTY(qint64 curStamp READ curStamp NOTIFY curTimeChanged)
    Q_PROPERTY(IRCanvas *canvas READ canvas CONSTANT)

public:
    explicit IRStream(QObject *parent = nullptr);
    ~IRStream() override;

    QString fn() const { return m_fn; }
    int frameCount() const { return m_frameCount; }
    int curIndex() const { return m_curIndex; }
    QString curTime() const { return m_curTime; }
    qint64 curStamp() const { return m_curStamp; }
    IRCanvas *canvas() const { return m_canvas; }

    // Opens a ".stream" file and shows frame 0: 0, or the SDK's negative code (the previous file stays
    // loaded on failure).
    Q_INVOKABLE int load(const QString &fn);
    // Reads a frame: 0, -8 out of range, or the SDK's code; the shown frame stays on failure.
    Q_INVOKABLE int set_curIndex(int index);
    Q_INVOKABLE int nextFrame() { return set_curIndex(m_curIndex + 1); }
    Q_INVOKABLE int prevFrame() { return set_curIndex(m_curIndex - 1); }
    // Time stamp of frame i without showing it (for finding the frame nearest a time); -1 on failure.
    qint64 stampAt(int index);
    // Closes the file; the canvas goes blank.
    Q_INVOKABLE void close();

    // "YYYY-MM-DD hh:mm:ss.zzz" in local time for 100-ns ticks since 1970-01-01 UTC.
    static QString timeText(qint64 stamp1970);

signals:
    void fnChanged();
    void frameCountChanged();
    void curIndexChanged();
    void curTimeChanged();

private:
    IRCanvas *m_canvas = nullptr;
    void *m_player = nullptr;  // SarvikPlayback object
    QString m_fn;
    int m_frameCount = 0;
    int m_curIndex = 0;
    QString m_curTime;
    qint64 m_curStamp = 0;
    int m_width = 0, m_height = 0;
    void showFrame(const _DataFrame &frame, int index);
    void setCurIndex(int index);
    void setStamp(qint64 stamp);

    // The canvas keeps a pointer to m_shown; it changes only when a frame is shown.
    TempData m_shown;
    // Time stamps for stampAt come straight from the file's frame headers, so looking one up never moves
    // the playback's four rotating slots under the frame the canvas shows.
    QFile m_stampFile;
    qint64 m_frameBase = 0, m_frameSize = 0;
};
