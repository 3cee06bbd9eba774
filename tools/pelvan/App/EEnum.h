// The views' enumeration singleton. It carries no members yet; it is registered so that views written
// against it load.
#pragma once

#include <QObject>

class EEnum : public QObject {
    Q_OBJECT

public:
    explicit EEnum(QObject *parent = nullptr) : QObject(parent) {}
};
