#include "CWeiJuFile.h"

#include <cstring>

#include "CCustEditor.h"

static_assert(CWeiJuFile::BLOCK_SIZE == sizeof(CloseRangeLensBlock), "the image is the whole block");

void CWeiJuItem::setBlackbody(double v) {
    editorSet(this, m_blackbody, v, &CWeiJuItem::blackbodyChanged);
}

void CWeiJuItem::setTemp(int k, double v) {
    static void (CWeiJuItem::*const sigs[TEMP_COUNT])() = {
        &CWeiJuItem::temp0Changed, &CWeiJuItem::temp1Changed, &CWeiJuItem::temp2Changed,
        &CWeiJuItem::temp3Changed};
    if (k < 0 || k >= TEMP_COUNT) return;
    editorSet(this, m_temp[k], v, sigs[k]);
}

CWeiJuFile::CWeiJuFile(QObject *parent) : QObject(parent) {
    for (int i = 0; i < ROW_MAX; ++i) {
        m_len1.append(new CWeiJuItem(this));
        m_len2.append(new CWeiJuItem(this));
    }
}

void CWeiJuFile::set_cali_mode(int mode) {
    editorSet(this, m_cali_mode, mode, &CWeiJuFile::cali_modeChanged);
}

void CWeiJuFile::set_len1_env_count(int count) {
    if (count < 0 || count > SHELL_MAX) return;
    editorSet(this, m_len1_env_count, count, &CWeiJuFile::len1_env_countChanged);
}

void CWeiJuFile::set_len1_bb_count(int count) {
    if (count < 0 || count > ROW_MAX) return;
    editorSet(this, m_len1_bb_count, count, &CWeiJuFile::len1_bb_countChanged);
}

void CWeiJuFile::set_len2_bb_count(int count) {
    if (count < 0 || count > ROW_MAX) return;
    editorSet(this, m_len2_bb_count, count, &CWeiJuFile::len2_bb_countChanged);
}

void CWeiJuFile::setShell(int k, double v) {
    static void (CWeiJuFile::*const sigs[SHELL_MAX])() = {
        &CWeiJuFile::len1_shell0Changed, &CWeiJuFile::len1_shell1Changed, &CWeiJuFile::len1_shell2Changed,
        &CWeiJuFile::len1_shell3Changed};
    if (k < 0 || k >= SHELL_MAX) return;
    editorSet(this, m_shell[k], v, sigs[k]);
}

QQmlListProperty<CWeiJuItem> CWeiJuFile::len1_bb_arrayProperty() {
    return QQmlListProperty<CWeiJuItem>(this, &m_len1);
}

QQmlListProperty<CWeiJuItem> CWeiJuFile::len2_bb_arrayProperty() {
    return QQmlListProperty<CWeiJuItem>(this, &m_len2);
}

void CWeiJuFile::bin2cls() {
    set_cali_mode(m_image.cali_mode);
    set_len1_env_count(m_image.len1_env_count);
    set_len1_bb_count(m_image.len1_bb_count);
    set_len2_bb_count(m_image.len2_bb_count);
    for (int k = 0; k < SHELL_MAX; ++k) setShell(k, m_image.len1_shell_array[k]);
    for (int i = 0; i < ROW_MAX; ++i) {
        m_len1[i]->setBlackbody(m_image.len1_bb_array[0][i].bb);
        for (int k = 0; k < SHELL_MAX; ++k) m_len1[i]->setTemp(k, m_image.len1_bb_array[k][i].mea);
        m_len2[i]->setBlackbody(m_image.len2_bb_array[i].bb);
        m_len2[i]->setTemp(0, m_image.len2_bb_array[i].mea);
    }
}

void CWeiJuFile::cls2bin(CloseRangeLensBlock &out) const {
    std::memset(&out, 0, 128);
    out.stamp = FORMAT_STAMP;
    out.cali_mode = uint8_t(m_cali_mode);
    out.len1_env_count = uint8_t(m_len1_env_count);
    out.len1_bb_count = uint8_t(m_len1_bb_count);
    out.len2_bb_count = uint8_t(m_len2_bb_count);
    for (int k = 0; k < SHELL_MAX; ++k) out.len1_shell_array[k] = float(m_shell[k]);
    // Every row goes out whatever the counts; the entries' last words stay as fetched.
    for (int i = 0; i < ROW_MAX; ++i) {
        for (int k = 0; k < SHELL_MAX; ++k) {
            out.len1_bb_array[k][i].bb = float(m_len1[i]->blackbody());
            out.len1_bb_array[k][i].mea = float(m_len1[i]->temp(k));
        }
        out.len2_bb_array[i].bb = float(m_len2[i]->blackbody());
        out.len2_bb_array[i].mea = float(m_len2[i]->temp(0));
    }
}
