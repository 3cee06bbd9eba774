#include "TempSnapshot.h"

#include <QBuffer>
#include <QImage>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "zq_time.h"

Q_LOGGING_CATEGORY(lcSnapshot, "Device/CDevice")

namespace {
// Snapshot tail: 2 x (W x H + 8342) bytes, laid out as TempTailHead | samples | TempTailEnd.
constexpr int kTailFixed = SARVIK_TEMP_TAIL_FIXED;  // 16684 = 2 x 8342
constexpr int kFramesPerRateWindow = 50;
}  // namespace

int TempSnapshot::build(const TempData &frame, int width, int height, const _CameraBasicInfo &basic,
                        const _FixInfo &fix, QByteArray *out, int jpegQuality) {
    if (!out || !frame.header || !frame.temp || width <= 0 || height <= 0) return -8;
    const int64_t n = static_cast<int64_t>(width) * height;
    const int64_t tail64 = 2 * n + kTailFixed;
    if (tail64 > INT32_MAX / 2) return -5;
    const int tail = static_cast<int>(tail64);

    QByteArray jpg;
    if (frame.image) {
        const QImage image(reinterpret_cast<const uchar *>(frame.image), width, height, width * 4,
                           QImage::Format_RGB32);
        QBuffer buffer(&jpg);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "JPG", jpegQuality)) jpg.clear();
    }
    // A JPEG longer than the tail is kept whole (the SDK's reader takes images up to 24001024 bytes).
    if (jpg.size() > tail)
        qCInfo(lcSnapshot, "large jpg kept, jpgSize %d, ptcSize %d", static_cast<int>(jpg.size()), tail);
    if (static_cast<int64_t>(jpg.size()) + tail > INT32_MAX / 2) return -5;

    try {
        out->resize(jpg.size() + tail);
    } catch (const std::bad_alloc &) {
        return -5;
    }
    if (out->size() != jpg.size() + tail) return -5;
    char *p = out->data();
    std::memcpy(p, jpg.constData(), static_cast<size_t>(jpg.size()));
    char *t = p + jpg.size();
    std::memset(t, 0, static_cast<size_t>(tail));

    // The head is built aside and copied: the tail starts wherever the JPEG ends.
    auto *head = static_cast<TempTailHead *>(std::calloc(1, sizeof(TempTailHead)));
    if (!head) return -5;
    head->length = tail - 12;
    std::memcpy(head->magic, "teMp", 4);
    std::strncpy(head->info.cameraId, basic.cameraId, sizeof(head->info.cameraId));
    head->info.timestamp = xtime_getwin64();
    head->info.width = static_cast<uint16_t>(width);
    head->info.height = static_cast<uint16_t>(height);
    head->info.fixInfo = fix;
    std::memcpy(&head->header, frame.header, sizeof(_DataFrameHeader));
    std::memcpy(t, head, sizeof(TempTailHead));
    std::free(head);

    std::memcpy(t + sizeof(TempTailHead), frame.temp, static_cast<size_t>(2 * n));

    TempTailEnd end;
    std::memset(&end, 0, sizeof(end));
    end.width = static_cast<uint16_t>(width);
    end.height = static_cast<uint16_t>(height);
    end.mark = SARVIK_TEMP_TAIL_MARK;
    const int endSize = static_cast<int>(sizeof(end));
    out->replace(out->size() - endSize, endSize, reinterpret_cast<const char *>(&end), endSize);
    return 0;
}

int TempSnapshot::write(const QByteArray &path, const QByteArray &bytes) {
    FILE *f = path.isEmpty() ? nullptr : std::fopen(path.constData(), "wb");
    if (!f) {
        qCWarning(lcSnapshot, "snapshot %s cannot be created", path.constData());
        return SARVIK_ERR_FILE_OPEN;
    }
    const size_t written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), f);
    const bool closed = std::fclose(f) == 0;
    if (written != static_cast<size_t>(bytes.size()) || !closed) {
        qCWarning(lcSnapshot, "snapshot %s: short write, %zu of %d bytes", path.constData(), written,
                  static_cast<int>(bytes.size()));
        // A cut snapshot would look like a good one in the folder: none at all instead.
        std::remove(path.constData());
        return SARVIK_ERR_FILE_WRITE;
    }
    return 0;
}

bool tempFrameRateStep(int64_t *windowTime, int *windowCount, int64_t stamp, float *fps) {
    if (*windowTime == 0) {
        *windowTime = stamp;
        *windowCount = 0;
        return false;
    }
    if (++*windowCount < kFramesPerRateWindow) return false;
    const int64_t span = stamp - *windowTime;
    *windowTime = stamp;
    *windowCount = 0;
    if (span <= 0) return false;
    *fps = static_cast<float>(500000000.0 / static_cast<double>(span));
    return true;
}

QString tempStampText(qint64 stamp) {
    qint64 secs = stamp / 10000000;
    qint64 rest = stamp % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --secs;
    }
    const std::time_t t = static_cast<std::time_t>(secs);
    std::tm local;
    if (!localtime_r(&t, &local)) return QString();
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(rest / 10000));
    return QString::fromLatin1(text);
}
