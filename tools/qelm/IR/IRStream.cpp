#include "IRStream.h"

#include <QLoggingCategory>

#include <cstddef>
#include <cstring>
#include <ctime>

#include "IRCanvas.h"
#include "TempSnapshot.h"

Q_LOGGING_CATEGORY(lcIRStream, "IR/IRStream")

namespace {

// Stream file: bitmap header (64 bytes), cover image (4N), the information record and its reserved
// block (1152 bytes), then per frame a 128-byte header and N samples.
qint64 firstFrameOffset(qint64 n) {
    return 4 * n + 1216;
}
qint64 frameRecordSize(qint64 n) {
    return 2 * n + 128;
}

static_assert(offsetof(FrameFileInfo, frameCount) == 120, "the frame count sits at offset 120");

}  // namespace

IRStream::IRStream(QObject *parent) : QelmPlayer(parent) {
    m_canvas = new IRCanvas;
    m_canvas->setParent(this);
    m_player = SarvikPlayback_Create();
    if (!m_player) qCWarning(lcIRStream, "SarvikPlayback_Create failed");
}

IRStream::~IRStream() {
    close();
    SarvikPlayback_Free(&m_player);
}

int IRStream::load(const QString &fn) {
    // Made before the SDK was started (a player built with the application): try again now.
    if (!m_player) m_player = SarvikPlayback_Create();
    if (!m_player) return -5;
    // Opening closes what the playback holds, so while a file is shown the new one is tried on a second
    // playback object: a file that fails to open leaves the shown one as it was.
    const bool loaded = !QelmPlayer::fn().isEmpty();
    void *player = loaded ? SarvikPlayback_Create() : m_player;
    if (!player) return -5;

    const QByteArray path = QFile::encodeName(fn);
    int r = SarvikPlayback_OpenFile(player, path.constData(), SARVIK_PLAYBACK_STREAM);
    FrameCover cover;
    std::memset(&cover, 0, sizeof(cover));
    if (r == 0) r = SarvikPlayback_ReadCover(player, &cover);
    if (r == 0 && !cover.info) r = -194;
    int width = 0, height = 0, count = 0;
    if (r == 0) {
        width = cover.info->width;
        height = cover.info->height;
        count = cover.info->frameCount;
        if (width <= 0 || height <= 0 || count <= 0) r = -194;
    }
    _DataFrame frame;
    std::memset(&frame, 0, sizeof(frame));
    if (r == 0) r = SarvikPlayback_ReadFrame(player, 0, &frame);
    if (r != 0) {
        qCWarning(lcIRStream, "load of %s failed, errorCode %d", path.constData(), r);
        if (player != m_player)
            SarvikPlayback_Free(&player);
        else
            SarvikPlayback_CloseFile(player);
        return r;
    }

    // The new file is good: the old one goes.
    m_canvas->endUpdate();
    m_shown = TempData();
    m_stampFile.close();
    if (player != m_player) SarvikPlayback_Free(&m_player);
    m_player = player;

    m_width = width;
    m_height = height;
    const qint64 n = static_cast<qint64>(width) * height;
    m_frameBase = firstFrameOffset(n);
    m_frameSize = frameRecordSize(n);
    m_stampFile.setFileName(fn);
    if (!m_stampFile.open(QIODevice::ReadOnly))
        qCWarning(lcIRStream, "%s: no time stamp look-up: %s", path.constData(),
                  qUtf8Printable(m_stampFile.errorString()));

    m_canvas->beginUpdate(width, height);
    setFile(fn, count);
    showFrame(frame, 0);
    qCInfo(lcIRStream, "loaded %s: %dx%d, %d frames", path.constData(), width, height, count);
    return 0;
}

int IRStream::set_curIndex(int index) {
    if (!m_player || fn().isEmpty()) return -7;
    if (index < 0 || index >= frameCount()) return -8;
    _DataFrame frame;
    std::memset(&frame, 0, sizeof(frame));
    const int r = SarvikPlayback_ReadFrame(m_player, index, &frame);
    if (r != 0) {
        qCWarning(lcIRStream, "frame %d of %s: errorCode %d", index, qUtf8Printable(fn()), r);
        return r;
    }
    showFrame(frame, index);
    return 0;
}

void IRStream::showFrame(const _DataFrame &frame, int index) {
    m_shown.header = frame.header;
    m_shown.temp = frame.data;
    m_shown.image = frame.image;
    const int r = m_canvas->updateData(&m_shown);
    if (r != 0) qCWarning(lcIRStream, "frame %d not shown, errorCode %d", index, r);
    setShown(index, frame.header ? frame.header->timestamp : 0);
}

qint64 IRStream::stampAt(int index) {
    if (index < 0 || index >= frameCount() || !m_stampFile.isOpen()) return -1;
    _DataFrameHeader header;
    if (!m_stampFile.seek(m_frameBase + index * m_frameSize)) return -1;
    if (m_stampFile.read(reinterpret_cast<char *>(&header), sizeof(header)) != sizeof(header)) return -1;
    if (header.width != m_width || header.height != m_height) return -1;
    return header.timestamp;
}

void IRStream::close() {
    if (m_player) SarvikPlayback_CloseFile(m_player);
    m_stampFile.close();
    m_canvas->endUpdate();
    m_shown = TempData();
    m_width = 0;
    m_height = 0;
    m_frameBase = 0;
    m_frameSize = 0;
    clearFile();
}

QString IRStream::timeText(qint64 stamp1970) {
    return tempStampText(stamp1970);
}
