#include "xutil.h"

XUtil::XUtil(QObject *parent) : QObject(parent) {}

QColor XUtil::mix(const QColor &a, const QColor &b, double x) const {
    auto channel = [x](double ca, double cb) { return (ca - cb) * x + cb; };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()), 1.0);
}

QColor XUtil::mix_dark(const QColor &c, double x) const { return mix(m_dark, c, x); }

QColor XUtil::mix_white(const QColor &c, double x) const { return mix(m_white, c, x); }
