#include "CTypeNameDescIcon.h"

void CTypeNameDescIcon::setType(int type) {
    if (m_type == type) return;
    m_type = type;
    emit typeChanged();
}

void CTypeNameDescIcon::setName(const QString &name) {
    if (m_name == name) return;
    m_name = name;
    emit nameChanged();
}

void CTypeNameDescIcon::setDesc(const QString &desc) {
    if (m_desc == desc) return;
    m_desc = desc;
    emit descChanged();
}

void CTypeNameDescIcon::setIcon(const QString &icon) {
    if (m_icon == icon) return;
    m_icon = icon;
    emit iconChanged();
}
