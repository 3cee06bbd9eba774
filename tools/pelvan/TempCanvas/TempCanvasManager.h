#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QVariantList>

#include "AlgMea.h"
#include "TCConfig.h"
#include "TCSeriesBase.h"
#include "TempChart.h"

class TempCanvas;
class TempCanvasItemBase;

// Process-wide registry of canvases, measurement items, the current tool and the default item colours.
class TempCanvasManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariantList meaColorArray READ meaColorArray CONSTANT)
    Q_PROPERTY(QList<QObject *> meaList READ meaList NOTIFY meaListChanged)
    Q_PROPERTY(int tool READ tool WRITE set_tool NOTIFY toolChanged)
    Q_PROPERTY(bool hideAll READ hideAll WRITE set_hideAll NOTIFY hideAllChanged)
    Q_PROPERTY(TempCanvasItemBase *meaSelected READ meaSelected NOTIFY meaSelectedChanged)

public:
    explicit TempCanvasManager(QObject *parent = nullptr);
    ~TempCanvasManager() override;

    // Registers the QML types under "Sarvik 1.0" and starts the measurement library; once per process.
    static void init();
    static TempCanvasManager *instance();

    QVariantList meaColorArray() const;
    QList<QObject *> meaList() const;
    const QList<TempCanvasItemBase *> &meaItems() const { return m_meaList; }
    int tool() const { return m_tool; }
    bool hideAll() const { return m_hideAll; }
    TempCanvasItemBase *meaSelected() const { return m_meaSelected; }
    const QList<TempCanvas *> &canvasList() const { return m_canvasList; }

    void canvas_crud(TempCanvas *canvas, int op);
    void mea_crud(TempCanvasItemBase *item, int op);
    void mea_init(XMea &mea);

    Q_INVOKABLE void set_tool(int t);
    Q_INVOKABLE void set_hideAll(bool b);
    void set_meaSelected(TempCanvasItemBase *item);

signals:
    void meaListChanged();
    void toolChanged();
    void hideAllChanged();
    void meaSelectedChanged();

private:
    QList<TempCanvas *> m_canvasList;
    QList<TempCanvasItemBase *> m_meaList;
    int m_tool = 0;
    bool m_hideAll = false;
    TempCanvasItemBase *m_meaSelected = nullptr;
};
