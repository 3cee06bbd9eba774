// Mirrors of the interface records: video output, on-screen display, serial port and GPIO lines.
#pragma once

#include "CDeviceConfigBase.h"

class CTvoutInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(bool, enableTvout)
    SARVIK_CFG_PROPERTY(bool, man_enable)
    SARVIK_CFG_PROPERTY(int, zoom)
    SARVIK_CFG_PROPERTY(int, paletteType)
    SARVIK_CFG_PROPERTY(int, strechType)
    SARVIK_CFG_PROPERTY(int, temp2gray)
    SARVIK_CFG_PROPERTY(int, ddeLevel)
    SARVIK_CFG_PROPERTY(int, xuiDisplayFlags)
    SARVIK_CFG_PROPERTY(int, ct_type)
    SARVIK_CFG_PROPERTY(int, h264_bitrate)
    SARVIK_CFG_PROPERTY(int, h264_gopSize)
    SARVIK_CFG_PROPERTY(float, gain)
    SARVIK_CFG_PROPERTY(float, man_temp0)
    SARVIK_CFG_PROPERTY(float, man_temp1)
    SARVIK_CFG_PROPERTY(float, ct_temp0)
    SARVIK_CFG_PROPERTY(float, ct_temp1)
    SARVIK_CFG_PROPERTY(QColor, ct_color0)
    SARVIK_CFG_PROPERTY(QColor, ct_color1)

public:
    explicit CTvoutInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CCameraOSDInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(bool, loc_enable)
    SARVIK_CFG_PROPERTY(bool, time_enable)
    SARVIK_CFG_PROPERTY(int, loc_x)
    SARVIK_CFG_PROPERTY(int, loc_y)
    SARVIK_CFG_PROPERTY(int, time_x)
    SARVIK_CFG_PROPERTY(int, time_y)
    SARVIK_CFG_PROPERTY(QString, loc_name)
    SARVIK_CFG_PROPERTY(QColor, color)

public:
    explicit CCameraOSDInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CSerialPortInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(int, usage)
    SARVIK_CFG_PROPERTY(int, portAddr)
    SARVIK_CFG_PROPERTY(int, baudRate)
    SARVIK_CFG_PROPERTY(int, dataBits)
    SARVIK_CFG_PROPERTY(int, stopBits)
    SARVIK_CFG_PROPERTY(int, parity)

public:
    explicit CSerialPortInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};

class CGpioInfo : public CDeviceConfigBase {
    Q_OBJECT
    SARVIK_CFG_PROPERTY(int, input0)
    SARVIK_CFG_PROPERTY(int, input1)
    SARVIK_CFG_PROPERTY(int, output0)
    SARVIK_CFG_PROPERTY(int, output1)

public:
    explicit CGpioInfo(QObject *parent = nullptr);
    int recordSize() const override;
    int bin2cls(const void *record, int size) override;
    int cls2bin(void *record, int size) const override;
    Q_INVOKABLE void reset();
};
