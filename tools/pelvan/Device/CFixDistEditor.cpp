#include "CFixDistEditor.h"

#include <QQmlEngine>

#include "correction_tables.h"

CFixDistEditor::CFixDistEditor(QObject *parent) : QObject(parent), m_file(new CFixDistFile(this)) {
    // The properties as they start, so the view shows a problem before the first fetch too.
    checkTable();
}

CFixDistEditor::~CFixDistEditor() = default;

void CFixDistEditor::registerTypes() {
    const char *uri = "Sarvik";
    qmlRegisterType<CFixDistEditor>(uri, 1, 0, "CFixDistEditor");
    qmlRegisterType<CFixDistFile>(uri, 1, 0, "CFixDistFile");
    qmlRegisterType<CFixDistItem>(uri, 1, 0, "CFixDistItem");
}

QString CFixDistEditor::localPath() const {
    return editorLocalPath(QStringLiteral("fixdist-"), m_deviceId);
}

int CFixDistEditor::init(const QString &ip) {
    const int status = m_session.login(ip);
    if (status < 0) return status;
    editorSet(this, m_deviceId, m_session.cameraId(), &CFixDistEditor::deviceIdChanged);
    return downloadMem(CFixDistFile::BLOCK_TYPE);
}

void CFixDistEditor::free() {
    m_session.logout();
}

int CFixDistEditor::downloadMem(int) {
    const int status = m_session.fetch(CFixDistFile::BLOCK_TYPE, &m_file->image(), CFixDistFile::BLOCK_SIZE);
    if (status < 0) return status;
    m_file->bin2cls();
    checkTable();
    return status;
}

int CFixDistEditor::uploadMem(int) {
    if (!m_session.active()) return -7;
    m_file->cls2bin();
    return m_session.store(CFixDistFile::BLOCK_TYPE, &m_file->image(), CFixDistFile::BLOCK_SIZE);
}

int CFixDistEditor::load(const QString &) {
    const int status = m_session.readLocal(localPath(), &m_file->image(), CFixDistFile::BLOCK_SIZE);
    if (status < 0) return status;
    m_file->bin2cls();
    checkTable();
    return status;
}

int CFixDistEditor::save(const QString &) {
    if (!m_session.active()) return -7;
    m_file->cls2bin();
    return m_session.writeLocal(localPath(), &m_file->image(), CFixDistFile::BLOCK_SIZE);
}

bool CFixDistEditor::checkTable() {
    FixDistBlock block;
    m_file->cls2bin(block);
    sarvik::TableFault fault;
    const bool valid = sarvik::fix_dist_block_check(block, &fault);
    QString problem;
    switch (fault.rule) {
        case sarvik::TableFault::NONE:
            break;
        case sarvik::TableFault::DIST_COUNT:
            problem = tr("distance count outside 0 to 5");
            break;
        case sarvik::TableFault::BB_COUNT:
            problem = tr("blackbody count outside 2 to 10");
            break;
        case sarvik::TableFault::KEYS_NOT_RISING:
            problem = tr("distance %1: not above the distance before").arg(fault.row + 1);
            break;
        case sarvik::TableFault::BB_NOT_RISING:
            problem = tr("row %1: blackbody not rising").arg(fault.row + 1);
            break;
        case sarvik::TableFault::MEA_NOT_RISING:
            problem = tr("row %1, distance %2: measured temperature not rising")
                          .arg(fault.row + 1)
                          .arg(fault.group + 1);
            break;
        default:
            problem = tr("invalid table");
            break;
    }
    editorSet(this, m_tableValid, valid, &CFixDistEditor::tableValidChanged);
    editorSet(this, m_tableProblem, problem, &CFixDistEditor::tableProblemChanged);
    return valid;
}
