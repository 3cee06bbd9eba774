#include "TCConfig.h"

TCConfig::TCConfig(QObject *parent) : QObject(parent) {}

void TCConfig::setXmode(int v) {
    if (m_xmode == v) return;
    m_xmode = v;
    emit xmodeChanged();
}

void TCConfig::setXmin(double v) {
    if (m_xmin == v) return;
    m_xmin = v;
    emit xminChanged();
}

void TCConfig::setXmax(double v) {
    if (m_xmax == v) return;
    m_xmax = v;
    emit xmaxChanged();
}

void TCConfig::setYmode(int v) {
    if (m_ymode == v) return;
    m_ymode = v;
    emit ymodeChanged();
}

void TCConfig::setYmin(double v) {
    if (m_ymin == v) return;
    m_ymin = v;
    emit yminChanged();
}

void TCConfig::setYmax(double v) {
    if (m_ymax == v) return;
    m_ymax = v;
    emit ymaxChanged();
}

void TCConfig::setFifoSize(int v) {
    if (m_fifoSize == v) return;
    m_fifoSize = v;
    emit fifoSizeChanged();
}
