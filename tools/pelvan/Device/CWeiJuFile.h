// The close-range lens block (memory type 5) as QML properties: the mode, the first table set by shell
// temperature and the second table.
#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>

#include <cstdint>

#include "SarvikSDK.h"

class CWeiJuItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(double blackbody READ blackbody WRITE setBlackbody NOTIFY blackbodyChanged)
    Q_PROPERTY(double temp0 READ temp0 WRITE setTemp0 NOTIFY temp0Changed)
    Q_PROPERTY(double temp1 READ temp1 WRITE setTemp1 NOTIFY temp1Changed)
    Q_PROPERTY(double temp2 READ temp2 WRITE setTemp2 NOTIFY temp2Changed)
    Q_PROPERTY(double temp3 READ temp3 WRITE setTemp3 NOTIFY temp3Changed)

public:
    enum { TEMP_COUNT = 4 };
    explicit CWeiJuItem(QObject *parent = nullptr) : QObject(parent) {}

    double blackbody() const { return m_blackbody; }
    void setBlackbody(double v);
    double temp0() const { return m_temp[0]; }
    double temp1() const { return m_temp[1]; }
    double temp2() const { return m_temp[2]; }
    double temp3() const { return m_temp[3]; }
    void setTemp0(double v) { setTemp(0, v); }
    void setTemp1(double v) { setTemp(1, v); }
    void setTemp2(double v) { setTemp(2, v); }
    void setTemp3(double v) { setTemp(3, v); }
    double temp(int k) const { return (k >= 0 && k < TEMP_COUNT) ? m_temp[k] : 0; }
    void setTemp(int k, double v);

signals:
    void blackbodyChanged();
    void temp0Changed();
    void temp1Changed();
    void temp2Changed();
    void temp3Changed();

private:
    double m_blackbody = 0;
    double m_temp[TEMP_COUNT] = {};
};

class CWeiJuFile : public QObject {
    Q_OBJECT
    Q_PROPERTY(int cali_mode READ cali_mode WRITE set_cali_mode NOTIFY cali_modeChanged)
    Q_PROPERTY(int len1_env_count READ len1_env_count WRITE set_len1_env_count NOTIFY len1_env_countChanged)
    Q_PROPERTY(double len1_shell0 READ len1_shell0 WRITE set_len1_shell0 NOTIFY len1_shell0Changed)
    Q_PROPERTY(double len1_shell1 READ len1_shell1 WRITE set_len1_shell1 NOTIFY len1_shell1Changed)
    Q_PROPERTY(double len1_shell2 READ len1_shell2 WRITE set_len1_shell2 NOTIFY len1_shell2Changed)
    Q_PROPERTY(double len1_shell3 READ len1_shell3 WRITE set_len1_shell3 NOTIFY len1_shell3Changed)
    Q_PROPERTY(int len1_bb_count READ len1_bb_count WRITE set_len1_bb_count NOTIFY len1_bb_countChanged)
    Q_PROPERTY(int len2_bb_count READ len2_bb_count WRITE set_len2_bb_count NOTIFY len2_bb_countChanged)
    Q_PROPERTY(
        QQmlListProperty<CWeiJuItem> len1_bb_array READ len1_bb_arrayProperty NOTIFY len1_bb_arrayChanged)
    Q_PROPERTY(
        QQmlListProperty<CWeiJuItem> len2_bb_array READ len2_bb_arrayProperty NOTIFY len2_bb_arrayChanged)

public:
    enum { BLOCK_TYPE = 5, BLOCK_SIZE = 1088, SHELL_MAX = 4, ROW_MAX = 16, FORMAT_STAMP = 20250224 };

    explicit CWeiJuFile(QObject *parent = nullptr);

    int cali_mode() const { return m_cali_mode; }
    void set_cali_mode(int mode);
    int len1_env_count() const { return m_len1_env_count; }
    // Counts outside their ranges (0..4, 0..16, 0..16) are ignored.
    void set_len1_env_count(int count);
    double len1_shell0() const { return m_shell[0]; }
    double len1_shell1() const { return m_shell[1]; }
    double len1_shell2() const { return m_shell[2]; }
    double len1_shell3() const { return m_shell[3]; }
    void set_len1_shell0(double v) { setShell(0, v); }
    void set_len1_shell1(double v) { setShell(1, v); }
    void set_len1_shell2(double v) { setShell(2, v); }
    void set_len1_shell3(double v) { setShell(3, v); }
    double shell(int k) const { return (k >= 0 && k < SHELL_MAX) ? m_shell[k] : 0; }
    void setShell(int k, double v);
    int len1_bb_count() const { return m_len1_bb_count; }
    void set_len1_bb_count(int count);
    int len2_bb_count() const { return m_len2_bb_count; }
    void set_len2_bb_count(int count);
    QQmlListProperty<CWeiJuItem> len1_bb_arrayProperty();
    QQmlListProperty<CWeiJuItem> len2_bb_arrayProperty();
    CWeiJuItem *len1Item(int i) const { return (i >= 0 && i < ROW_MAX) ? m_len1[i] : nullptr; }
    CWeiJuItem *len2Item(int i) const { return (i >= 0 && i < ROW_MAX) ? m_len2[i] : nullptr; }

    CloseRangeLensBlock &image() { return m_image; }
    const CloseRangeLensBlock &image() const { return m_image; }
    void bin2cls();
    void cls2bin() { cls2bin(m_image); }
    // The block as the properties would write it, over out's own bytes.
    void cls2bin(CloseRangeLensBlock &out) const;

signals:
    void cali_modeChanged();
    void len1_env_countChanged();
    void len1_shell0Changed();
    void len1_shell1Changed();
    void len1_shell2Changed();
    void len1_shell3Changed();
    void len1_bb_countChanged();
    void len2_bb_countChanged();
    void len1_bb_arrayChanged();
    void len2_bb_arrayChanged();

private:
    CloseRangeLensBlock m_image{};
    int m_cali_mode = 2;
    int m_len1_env_count = 0;
    double m_shell[SHELL_MAX] = {};
    int m_len1_bb_count = 0;
    int m_len2_bb_count = 0;
    QList<CWeiJuItem *> m_len1;
    QList<CWeiJuItem *> m_len2;
};
