// Player of ".stream" recordings: one SDK playback per file, a frame read on every change of curIndex,
// shown on its own canvas.
#pragma once

#include <QFile>
#include <QObject>
#include <QString>

#include <cstdint>

#include "QelmPlayer.h"
#include "SarvikSDK.h"
#include "TempData.h"

class IRCanvas;

class IRStream : public QelmPlayer {
    Q_OBJECT
    Q_PROPERTY(IRCanvas *canvas READ canvas CONSTANT)

public:
    explicit IRStream(QObject *parent = nullptr);
    ~IRStream() override;

    IRCanvas *canvas() const { return m_canvas; }

    // Opens a ".stream" file and shows frame 0: 0, or the SDK's negative code (the previous file stays
    // loaded on failure).
    Q_INVOKABLE int load(const QString &fn);
    // Reads a frame: 0, -8 out of range, or the SDK's code; the shown frame stays on failure.
    int set_curIndex(int index) override;
    // Time stamp of frame i without showing it (for finding the frame nearest a time); -1 on failure.
    qint64 stampAt(int index);
    // Closes the file; the canvas goes blank.
    Q_INVOKABLE void close();

    // "YYYY-MM-DD hh:mm:ss.zzz" in local time for 100-ns ticks since 1970-01-01 UTC.
    static QString timeText(qint64 stamp1970);

private:
    IRCanvas *m_canvas = nullptr;
    void *m_player = nullptr;  // SarvikPlayback object
    int m_width = 0, m_height = 0;
    void showFrame(const _DataFrame &frame, int index);

    // The canvas keeps a pointer to m_shown; it changes only when a frame is shown.
    TempData m_shown;
    // Time stamps for stampAt come straight from the file's frame headers, so looking one up never moves
    // the playback's four rotating slots under the frame the canvas shows.
    QFile m_stampFile;
    qint64 m_frameBase = 0, m_frameSize = 0;
};
