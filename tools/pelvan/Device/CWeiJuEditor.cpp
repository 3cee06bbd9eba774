#include "CWeiJuEditor.h"

#include <QQmlEngine>

#include "correction_tables.h"

CWeiJuEditor::CWeiJuEditor(QObject *parent) : QObject(parent), m_file(new CWeiJuFile(this)) {
    m_caliModeList.append(new CNameValue(QStringLiteral("Cali1"), 1, this));
    m_caliModeList.append(new CNameValue(QStringLiteral("Len1_Cali2"), 2, this));
    m_caliModeList.append(new CNameValue(QStringLiteral("Len2_Cali2"), 3, this));
    checkTable();
}

CWeiJuEditor::~CWeiJuEditor() = default;

void CWeiJuEditor::registerTypes() {
    const char *uri = "Sarvik";
    qmlRegisterType<CWeiJuEditor>(uri, 1, 0, "CWeiJuEditor");
    qmlRegisterType<CWeiJuFile>(uri, 1, 0, "CWeiJuFile");
    qmlRegisterType<CWeiJuItem>(uri, 1, 0, "CWeiJuItem");
}

QQmlListProperty<CNameValue> CWeiJuEditor::caliModeListProperty() {
    return QQmlListProperty<CNameValue>(this, &m_caliModeList);
}

QString CWeiJuEditor::localPath() const {
    return editorLocalPath(QStringLiteral("weiju-"), m_deviceId);
}

int CWeiJuEditor::init(const QString &ip) {
    const int status = m_session.login(ip);
    if (status < 0) return status;
    editorSet(this, m_deviceId, m_session.cameraId(), &CWeiJuEditor::deviceIdChanged);
    return downloadMem(CWeiJuFile::BLOCK_TYPE);
}

void CWeiJuEditor::free() {
    m_session.logout();
}

int CWeiJuEditor::downloadMem(int) {
    const int status = m_session.fetch(CWeiJuFile::BLOCK_TYPE, &m_file->image(), CWeiJuFile::BLOCK_SIZE);
    if (status < 0) return status;
    m_file->bin2cls();
    checkTable();
    return status;
}

int CWeiJuEditor::uploadMem(int) {
    if (!m_session.active()) return -7;
    m_file->cls2bin();
    return m_session.store(CWeiJuFile::BLOCK_TYPE, &m_file->image(), CWeiJuFile::BLOCK_SIZE);
}

int CWeiJuEditor::load(const QString &) {
    const int status = m_session.readLocal(localPath(), &m_file->image(), CWeiJuFile::BLOCK_SIZE);
    if (status < 0) return status;
    m_file->bin2cls();
    checkTable();
    return status;
}

int CWeiJuEditor::save(const QString &) {
    if (!m_session.active()) return -7;
    m_file->cls2bin();
    return m_session.writeLocal(localPath(), &m_file->image(), CWeiJuFile::BLOCK_SIZE);
}

bool CWeiJuEditor::checkTable() {
    CloseRangeLensBlock block = m_file->image();
    m_file->cls2bin(block);
    sarvik::TableFault fault;
    const bool valid = sarvik::close_lens_block_check(block, &fault);
    QString problem;
    const QString table = fault.group < 0 ? tr("second table") : tr("shell %1").arg(fault.group + 1);
    switch (fault.rule) {
        case sarvik::TableFault::NONE:
            break;
        case sarvik::TableFault::SHELL_COUNT:
            problem = tr("shell count above 4");
            break;
        case sarvik::TableFault::LEN1_COUNT:
            problem = tr("first table count above 16");
            break;
        case sarvik::TableFault::LEN2_COUNT:
            problem = tr("second table count above 16");
            break;
        case sarvik::TableFault::KEYS_NOT_RISING:
            problem = tr("shell %1: shell temperature not rising").arg(fault.row + 1);
            break;
        case sarvik::TableFault::BB_NOT_RISING:
            problem = tr("row %1: blackbody not rising (%2)").arg(fault.row + 1).arg(table);
            break;
        case sarvik::TableFault::MEA_NOT_RISING:
            problem = tr("row %1: measured temperature not rising (%2)").arg(fault.row + 1).arg(table);
            break;
        default:
            problem = tr("invalid table");
            break;
    }
    editorSet(this, m_tableValid, valid, &CWeiJuEditor::tableValidChanged);
    editorSet(this, m_tableProblem, problem, &CWeiJuEditor::tableProblemChanged);
    return valid;
}
