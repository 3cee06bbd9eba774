#include "IRCanvas.h"

IRCanvas::IRCanvas(QQuickItem *parent) : TempCanvas(parent) {}

void IRCanvas::set_irTool(int) {
    // Only select exists here: whatever a view writes, the tool stays (or goes back to) 0.
    if (tool() == 0) return;
    set_tool(0);
}
