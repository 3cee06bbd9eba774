// The status figure of the visible side: its frame rate. GUI thread only.
#pragma once

#include <QObject>

class VISFrameState : public QObject {
    Q_OBJECT
    Q_PROPERTY(float fps READ fps WRITE set_fps NOTIFY fpsChanged)

public:
    explicit VISFrameState(QObject *parent = nullptr) : QObject(parent) {}

    float fps() const { return m_fps; }
    void set_fps(float v);
    Q_INVOKABLE void reset() { set_fps(0); }

signals:
    void fpsChanged();

private:
    float m_fps = 0;
};
