#include "TempCanvasManager.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <cstdio>

#include "TempCanvas.h"
#include "TempCanvasItem.h"
#include "TempImageConfig.h"
#include "TempPaletteData.h"
#include "TempPaletteScale.h"
#include "XPainterStatic.h"

namespace {
TempCanvasManager *g_instance = nullptr;
}

TempCanvasManager::TempCanvasManager(QObject *parent) : QObject(parent) {
    if (!g_instance) g_instance = this;
}

TempCanvasManager::~TempCanvasManager() {
    if (g_instance == this) g_instance = nullptr;
}

void TempCanvasManager::init() {
    static bool done = false;
    if (done) return;
    done = true;
    const char *uri = "Sarvik";
    qmlRegisterType<TempPaletteData>(uri, 1, 0, "TempPaletteData");
    qmlRegisterType<TempImageConfig>(uri, 1, 0, "TempImageConfig");
    qmlRegisterType<TempCanvas>(uri, 1, 0, "TempCanvas");
    qmlRegisterType<TempCanvasItemBase>(uri, 1, 0, "TempCanvasItemBase");
    qmlRegisterType<TempChart>(uri, 1, 0, "TempChart");
    qmlRegisterType<TCSeriesBase>(uri, 1, 0, "TCSeriesBase");
    qmlRegisterType<TCConfig>(uri, 1, 0, "TCConfig");
    qmlRegisterType<TempCanvasManager>(uri, 1, 0, "TempCanvasManager");
    qmlRegisterType<TempPaletteScale>(uri, 1, 0, "TempPaletteScale");
    Alg_Init();
}

TempCanvasManager *TempCanvasManager::instance() {
    // Parented to the application so it goes away with it.
    if (!g_instance) new TempCanvasManager(QCoreApplication::instance());
    return g_instance;
}

QVariantList TempCanvasManager::meaColorArray() const {
    QVariantList out;
    for (int i = 0; i < XPainterStatic::kMeaColorCount; ++i)
        out.append(QColor::fromRgb(0xFF000000u | XPainterStatic::meaColor(i)));
    return out;
}

QList<QObject *> TempCanvasManager::meaList() const {
    QList<QObject *> out;
    for (TempCanvasItemBase *item : m_meaList) out.append(item);
    return out;
}

void TempCanvasManager::canvas_crud(TempCanvas *canvas, int op) {
    if (!canvas) return;
    if (op == 0) {
        if (m_canvasList.contains(canvas)) return;
        m_canvasList.append(canvas);
        connect(this, &TempCanvasManager::hideAllChanged, canvas, &TempCanvas::forceRedraw);
    } else if (op == 3) {
        m_canvasList.removeAll(canvas);
        disconnect(this, nullptr, canvas, nullptr);
    }
}

void TempCanvasManager::mea_crud(TempCanvasItemBase *item, int op) {
    if (!item) return;
    if (op == 0) {
        if (m_meaList.contains(item)) return;
        int at = m_meaList.size();
        for (int i = m_meaList.size() - 1; i >= 0; --i)
            if (m_meaList[i]->canvas() == item->canvas()) {
                at = i + 1;
                break;
            }
        m_meaList.insert(at, item);
        emit meaListChanged();
    } else if (op == 3) {
        if (m_meaList.removeAll(item) == 0) return;
        if (m_meaSelected == item) set_meaSelected(nullptr);
        emit meaListChanged();
    }
}

void TempCanvasManager::mea_init(XMea &mea) {
    int n = 0;
    for (TempCanvasItemBase *item : m_meaList)
        if (item->meaType() != MEA_GLOBAL) ++n;
    std::snprintf(mea.name, 32, "M%d", n + 1);
    mea.color = 0xFF000000u | XPainterStatic::meaColor(n % XPainterStatic::kMeaColorCount);
}

void TempCanvasManager::set_tool(int t) {
    if (t < 0 || t >= TempCanvas::kToolCount) return;
    if (t > 0) set_hideAll(false);
    for (TempCanvas *canvas : m_canvasList) canvas->set_tool(t);
    if (t == m_tool) return;
    m_tool = t;
    emit toolChanged();
}

void TempCanvasManager::set_hideAll(bool b) {
    if (b == m_hideAll) return;
    m_hideAll = b;
    emit hideAllChanged();
}

void TempCanvasManager::set_meaSelected(TempCanvasItemBase *item) {
    if (item == m_meaSelected) return;
    m_meaSelected = item;
    emit meaSelectedChanged();
}
