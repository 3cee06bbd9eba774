#include "CNameValue.h"

void CNameValue::setName(const QString &name) {
    if (m_name == name) return;
    m_name = name;
    emit nameChanged();
}

void CNameValue::setValue(int value) {
    if (m_value == value) return;
    m_value = value;
    emit valueChanged();
}
