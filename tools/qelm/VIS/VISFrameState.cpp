#include "VISFrameState.h"

void VISFrameState::set_fps(float v) {
    if (m_fps == v) return;
    m_fps = v;
    emit fpsChanged();
}
