// Every enumeration the views offer (palettes, transforms, serial port, measurement tools ...) as lists of
// option objects, filled once in init after the translation is installed; plus the colour packing used by
// the records (0xRRGGBB integers).
#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QString>

#include "CNameValue.h"
#include "CTypeNameDescIcon.h"

class CCommonManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QQmlListProperty<CNameValue> languageList READ languageList NOTIFY languageListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> transTypeList READ transTypeList NOTIFY transTypeListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> paletteList READ paletteList NOTIFY paletteListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> transformList READ transformList NOTIFY transformListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> strechList READ strechList NOTIFY strechListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> colorTempList READ colorTempList NOTIFY colorTempListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> gearLevelList READ gearLevelList NOTIFY gearLevelListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> zoomList READ zoomList NOTIFY zoomListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> textPosList READ textPosList NOTIFY textPosListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> destripTypeList READ destripTypeList NOTIFY destripTypeListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> denoiseTypeList READ denoiseTypeList NOTIFY denoiseTypeListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> ratioList READ ratioList NOTIFY ratioListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> desmearLevelList READ desmearLevelList NOTIFY desmearLevelListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> sp_usageList READ sp_usageList NOTIFY sp_usageListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> sp_baudRateList READ sp_baudRateList NOTIFY sp_baudRateListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> sp_dataBitsList READ sp_dataBitsList NOTIFY sp_dataBitsListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> sp_stopBitsList READ sp_stopBitsList NOTIFY sp_stopBitsListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> sp_parityList READ sp_parityList NOTIFY sp_parityListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> gpio_inputTypeList READ gpio_inputTypeList NOTIFY
                   gpio_inputTypeListChanged)
    Q_PROPERTY(QQmlListProperty<CNameValue> gpio_outputTypeList READ gpio_outputTypeList NOTIFY
                   gpio_outputTypeListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> modbus_modeList READ modbus_modeList NOTIFY modbus_modeListChanged)
    Q_PROPERTY(
        QQmlListProperty<CNameValue> svdatavm_modeList READ svdatavm_modeList NOTIFY svdatavm_modeListChanged)
    Q_PROPERTY(QQmlListProperty<CTypeNameDescIcon> meaToolList READ meaToolList NOTIFY meaToolListChanged)

public:
    // Index of each name/value list, in the order the lists are filled.
    enum ListIndex {
        List_language,
        List_transType,
        List_palette,
        List_transform,
        List_strech,
        List_colorTemp,
        List_gearLevel,
        List_zoom,
        List_textPos,
        List_destripType,
        List_denoiseType,
        List_ratio,
        List_desmearLevel,
        List_sp_usage,
        List_sp_baudRate,
        List_sp_dataBits,
        List_sp_stopBits,
        List_sp_parity,
        List_gpio_inputType,
        List_gpio_outputType,
        List_modbus_mode,
        List_svdatavm_mode,
        List_count  // 22; meaToolList is the 23rd list
    };

    explicit CCommonManager(QObject *parent = nullptr);
    ~CCommonManager() override;

    // Registers EEnum, CNameValue, CTypeNameDescIcon and CCommonManager, then fills the lists (once).
    void init();

    const QList<CNameValue *> &list(int index) const;
    const QList<CTypeNameDescIcon *> &meaTools() const { return m_meaTools; }

    Q_INVOKABLE bool fileExists(const QString &fileName) const;

    // Opaque colour from 0xRRGGBB, and back (alpha dropped).
    static QColor s_int2color(int rgb);
    static int s_color2int(const QColor &color);

    QQmlListProperty<CNameValue> languageList();
    QQmlListProperty<CNameValue> transTypeList();
    QQmlListProperty<CNameValue> paletteList();
    QQmlListProperty<CNameValue> transformList();
    QQmlListProperty<CNameValue> strechList();
    QQmlListProperty<CNameValue> colorTempList();
    QQmlListProperty<CNameValue> gearLevelList();
    QQmlListProperty<CNameValue> zoomList();
    QQmlListProperty<CNameValue> textPosList();
    QQmlListProperty<CNameValue> destripTypeList();
    QQmlListProperty<CNameValue> denoiseTypeList();
    QQmlListProperty<CNameValue> ratioList();
    QQmlListProperty<CNameValue> desmearLevelList();
    QQmlListProperty<CNameValue> sp_usageList();
    QQmlListProperty<CNameValue> sp_baudRateList();
    QQmlListProperty<CNameValue> sp_dataBitsList();
    QQmlListProperty<CNameValue> sp_stopBitsList();
    QQmlListProperty<CNameValue> sp_parityList();
    QQmlListProperty<CNameValue> gpio_inputTypeList();
    QQmlListProperty<CNameValue> gpio_outputTypeList();
    QQmlListProperty<CNameValue> modbus_modeList();
    QQmlListProperty<CNameValue> svdatavm_modeList();
    QQmlListProperty<CTypeNameDescIcon> meaToolList();

signals:
    void languageListChanged();
    void transTypeListChanged();
    void paletteListChanged();
    void transformListChanged();
    void strechListChanged();
    void colorTempListChanged();
    void gearLevelListChanged();
    void zoomListChanged();
    void textPosListChanged();
    void destripTypeListChanged();
    void denoiseTypeListChanged();
    void ratioListChanged();
    void desmearLevelListChanged();
    void sp_usageListChanged();
    void sp_baudRateListChanged();
    void sp_dataBitsListChanged();
    void sp_stopBitsListChanged();
    void sp_parityListChanged();
    void gpio_inputTypeListChanged();
    void gpio_outputTypeListChanged();
    void modbus_modeListChanged();
    void svdatavm_modeListChanged();
    void meaToolListChanged();

private:
    QQmlListProperty<CNameValue> listProperty(int index);
    void fill();

    QList<CNameValue *> m_lists[List_count];
    QList<CTypeNameDescIcon *> m_meaTools;
    bool m_filled = false;
};
