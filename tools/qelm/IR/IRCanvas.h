// The thermal picture: the desktop tool's temperature canvas with the global item (grey "GLOBAL"), the
// cursor readout and one tool, select (which pans, zooms and fits). Other tools are refused.
#pragma once

#include "TempCanvas.h"

class IRCanvas : public TempCanvas {
    Q_OBJECT
    // Always 0 (select): writing another tool leaves it at 0.
    Q_PROPERTY(int tool READ tool WRITE set_irTool NOTIFY toolChanged)

public:
    explicit IRCanvas(QQuickItem *parent = nullptr);

    void set_irTool(int t);
};
