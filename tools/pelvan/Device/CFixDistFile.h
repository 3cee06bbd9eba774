// The fix-distance block (memory type 7) as QML properties: up to five distances and ten rows of a
// blackbody temperature and the temperature measured at each distance.
#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>

#include "SarvikSDK.h"

class CFixDistItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(double blackbody READ blackbody WRITE setBlackbody NOTIFY blackbodyChanged)
    Q_PROPERTY(double temp0 READ temp0 WRITE setTemp0 NOTIFY temp0Changed)
    Q_PROPERTY(double temp1 READ temp1 WRITE setTemp1 NOTIFY temp1Changed)
    Q_PROPERTY(double temp2 READ temp2 WRITE setTemp2 NOTIFY temp2Changed)
    Q_PROPERTY(double temp3 READ temp3 WRITE setTemp3 NOTIFY temp3Changed)
    Q_PROPERTY(double temp4 READ temp4 WRITE setTemp4 NOTIFY temp4Changed)

public:
    enum { TEMP_COUNT = 5 };
    explicit CFixDistItem(QObject *parent = nullptr) : QObject(parent) {}

    double blackbody() const { return m_blackbody; }
    void setBlackbody(double v);
    double temp0() const { return m_temp[0]; }
    double temp1() const { return m_temp[1]; }
    double temp2() const { return m_temp[2]; }
    double temp3() const { return m_temp[3]; }
    double temp4() const { return m_temp[4]; }
    void setTemp0(double v) { setTemp(0, v); }
    void setTemp1(double v) { setTemp(1, v); }
    void setTemp2(double v) { setTemp(2, v); }
    void setTemp3(double v) { setTemp(3, v); }
    void setTemp4(double v) { setTemp(4, v); }
    double temp(int k) const { return (k >= 0 && k < TEMP_COUNT) ? m_temp[k] : 0; }
    void setTemp(int k, double v);

signals:
    void blackbodyChanged();
    void temp0Changed();
    void temp1Changed();
    void temp2Changed();
    void temp3Changed();
    void temp4Changed();

private:
    double m_blackbody = 0;
    double m_temp[TEMP_COUNT] = {};
};

class CFixDistFile : public QObject {
    Q_OBJECT
    Q_PROPERTY(int distCount READ distCount WRITE setDistCount NOTIFY distCountChanged)
    Q_PROPERTY(int bbCount READ bbCount WRITE setBbCount NOTIFY bbCountChanged)
    Q_PROPERTY(int dist0 READ dist0 WRITE setDist0 NOTIFY dist0Changed)
    Q_PROPERTY(int dist1 READ dist1 WRITE setDist1 NOTIFY dist1Changed)
    Q_PROPERTY(int dist2 READ dist2 WRITE setDist2 NOTIFY dist2Changed)
    Q_PROPERTY(int dist3 READ dist3 WRITE setDist3 NOTIFY dist3Changed)
    Q_PROPERTY(int dist4 READ dist4 WRITE setDist4 NOTIFY dist4Changed)
    Q_PROPERTY(QQmlListProperty<CFixDistItem> itemArray READ itemArrayProperty NOTIFY itemArrayChanged)

public:
    enum { BLOCK_TYPE = 7, BLOCK_SIZE = 696, DIST_MAX = 5, ROW_MAX = 10 };

    explicit CFixDistFile(QObject *parent = nullptr);

    int distCount() const { return m_distCount; }
    // Counts outside 0..5 and 0..10 are ignored.
    void setDistCount(int count);
    int bbCount() const { return m_bbCount; }
    void setBbCount(int count);
    int dist0() const { return m_dist[0]; }
    int dist1() const { return m_dist[1]; }
    int dist2() const { return m_dist[2]; }
    int dist3() const { return m_dist[3]; }
    int dist4() const { return m_dist[4]; }
    void setDist0(int v) { setDist(0, v); }
    void setDist1(int v) { setDist(1, v); }
    void setDist2(int v) { setDist(2, v); }
    void setDist3(int v) { setDist(3, v); }
    void setDist4(int v) { setDist(4, v); }
    int dist(int k) const { return (k >= 0 && k < DIST_MAX) ? m_dist[k] : 0; }
    void setDist(int k, int v);
    QQmlListProperty<CFixDistItem> itemArrayProperty();
    CFixDistItem *item(int i) const { return (i >= 0 && i < ROW_MAX) ? m_items[i] : nullptr; }

    FixDistBlock &image() { return m_image; }
    const FixDistBlock &image() const { return m_image; }
    void bin2cls();
    void cls2bin() { cls2bin(m_image); }
    // The block as the properties would write it.
    void cls2bin(FixDistBlock &out) const;

signals:
    void distCountChanged();
    void bbCountChanged();
    void dist0Changed();
    void dist1Changed();
    void dist2Changed();
    void dist3Changed();
    void dist4Changed();
    void itemArrayChanged();

private:
    FixDistBlock m_image{};
    int m_distCount = 0;
    int m_bbCount = 0;
    int m_dist[DIST_MAX] = {};
    QList<CFixDistItem *> m_items;
};
