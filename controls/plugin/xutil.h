// Colour mixing for the controls: a colour moved towards another, towards the theme's dark base or white.
#pragma once

#include <QColor>
#include <QObject>

class XUtil : public QObject {
    Q_OBJECT
public:
    explicit XUtil(QObject *parent = nullptr);

    // Per channel (0..1): (a - b) * x + b, opaque.
    Q_INVOKABLE QColor mix(const QColor &a, const QColor &b, double x) const;
    // c moved towards the dark base colour (20, 20, 20) by the fraction x.
    Q_INVOKABLE QColor mix_dark(const QColor &c, double x) const;
    // c moved towards white by the fraction x.
    Q_INVOKABLE QColor mix_white(const QColor &c, double x) const;

    QColor dark() const { return m_dark; }
    QColor white() const { return m_white; }

private:
    QColor m_dark{20, 20, 20};
    QColor m_white{255, 255, 255};
};
