// The base of the QML-visible mirrors of the camera's records: each subclass turns one record into
// properties (bin2cls) and back (cls2bin), and fills its defaults with reset().
#pragma once

#include <QColor>
#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

// A property with a change signal "<name>Changed" emitted only when the value changes. The setter is
// set_<name>; the read-only form still has the setter for bin2cls, just not for QML.
#define SARVIK_CFG_MEMBERS(Type, name) \
public:                                \
    Type name() const {                \
        return m_##name;               \
    }                                  \
    void set_##name(const Type &v) {   \
        if (m_##name == v) return;     \
        m_##name = v;                  \
        emit name##Changed();          \
    }                                  \
    Q_SIGNAL void name##Changed();     \
                                       \
private:                               \
    Type m_##name = Type();

#define SARVIK_CFG_PROPERTY(Type, name)                                   \
    Q_PROPERTY(Type name READ name WRITE set_##name NOTIFY name##Changed) \
    SARVIK_CFG_MEMBERS(Type, name)

#define SARVIK_CFG_PROPERTY_RO(Type, name)               \
    Q_PROPERTY(Type name READ name NOTIFY name##Changed) \
    SARVIK_CFG_MEMBERS(Type, name)

class CDeviceConfigBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool edit_isvalid READ edit_isvalid WRITE set_edit_isvalid NOTIFY edit_isvalidChanged)

public:
    explicit CDeviceConfigBase(QObject *parent = nullptr);

    bool edit_isvalid() const { return m_edit_isvalid; }
    void set_edit_isvalid(bool v);

    // The record's size in bytes.
    virtual int recordSize() const = 0;
    // Record to properties; -8 when size is below the record size.
    virtual int bin2cls(const void *record, int size) = 0;
    // Properties to record, touching only the fields this class knows; -8 when size is below the record size.
    virtual int cls2bin(void *record, int size) const = 0;

signals:
    void edit_isvalidChanged();

private:
    bool m_edit_isvalid = false;
};

// Conversions shared by the mirrors.
namespace cfgconv {

// Text up to the first zero inside a fixed field (the field need not be terminated).
QString textFrom(const char *field, size_t fieldSize);
// The UTF-8 of text into the field, zero-padded, cut to fieldSize - 1 bytes at a character boundary.
void textTo(const QString &text, char *field, size_t fieldSize);

// 0xFF000000 | r << 16 | g << 8 | b, and back from the low 24 bits.
uint32_t colorTo(const QColor &c);
QColor colorFrom(uint32_t v);

// Tenths of a degree: x0.1 on reading; x10 truncated toward zero on writing, where a value that is a whole
// number of tenths up to float rounding keeps that number (0.7 stays 7, not 6).
float tenthsFrom(int16_t v);
int16_t tenthsTo(float celsius);

// An int clamped into the range of an unsigned field type, so that an edit out of range cannot wrap.
template <class T>
T clampTo(int v) {
    static_assert(sizeof(T) <= 2, "8- and 16-bit unsigned fields");
    const int hi = static_cast<int>((1u << (8 * sizeof(T))) - 1);
    return static_cast<T>(v < 0 ? 0 : (v > hi ? hi : v));
}

// Copies the record out of a caller's buffer; false when the buffer is shorter than the record.
template <class R>
bool readRecord(const void *record, int size, R *r) {
    if (!record || size < static_cast<int>(sizeof(R))) return false;
    std::memcpy(r, record, sizeof(R));
    return true;
}

}  // namespace cfgconv
