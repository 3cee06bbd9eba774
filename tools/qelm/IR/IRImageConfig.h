// Image settings of the thermal side: the desktop tool's settings and their conversion to and from the
// SDK's stretch record, unchanged.
#pragma once

#include "TempImageConfig.h"

class IRImageConfig : public TempImageConfig {
    Q_OBJECT

public:
    explicit IRImageConfig(QObject *parent = nullptr) : TempImageConfig(parent) {}
};
