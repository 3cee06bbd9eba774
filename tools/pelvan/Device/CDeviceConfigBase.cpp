#include "CDeviceConfigBase.h"

#include <cmath>
#include <cstring>

CDeviceConfigBase::CDeviceConfigBase(QObject *parent) : QObject(parent) {}

void CDeviceConfigBase::set_edit_isvalid(bool v) {
    if (m_edit_isvalid == v) return;
    m_edit_isvalid = v;
    emit edit_isvalidChanged();
}

namespace cfgconv {

QString textFrom(const char *field, size_t fieldSize) {
    size_t n = 0;
    while (n < fieldSize && field[n]) ++n;
    return QString::fromUtf8(field, static_cast<int>(n));
}

void textTo(const QString &text, char *field, size_t fieldSize) {
    if (fieldSize == 0) return;
    const QByteArray utf8 = text.toUtf8();
    size_t n = static_cast<size_t>(utf8.size());
    if (n > fieldSize - 1) {
        n = fieldSize - 1;
        // Never leave half a character behind: the camera shows the text back to us.
        while (n > 0 && (static_cast<unsigned char>(utf8[static_cast<int>(n)]) & 0xC0) == 0x80) --n;
    }
    std::memset(field, 0, fieldSize);
    std::memcpy(field, utf8.constData(), n);
}

uint32_t colorTo(const QColor &c) {
    return 0xFF000000u | (static_cast<uint32_t>(c.red() & 0xFF) << 16) |
           (static_cast<uint32_t>(c.green() & 0xFF) << 8) | static_cast<uint32_t>(c.blue() & 0xFF);
}

QColor colorFrom(uint32_t v) {
    return QColor(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>(v & 0xFF));
}

float tenthsFrom(int16_t v) {
    return static_cast<float>(v / 10.0);
}

int16_t tenthsTo(float celsius) {
    double t = static_cast<double>(celsius) * 10.0;
    if (!std::isfinite(t)) t = 0;
    const double whole = std::round(t);
    // A float such as 0.7 is 0.6999999881: truncation alone would turn every read value back one tenth.
    t = std::fabs(t - whole) < 1e-3 ? whole : std::trunc(t);
    if (t < -32768.0) t = -32768.0;
    if (t > 32767.0) t = 32767.0;
    return static_cast<int16_t>(t);
}

}  // namespace cfgconv
