// Player of raw ".vis" recordings: the open file, one frame record and its BGRA expansion in one buffer,
// shown on its own canvas.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <cstdio>

#include "QelmPlayer.h"
#include "vis_file.h"

class VISCanvas;

class VISStream : public QelmPlayer {
    Q_OBJECT
    Q_PROPERTY(VISCanvas *canvas READ canvas CONSTANT)

public:
    explicit VISStream(QObject *parent = nullptr);
    ~VISStream() override;

    VISCanvas *canvas() const { return m_canvas; }
    int width() const { return m_info.width; }
    int height() const { return m_info.height; }

    // Opens a ".vis" file and shows frame 0: 0, -200 not opened, -198 header cut short, -194 no whole frame
    // or not 8-bit monochrome, -5 no memory. The previous file stays loaded on failure.
    Q_INVOKABLE int load(const QString &fn);
    // Reads a frame: 0, -8 out of range, -193 seek, -198 record cut short, -194 a record of another size;
    // the shown frame stays on failure.
    int set_curIndex(int index) override;
    // Time stamp of frame i without showing it; -1 on failure.
    qint64 stampAt(int index);
    // Index of the frame whose time stamp is nearest the given one (ties: the earlier); -1 when empty.
    int indexNearest(qint64 stamp1970);
    Q_INVOKABLE void close();

private:
    uint8_t *bgraArea() const;

    VISCanvas *m_canvas = nullptr;
    FILE *m_file = nullptr;
    VisFileInfo m_info{};
    uint8_t *m_buffer = nullptr;  // 5 x w x h + 1024: the record (header, gray) and the BGRA expansion
};
