// Player of raw ".vis" recordings: the open file, one frame record and its BGRA expansion in one buffer,
// shown on its own canvas.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <cstdio>

#include "vis_file.h"

class VISCanvas;

class VISStream : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString fn READ fn NOTIFY fnChanged)
    Q_PROPERTY(int frameCount READ frameCount NOTIFY frameCountChanged)
    Q_PROPERTY(int curIndex READ curIndex WRITE set_curIndex NOTIFY curIndexChanged)
    Q_PROPERTY(QString curTime READ curTime NOTIFY curTimeChanged)
    // The frame's time stamp: 100-ns ticks since 1970-01-01 UTC (0 when nothing is loaded).
    Q_PROPERTY(qint64 curStamp READ curStamp NOTIFY curTimeChanged)
    Q_PROPERTY(VISCanvas *canvas READ canvas CONSTANT)

public:
    explicit VISStream(QObject *parent = nullptr);
    ~VISStream() override;

    QString fn() const { return m_fn; }
    int frameCount() const { return m_frameCount; }
    int curIndex() const { return m_curIndex; }
    QString curTime() const { return m_curTime; }
    qint64 curStamp() const { return m_curStamp; }
    VISCanvas *canvas() const { return m_canvas; }
    int width() const { return m_info.width; }
    int height() const { return m_info.height; }

    // Opens a ".vis" file and shows frame 0: 0, -200 not opened, -198 header cut short, -194 no whole frame
    // or not 8-bit monochrome, -5 no memory. The previous file stays loaded on failure.
    Q_INVOKABLE int load(const QString &fn);
    // Reads a frame: 0, -8 out of range, -193 seek, -198 record cut short, -194 a record of another size;
    // the shown frame stays on failure.
    Q_INVOKABLE int set_curIndex(int index);
    Q_INVOKABLE int nextFrame() { return set_curIndex(m_curIndex + 1); }
    Q_INVOKABLE int prevFrame() { return set_curIndex(m_curIndex - 1); }
    // Time stamp of frame i without showing it; -1 on failure.
    qint64 stampAt(int index);
    // Index of the frame whose time stamp is nearest the given one (ties: the earlier); -1 when empty.
    int indexNearest(qint64 stamp1970);
    Q_INVOKABLE void close();

signals:
    void fnChanged();
    void frameCountChanged();
    void curIndexChanged();
    void curTimeChanged();

private:
    uint8_t *bgraArea() const;
    void setShown(int index, qint64 stamp, bool announce = false);

    VISCanvas *m_canvas = nullptr;
    FILE *m_file = nullptr;
    VisFileInfo m_info{};
    uint8_t *m_buffer = nullptr;  // 5 x w x h + 1024: the record (header, gray) and the BGRA expansion
    QString m_fn;
    int m_frameCount = 0;
    int m_curIndex = 0;
    QString m_curTime;
    qint64 m_curStamp = 0;
};
