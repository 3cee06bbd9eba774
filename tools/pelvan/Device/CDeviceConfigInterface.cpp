#include "CDeviceConfigInterface.h"

#include <cstring>

#include "SarvikSDK.h"

using namespace cfgconv;

// ---- CTvoutInfo --------------------------------------------------------------------------------------

CTvoutInfo::CTvoutInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CTvoutInfo::recordSize() const {
    return sizeof(_TvoutInfo);
}

int CTvoutInfo::bin2cls(const void *record, int size) {
    _TvoutInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_enableTvout(r.enableTvout != 0);
    set_man_enable(r.man_enable != 0);
    set_zoom(r.zoom);
    set_paletteType(r.paletteType);
    set_strechType(r.strechType);
    set_temp2gray(r.temp2gray);
    set_ddeLevel(r.ddeLevel);
    set_xuiDisplayFlags(r.xuiDisplayFlags);
    set_ct_type(r.ct_type);
    set_h264_bitrate(r.h264_bitrate);
    set_h264_gopSize(r.h264_gopSize);
    set_gain(r.gain);
    set_man_temp0(tenthsFrom(r.man_temp0));
    set_man_temp1(tenthsFrom(r.man_temp1));
    set_ct_temp0(tenthsFrom(r.ct_temp0));
    set_ct_temp1(tenthsFrom(r.ct_temp1));
    set_ct_color0(colorFrom(r.ct_color0));
    set_ct_color1(colorFrom(r.ct_color1));
    return 0;
}

int CTvoutInfo::cls2bin(void *record, int size) const {
    _TvoutInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.enableTvout = enableTvout() ? 1 : 0;
    r.man_enable = man_enable() ? 1 : 0;
    r.zoom = clampTo<uint8_t>(zoom());
    r.paletteType = clampTo<uint8_t>(paletteType());
    r.strechType = clampTo<uint8_t>(strechType());
    r.temp2gray = clampTo<uint8_t>(temp2gray());
    r.ddeLevel = clampTo<uint8_t>(ddeLevel());
    r.xuiDisplayFlags = clampTo<uint16_t>(xuiDisplayFlags());
    r.ct_type = clampTo<uint8_t>(ct_type());
    r.h264_bitrate = h264_bitrate();
    r.h264_gopSize = clampTo<uint16_t>(h264_gopSize());
    r.gain = gain();
    r.man_temp0 = tenthsTo(man_temp0());
    r.man_temp1 = tenthsTo(man_temp1());
    r.ct_temp0 = tenthsTo(ct_temp0());
    r.ct_temp1 = tenthsTo(ct_temp1());
    r.ct_color0 = colorTo(ct_color0());
    r.ct_color1 = colorTo(ct_color1());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CTvoutInfo::reset() {
    _TvoutInfo r{};
    r.paletteType = 5;
    r.zoom = 1;
    r.gain = 2.0f;
    r.h264_bitrate = 4000000;
    r.h264_gopSize = 50;
    r.strechType = 1;
    bin2cls(&r, sizeof r);
}

// ---- CCameraOSDInfo ----------------------------------------------------------------------------------

CCameraOSDInfo::CCameraOSDInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CCameraOSDInfo::recordSize() const {
    return sizeof(_CameraOSDInfo);
}

int CCameraOSDInfo::bin2cls(const void *record, int size) {
    _CameraOSDInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_loc_enable(r.loc_enable != 0);
    set_time_enable(r.time_enable != 0);
    set_loc_x(r.loc_x);
    set_loc_y(r.loc_y);
    set_time_x(r.time_x);
    set_time_y(r.time_y);
    set_loc_name(textFrom(r.loc_name, sizeof r.loc_name));
    set_color(colorFrom(r.color));
    return 0;
}

int CCameraOSDInfo::cls2bin(void *record, int size) const {
    _CameraOSDInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.loc_enable = loc_enable() ? 1 : 0;
    r.time_enable = time_enable() ? 1 : 0;
    r.loc_x = clampTo<uint16_t>(loc_x());
    r.loc_y = clampTo<uint16_t>(loc_y());
    r.time_x = clampTo<uint16_t>(time_x());
    r.time_y = clampTo<uint16_t>(time_y());
    textTo(loc_name(), r.loc_name, sizeof r.loc_name);
    r.color = colorTo(color());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CCameraOSDInfo::reset() {
    _CameraOSDInfo r{};
    r.loc_x = 300;
    r.loc_y = 400;
    r.time_x = 200;
    r.time_y = 100;
    textTo(QStringLiteral("loc"), r.loc_name, sizeof r.loc_name);
    r.color = colorTo(QColor(0, 255, 255));
    bin2cls(&r, sizeof r);
}

// ---- CSerialPortInfo ---------------------------------------------------------------------------------

CSerialPortInfo::CSerialPortInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CSerialPortInfo::recordSize() const {
    return sizeof(_SerialPortInfo);
}

int CSerialPortInfo::bin2cls(const void *record, int size) {
    _SerialPortInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_usage(r.usage);
    set_portAddr(r.portAddr);
    set_baudRate(r.baudRate);
    set_dataBits(r.dataBits);
    set_stopBits(r.stopBits);
    set_parity(r.parity);
    return 0;
}

int CSerialPortInfo::cls2bin(void *record, int size) const {
    _SerialPortInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.usage = clampTo<uint8_t>(usage());
    r.portAddr = clampTo<uint8_t>(portAddr());
    r.baudRate = clampTo<uint8_t>(baudRate());
    r.dataBits = clampTo<uint8_t>(dataBits());
    r.stopBits = clampTo<uint8_t>(stopBits());
    r.parity = clampTo<uint8_t>(parity());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CSerialPortInfo::reset() {
    _SerialPortInfo r{};
    bin2cls(&r, sizeof r);
}

// ---- CGpioInfo ---------------------------------------------------------------------------------------

CGpioInfo::CGpioInfo(QObject *parent) : CDeviceConfigBase(parent) {}

int CGpioInfo::recordSize() const {
    return sizeof(_GpioInfo);
}

int CGpioInfo::bin2cls(const void *record, int size) {
    _GpioInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    set_input0(r.input0);
    set_input1(r.input1);
    set_output0(r.output0);
    set_output1(r.output1);
    return 0;
}

int CGpioInfo::cls2bin(void *record, int size) const {
    _GpioInfo r;
    if (!readRecord(record, size, &r)) return SARVIK_ERR_INVALID_ARG;
    r.input0 = clampTo<uint8_t>(input0());
    r.input1 = clampTo<uint8_t>(input1());
    r.output0 = clampTo<uint8_t>(output0());
    r.output1 = clampTo<uint8_t>(output1());
    std::memcpy(record, &r, sizeof r);
    return 0;
}

void CGpioInfo::reset() {
    _GpioInfo r{};
    bin2cls(&r, sizeof r);
}
