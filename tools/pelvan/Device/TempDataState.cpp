#include "TempDataState.h"

TempDataState::TempDataState(QObject *parent) : QObject(parent) {}

#define TDS_SETTER(name, type)                 \
    void TempDataState::set_##name(type v) {   \
        if (m_##name == v) return;             \
        m_##name = v;                          \
        emit name##Changed();                  \
    }

TDS_SETTER(fps, float)
TDS_SETTER(fpaTemp, float)
TDS_SETTER(shellTemp, float)
TDS_SETTER(shellTempHW, float)
TDS_SETTER(gpioInput, int)
TDS_SETTER(maxTemp, float)
TDS_SETTER(avgTemp, float)
TDS_SETTER(minTemp, float)
TDS_SETTER(netd, float)
TDS_SETTER(sstd, float)

#undef TDS_SETTER

void TempDataState::reset() {
    set_fps(0);
    set_fpaTemp(0);
    set_shellTemp(0);
    set_shellTempHW(0);
    set_gpioInput(0);
    set_maxTemp(0);
    set_avgTemp(0);
    set_minTemp(0);
    set_netd(0);
    set_sstd(0);
}

void TempDataState::setData(const _DataFrameHeader &header) {
    set_fpaTemp(static_cast<float>(header.fpaTemp) / 1000.0f);
    set_shellTemp(static_cast<float>(header.shellTemp) / 1000.0f);
    set_shellTempHW(static_cast<float>(header.shellTempHW) / 1000.0f);
    set_gpioInput(header.gpioInput);
}
