#include "TempPaletteData.h"

void TempPaletteData::set_paletteType(int t) {
    if (t == m_paletteType) return;
    m_paletteType = t;
    emit paletteTypeChanged();
}

void TempPaletteData::updateMan(bool enable, float min, float max) {
    m_manEnable = enable;
    m_manMin = min;
    m_manMax = max;
    // Always announced: the shown range may switch between the manual and the frame's range.
    emit paletteMinChanged();
    emit paletteMaxChanged();
}

void TempPaletteData::updateGbl(float min, float max) {
    if (min != m_gblMin) {
        m_gblMin = min;
        emit paletteMinChanged();
    }
    if (max != m_gblMax) {
        m_gblMax = max;
        emit paletteMaxChanged();
    }
}
