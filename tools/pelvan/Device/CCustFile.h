// Custom blackbody points of one temperature range (memory types 3 and 4): the note, the time of the last
// write and up to 16 pairs of blackbody and measured temperature.
#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QString>

#include <cstdint>

class CCustPoint : public QObject {
    Q_OBJECT
    Q_PROPERTY(double blackbody READ blackbody WRITE setBlackbody NOTIFY blackbodyChanged)
    Q_PROPERTY(double temp READ temp WRITE setTemp NOTIFY tempChanged)
    Q_PROPERTY(double emmi READ emmi WRITE setEmmi NOTIFY emmiChanged)

public:
    explicit CCustPoint(QObject *parent = nullptr) : QObject(parent) {}

    double blackbody() const { return m_blackbody; }
    void setBlackbody(double v);
    double temp() const { return m_temp; }
    void setTemp(double v);
    double emmi() const { return m_emmi; }
    void setEmmi(double v);

signals:
    void blackbodyChanged();
    void tempChanged();
    void emmiChanged();

private:
    double m_blackbody = 0;
    double m_temp = 0;
    double m_emmi = 1;
};

class CCustFile : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString timestamp READ timestamp NOTIFY timestampChanged)
    Q_PROPERTY(QString note READ note WRITE setNote NOTIFY noteChanged)
    Q_PROPERTY(int itemCount READ itemCount WRITE setItemCount NOTIFY itemCountChanged)
    Q_PROPERTY(bool editEnable READ editEnable WRITE setEditEnable NOTIFY editEnableChanged)
    Q_PROPERTY(QQmlListProperty<CCustPoint> itemList READ itemListProperty NOTIFY itemListChanged)

public:
    enum { BLOCK_SIZE = 656, ITEM_MAX = 16 };

    explicit CCustFile(QObject *parent = nullptr);

    QString timestamp() const { return m_timestamp; }
    QString note() const { return m_note; }
    void setNote(const QString &note);
    int itemCount() const { return m_itemCount; }
    // Counts outside 0..16 are ignored.
    void setItemCount(int count);
    bool editEnable() const { return m_editEnable; }
    void setEditEnable(bool enable);
    QQmlListProperty<CCustPoint> itemListProperty();
    CCustPoint *item(int i) const { return (i >= 0 && i < m_items.size()) ? m_items[i] : nullptr; }

    // The block image and its translation to and from the properties.
    uint8_t *image() { return m_image; }
    const uint8_t *image() const { return m_image; }
    void bin2cls();
    void cls2bin();

    // "yyyy-MM-dd HH:mm:ss" in local time for 100-ns ticks since 1601-01-01 UTC.
    static QString ticksToText(int64_t ticks);
    static int64_t nowTicks();

signals:
    void timestampChanged();
    void noteChanged();
    void itemCountChanged();
    void editEnableChanged();
    void itemListChanged();

private:
    uint8_t m_image[BLOCK_SIZE] = {};
    QString m_timestamp;
    QString m_note;
    int m_itemCount = 0;
    bool m_editEnable = false;
    QList<CCustPoint *> m_items;
};
