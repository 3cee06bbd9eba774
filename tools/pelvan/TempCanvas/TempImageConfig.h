#pragma once

#include <QColor>
#include <QObject>

#include "SarvikSDK.h"

// Image settings of one device (palette, stretch, manual window, colour marking) and the SDK's stretch
// record they travel in.
class TempImageConfig : public QObject {
    Q_OBJECT
    Q_PROPERTY(int paletteType READ paletteType WRITE set_paletteType NOTIFY paletteTypeChanged)
    Q_PROPERTY(int strechType READ strechType WRITE set_strechType NOTIFY strechTypeChanged)
    Q_PROPERTY(float gain READ gain WRITE set_gain NOTIFY gainChanged)
    Q_PROPERTY(int temp2gray READ temp2gray WRITE set_temp2gray NOTIFY temp2grayChanged)
    Q_PROPERTY(int ddeLevel READ ddeLevel WRITE set_ddeLevel NOTIFY ddeLevelChanged)
    Q_PROPERTY(bool man_enable READ man_enable WRITE set_man_enable NOTIFY man_enableChanged)
    Q_PROPERTY(float man_temp0 READ man_temp0 WRITE set_man_temp0 NOTIFY man_temp0Changed)
    Q_PROPERTY(float man_temp1 READ man_temp1 WRITE set_man_temp1 NOTIFY man_temp1Changed)
    Q_PROPERTY(int ct_type READ ct_type WRITE set_ct_type NOTIFY ct_typeChanged)
    Q_PROPERTY(float ct_temp0 READ ct_temp0 WRITE set_ct_temp0 NOTIFY ct_temp0Changed)
    Q_PROPERTY(float ct_temp1 READ ct_temp1 WRITE set_ct_temp1 NOTIFY ct_temp1Changed)
    Q_PROPERTY(QColor ct_color0 READ ct_color0 WRITE set_ct_color0 NOTIFY ct_color0Changed)
    Q_PROPERTY(QColor ct_color1 READ ct_color1 WRITE set_ct_color1 NOTIFY ct_color1Changed)

public:
    explicit TempImageConfig(QObject *parent = nullptr);

    int paletteType() const { return m_paletteType; }
    int strechType() const { return m_strechType; }
    float gain() const { return m_gain; }
    int temp2gray() const { return m_temp2gray; }
    int ddeLevel() const { return m_ddeLevel; }
    bool man_enable() const { return m_man_enable; }
    float man_temp0() const { return m_man_temp0; }
    float man_temp1() const { return m_man_temp1; }
    int ct_type() const { return m_ct_type; }
    float ct_temp0() const { return m_ct_temp0; }
    float ct_temp1() const { return m_ct_temp1; }
    QColor ct_color0() const { return m_ct_color0; }
    QColor ct_color1() const { return m_ct_color1; }

    void set_paletteType(int v);
    void set_strechType(int v);
    void set_gain(float v);
    void set_temp2gray(int v);
    void set_ddeLevel(int v);
    void set_man_enable(bool v);
    void set_man_temp0(float v);
    void set_man_temp1(float v);
    void set_ct_type(int v);
    void set_ct_temp0(float v);
    void set_ct_temp1(float v);
    void set_ct_color0(const QColor &v);
    void set_ct_color1(const QColor &v);

    // Properties into the embedded record (its flag word is left as it is) and back.
    Q_INVOKABLE void cls2bin();
    Q_INVOKABLE void bin2cls();
    _strech_control &bin() { return m_bin; }
    const _strech_control &bin() const { return m_bin; }

signals:
    void paletteTypeChanged();
    void strechTypeChanged();
    void gainChanged();
    void temp2grayChanged();
    void ddeLevelChanged();
    void man_enableChanged();
    void man_temp0Changed();
    void man_temp1Changed();
    void ct_typeChanged();
    void ct_temp0Changed();
    void ct_temp1Changed();
    void ct_color0Changed();
    void ct_color1Changed();

private:
    int m_paletteType = 5;
    int m_strechType = 1;
    float m_gain = 2.0f;
    int m_temp2gray = 0;
    int m_ddeLevel = 0;
    bool m_man_enable = false;
    float m_man_temp0 = 20.0f;
    float m_man_temp1 = 40.0f;
    int m_ct_type = 0;
    float m_ct_temp0 = 0.0f;
    float m_ct_temp1 = 0.0f;
    QColor m_ct_color0;
    QColor m_ct_color1;
    _strech_control m_bin{};
};
