#include "TempImageConfig.h"

#include <cmath>
#include <cstdint>

namespace {

// Tenths of a degree as the record keeps them; out-of-range values saturate instead of wrapping.
int16_t toTenths(float t) {
    double v = std::trunc(static_cast<double>(t) * 10.0);
    if (!(v == v)) return 0;
    if (v > 32767.0) return 32767;
    if (v < -32768.0) return -32768;
    return static_cast<int16_t>(v);
}

uint32_t toArgb(const QColor &c) {
    return c.isValid() ? (0xFF000000u | (c.rgb() & 0xFFFFFFu)) : 0u;
}

template <typename T>
bool store(T &field, const T &v) {
    if (field == v) return false;
    field = v;
    return true;
}

}  // namespace

TempImageConfig::TempImageConfig(QObject *parent) : QObject(parent) {
    cls2bin();
}

#define TIC_SETTER(name, type)                                                         \
    void TempImageConfig::set_##name(type v) {                                         \
        if (store(m_##name, static_cast<decltype(m_##name)>(v))) emit name##Changed(); \
    }

TIC_SETTER(paletteType, int)
TIC_SETTER(strechType, int)
TIC_SETTER(gain, float)
TIC_SETTER(temp2gray, int)
TIC_SETTER(ddeLevel, int)
TIC_SETTER(man_enable, bool)
TIC_SETTER(man_temp0, float)
TIC_SETTER(man_temp1, float)
TIC_SETTER(ct_type, int)
TIC_SETTER(ct_temp0, float)
TIC_SETTER(ct_temp1, float)
TIC_SETTER(ct_color0, const QColor &)
TIC_SETTER(ct_color1, const QColor &)

#undef TIC_SETTER

void TempImageConfig::cls2bin() {
    m_bin.strechType = static_cast<uint8_t>(m_strechType);
    m_bin.gain = m_gain;
    m_bin.man_temp0 = toTenths(m_man_temp0);
    m_bin.man_temp1 = toTenths(m_man_temp1);
    m_bin.man_enable = m_man_enable ? 1 : 0;
    m_bin.temp2gray = static_cast<uint8_t>(m_temp2gray);
    m_bin.ddeLevel = static_cast<uint8_t>(m_ddeLevel);
    m_bin.ct_type = static_cast<uint8_t>(m_ct_type);
    m_bin.ct_temp0 = toTenths(m_ct_temp0);
    m_bin.ct_temp1 = toTenths(m_ct_temp1);
    m_bin.ct_color0 = toArgb(m_ct_color0);
    m_bin.ct_color1 = toArgb(m_ct_color1);
}

void TempImageConfig::bin2cls() {
    set_strechType(m_bin.strechType);
    set_gain(m_bin.gain);
    set_man_temp0(m_bin.man_temp0 / 10.0f);
    set_man_temp1(m_bin.man_temp1 / 10.0f);
    set_man_enable(m_bin.man_enable != 0);
    set_temp2gray(m_bin.temp2gray);
    set_ddeLevel(m_bin.ddeLevel);
    set_ct_type(m_bin.ct_type);
    set_ct_temp0(m_bin.ct_temp0 / 10.0f);
    set_ct_temp1(m_bin.ct_temp1 / 10.0f);
    set_ct_color0(QColor(QRgb(m_bin.ct_color0 & 0xFFFFFFu)));
    set_ct_color1(QColor(QRgb(m_bin.ct_color1 & 0xFFFFFFu)));
}
