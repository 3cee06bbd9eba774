#include "VISStream.h"

#include <QFile>
#include <QLoggingCategory>
#include <QUrl>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "VISCanvas.h"

Q_LOGGING_CATEGORY(lcVisStream, "VIS/VISStream")

namespace {

// Buffer layout: the frame header and the gray bytes of the record being read, then (4-aligned) the BGRA
// picture on show. 5 x w x h + 1024 bytes hold both.
size_t bgraOffset(const VisFileInfo &info) {
    const size_t gray = sizeof(VisFrameHeader) + static_cast<size_t>(info.width) * info.height;
    return (gray + 3) & ~static_cast<size_t>(3);
}

size_t bufferSize(const VisFileInfo &info) {
    return 5 * static_cast<size_t>(info.width) * info.height + 1024;
}

// Reads record index of the file into the buffer's scratch part (header, then gray bytes).
int readRecord(FILE *f, const VisFileInfo &info, int index, uint8_t *buffer) {
    VisFrameHeader *header = reinterpret_cast<VisFrameHeader *>(buffer);
    return vis_read_frame(vis_file_source(f), info, index, header, buffer + sizeof(VisFrameHeader));
}

void expand(const VisFileInfo &info, const uint8_t *gray, uint32_t *bgra) {
    const size_t n = static_cast<size_t>(info.width) * info.height;
    for (size_t i = 0; i < n; ++i) bgra[i] = 0xFF000000u | gray[i] * 65793u;
}

}  // namespace

VISStream::VISStream(QObject *parent) : QelmPlayer(parent) {
    m_canvas = new VISCanvas;
    m_canvas->setParent(this);
}

VISStream::~VISStream() {
    m_canvas->endUpdate();
    if (m_file) fclose(m_file);
    std::free(m_buffer);
}

uint8_t *VISStream::bgraArea() const {
    return m_buffer + bgraOffset(m_info);
}

int VISStream::load(const QString &fn) {
    // File dialogs hand over URLs.
    const QString path = fn.startsWith(QLatin1String("file:")) ? QUrl(fn).toLocalFile() : fn;
    FILE *f = path.isEmpty() ? nullptr : fopen(QFile::encodeName(path).constData(), "rb");
    if (!f) {
        qCWarning(lcVisStream, "cannot open %s", qUtf8Printable(path));
        return VIS_E_OPEN;
    }
    VisFileInfo info{};
    int r = vis_parse_header(vis_file_source(f), &info);
    if (r != 0) {
        qCWarning(lcVisStream, "%s: not a recording, errorCode %d", qUtf8Printable(path), r);
        fclose(f);
        return r;
    }
    if (info.width > 32767 || info.height > 32767) {
        // Larger than the canvas's coordinate tables reach.
        fclose(f);
        return VIS_E_FORMAT;
    }
    if (info.frameCount > INT_MAX) info.frameCount = INT_MAX;
    uint8_t *buffer = static_cast<uint8_t *>(std::malloc(bufferSize(info)));
    if (!buffer) {
        fclose(f);
        return VIS_E_NOMEM;
    }
    // Frame 0 is read before anything of the previous file goes, so that a failure leaves it loaded.
    r = readRecord(f, info, 0, buffer);
    if (r != 0) {
        qCWarning(lcVisStream, "%s: frame 0 unreadable, errorCode %d", qUtf8Printable(path), r);
        std::free(buffer);
        fclose(f);
        return r;
    }

    m_canvas->endUpdate();
    if (m_file) fclose(m_file);
    std::free(m_buffer);
    m_file = f;
    m_buffer = buffer;
    m_info = info;
    m_canvas->beginUpdate(info.width, info.height);

    const VisFrameHeader *header = reinterpret_cast<const VisFrameHeader *>(m_buffer);
    expand(m_info, m_buffer + sizeof(VisFrameHeader), reinterpret_cast<uint32_t *>(bgraArea()));
    m_canvas->showImage(reinterpret_cast<const uint32_t *>(bgraArea()));
    setFile(path, static_cast<int>(info.frameCount));
    // A new file always announces its first frame, even when the index and time equal the old file's.
    setShown(0, header->timestamp, true);
    qCInfo(lcVisStream, "%s: %dx%d, %d frames", qUtf8Printable(path), m_info.width, m_info.height,
           frameCount());
    return 0;
}


int VISStream::set_curIndex(int index) {
    if (!m_file || index < 0 || index >= frameCount()) return -8;
    // Read into the scratch part: the picture on show changes only once the whole record is in.
    const int r = readRecord(m_file, m_info, index, m_buffer);
    if (r != 0) {
        qCWarning(lcVisStream, "%s: frame %d unreadable, errorCode %d", qUtf8Printable(fn()), index, r);
        return r;
    }
    const VisFrameHeader *header = reinterpret_cast<const VisFrameHeader *>(m_buffer);
    expand(m_info, m_buffer + sizeof(VisFrameHeader), reinterpret_cast<uint32_t *>(bgraArea()));
    m_canvas->showImage(reinterpret_cast<const uint32_t *>(bgraArea()));
    setShown(index, header->timestamp);
    return 0;
}

qint64 VISStream::stampAt(int index) {
    if (!m_file || index < 0 || index >= frameCount()) return -1;
    VisFrameHeader header;
    const int64_t at = static_cast<int64_t>(sizeof(VisFileHeader)) + index * m_info.recordSize;
    const VisSource src = vis_file_source(m_file);
    if (src.read(src.ctx, at, &header, sizeof header) != static_cast<int64_t>(sizeof header)) return -1;
    if (header.width != m_info.width || header.height != m_info.height) return -1;
    return header.timestamp;
}

int VISStream::indexNearest(qint64 stamp1970) {
    if (!m_file || frameCount() <= 0) return -1;
    // The first frame whose stamp is not below the given one.
    const auto lowerBound = [this](qint64 stamp) {
        int lo = 0, hi = frameCount();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (stampAt(mid) < stamp)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    };
    const int after = lowerBound(stamp1970);
    if (after == 0) return 0;
    const qint64 before = stampAt(after - 1);
    if (after == frameCount()) return lowerBound(before);
    const __int128 dAfter = static_cast<__int128>(stampAt(after)) - stamp1970;
    const __int128 dBefore = static_cast<__int128>(stamp1970) - before;
    // A tie goes to the earlier stamp, and of equal stamps to the first frame carrying it.
    return dBefore <= dAfter ? lowerBound(before) : after;
}

void VISStream::close() {
    m_canvas->endUpdate();
    if (m_file) fclose(m_file);
    m_file = nullptr;
    std::free(m_buffer);
    m_buffer = nullptr;
    m_info = VisFileInfo{};
    clearFile();
}
