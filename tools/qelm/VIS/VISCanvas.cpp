#include "VISCanvas.h"

VISCanvas::VISCanvas(QQuickItem *parent) : TempCanvas(parent) {
    // The visible picture carries no temperatures: no item is measured or drawn.
    setImageOnly(true);
}

void VISCanvas::set_visTool(int) {
    // Only select (pan and zoom) means anything on a plain picture.
    set_tool(0);
}
