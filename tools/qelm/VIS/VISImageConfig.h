// Image settings of the visible side: none yet; the conversions to and from the camera's parameters keep
// the place for them and change nothing.
#pragma once

#include <QObject>

#include "mvs.h"

class VISImageConfig : public QObject {
    Q_OBJECT

public:
    explicit VISImageConfig(QObject *parent = nullptr) : QObject(parent) {}

    void cls2bin(MVSParam &) const {}
    void bin2cls(const MVSParam &) {}
};
