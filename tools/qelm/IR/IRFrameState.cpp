#include "IRFrameState.h"

IRFrameState::IRFrameState(QObject *parent) : QObject(parent) {}

// Exact comparison on purpose: a figure that is recomputed to the same value must not wake the views.
#define IR_FRAME_STATE_SETTER(name, type)   \
    void IRFrameState::set_##name(type v) { \
        if (m_##name == v) return;          \
        m_##name = v;                       \
        emit name##Changed();               \
    }

IR_FRAME_STATE_SETTER(fps, float)
IR_FRAME_STATE_SETTER(fpaTemp, float)
IR_FRAME_STATE_SETTER(shellTemp, float)
IR_FRAME_STATE_SETTER(shellTempHW, float)
IR_FRAME_STATE_SETTER(maxTemp, float)
IR_FRAME_STATE_SETTER(avgTemp, float)
IR_FRAME_STATE_SETTER(minTemp, float)
IR_FRAME_STATE_SETTER(gpioInput, int)
IR_FRAME_STATE_SETTER(netd, float)
IR_FRAME_STATE_SETTER(sstd, float)

#undef IR_FRAME_STATE_SETTER

void IRFrameState::reset() {
    set_fps(0);
    set_fpaTemp(0);
    set_shellTemp(0);
    set_shellTempHW(0);
    set_maxTemp(0);
    set_avgTemp(0);
    set_minTemp(0);
    set_gpioInput(0);
    set_netd(0);
    set_sstd(0);
}
