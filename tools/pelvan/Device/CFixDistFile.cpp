#include "CFixDistFile.h"

#include <cstring>

#include "CCustEditor.h"

static_assert(CFixDistFile::BLOCK_SIZE == sizeof(FixDistBlock), "the image is the whole block");

void CFixDistItem::setBlackbody(double v) {
    editorSet(this, m_blackbody, v, &CFixDistItem::blackbodyChanged);
}

void CFixDistItem::setTemp(int k, double v) {
    static void (CFixDistItem::*const sigs[TEMP_COUNT])() = {
        &CFixDistItem::temp0Changed, &CFixDistItem::temp1Changed, &CFixDistItem::temp2Changed,
        &CFixDistItem::temp3Changed, &CFixDistItem::temp4Changed};
    if (k < 0 || k >= TEMP_COUNT) return;
    editorSet(this, m_temp[k], v, sigs[k]);
}

CFixDistFile::CFixDistFile(QObject *parent) : QObject(parent) {
    for (int i = 0; i < ROW_MAX; ++i) m_items.append(new CFixDistItem(this));
}

void CFixDistFile::setDistCount(int count) {
    if (count < 0 || count > DIST_MAX) return;
    editorSet(this, m_distCount, count, &CFixDistFile::distCountChanged);
}

void CFixDistFile::setBbCount(int count) {
    if (count < 0 || count > ROW_MAX) return;
    editorSet(this, m_bbCount, count, &CFixDistFile::bbCountChanged);
}

void CFixDistFile::setDist(int k, int v) {
    static void (CFixDistFile::*const sigs[DIST_MAX])() = {
        &CFixDistFile::dist0Changed, &CFixDistFile::dist1Changed, &CFixDistFile::dist2Changed,
        &CFixDistFile::dist3Changed, &CFixDistFile::dist4Changed};
    if (k < 0 || k >= DIST_MAX) return;
    editorSet(this, m_dist[k], v, sigs[k]);
}

QQmlListProperty<CFixDistItem> CFixDistFile::itemArrayProperty() {
    return QQmlListProperty<CFixDistItem>(this, &m_items);
}

void CFixDistFile::bin2cls() {
    setDistCount(m_image.distCount);
    setBbCount(m_image.bbCount);
    for (int k = 0; k < DIST_MAX; ++k) setDist(k, m_image.distances[k]);
    for (int i = 0; i < ROW_MAX; ++i) {
        m_items[i]->setBlackbody(m_image.pairs[0][i].bb);
        for (int k = 0; k < DIST_MAX; ++k) m_items[i]->setTemp(k, m_image.pairs[k][i].mea);
    }
}

void CFixDistFile::cls2bin(FixDistBlock &out) const {
    std::memset(&out, 0, sizeof out);
    out.distCount = m_distCount;
    out.bbCount = m_bbCount;
    for (int k = 0; k < DIST_MAX; ++k) out.distances[k] = m_dist[k];
    for (int i = 0; i < ROW_MAX; ++i)
        for (int k = 0; k < DIST_MAX; ++k) {
            out.pairs[k][i].bb = float(m_items[i]->blackbody());
            out.pairs[k][i].mea = float(m_items[i]->temp(k));
        }
}
