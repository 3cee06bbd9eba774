#include "CCommonManager.h"

#include <QFileInfo>
#include <QtQml>

#include "EEnum.h"

namespace {

struct Entry {
    const char *name;
    int value;
};

// One list of the table: its entries and whether the names are translation ids.
struct ListDef {
    bool translated;
    std::initializer_list<Entry> entries;
};

// Index by CCommonManager::ListIndex. Names marked with QT_TRID_NOOP are looked up when the lists are
// filled, so they follow the translation installed just before.
const ListDef kLists[CCommonManager::List_count] = {
    {true, {{QT_TRID_NOOP("zh_CN"), 0}, {QT_TRID_NOOP("en_US"), 1}}},
    {true, {{QT_TRID_NOOP("TCP"), 0}, {QT_TRID_NOOP("UDP"), 1}}},
    {false,
     {{"Autumn", 0},
      {"BlackHot", 1},
      {"GlowBow", 2},
      {"HighContrast", 3},
      {"HotMetal", 4},
      {"IronBow", 5},
      {"Jet", 6},
      {"RainBow", 7},
      {"RedSaturation", 8},
      {"WhiteHot", 9},
      {"Winter", 10}}},
    {false,
     {{"None", 0}, {"Rotate90", 1}, {"Rotate180", 2}, {"Rotate270", 3}, {"MirrorX", 4}, {"MirrorY", 5}}},
    // The SDK has no stretch type 0.
    {true, {{QT_TRID_NOOP("StrechType_PHE"), 1}, {QT_TRID_NOOP("StrechType_LINEAR"), 2}}},
    {true,
     {{QT_TRID_NOOP("ColorTempType_None"), 0},
      {QT_TRID_NOOP("ColorTempType_High"), 1},
      {QT_TRID_NOOP("ColorTempType_Low"), 2},
      {QT_TRID_NOOP("ColorTempType_Mid"), 3},
      {QT_TRID_NOOP("ColorTempType_ExMid"), 4}}},
    {false, {{"Auto", 0}, {"1", 1}, {"2", 2}}},
    {false, {{"1", 1}, {"2", 2}, {"4", 4}, {"8", 8}}},
    {true,
     {{QT_TRID_NOOP("TextPos_None"), 0},
      {QT_TRID_NOOP("TextPos_TopLeft"), 1},
      {QT_TRID_NOOP("TextPos_TopRight"), 2},
      {QT_TRID_NOOP("TextPos_BottomLeft"), 3},
      {QT_TRID_NOOP("TextPos_BottomRight"), 4}}},
    {true,
     {{QT_TRID_NOOP("IRDestripType_None"), 0},
      {QT_TRID_NOOP("IRDestripType_ColV1"), 1},
      {QT_TRID_NOOP("IRDestripType_ColV1opt"), 2},
      {QT_TRID_NOOP("IRDestripType_ColV2"), 3}}},
    {true,
     {{QT_TRID_NOOP("IRDenoiseType_None"), 0},
      {QT_TRID_NOOP("IRDenoiseType_GF"), 1},
      {QT_TRID_NOOP("IRDenoiseType_GFSub2"), 2},
      {QT_TRID_NOOP("IRDenoiseType_GFSub4"), 3}}},
    {false, {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}},
    {false, {{"Off", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}}},
    {false, {{"Custom", 0}, {"Pelcod", 1}}},
    {false, {{"2400", 0}, {"4800", 1}, {"9600", 2}, {"19200", 3}, {"38400", 4}, {"57600", 5}, {"115200", 6}}},
    {false, {{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}},
    {false, {{"1", 0}, {"2", 1}}},
    {false, {{"None", 0}, {"Odd", 1}, {"Even", 2}}},
    {false, {{"None", 0}, {"Check", 1}, {"Capture", 2}}},
    {false, {{"Close", 0}, {"Open", 1}}},
    // The camera has no mode 2.
    {false, {{"Disable", 0}, {"TCP", 1}, {"TCP_RTU", 3}}},
    {false, {{"Default", 0}, {"2019", 1}}},
};

struct MeaTool {
    int type;
    const char *name;
    const char *desc;
    const char *icon;
};

// The type numbers are the canvas tool codes.
const MeaTool kMeaTools[] = {
    {0, QT_TRID_NOOP("MeaTool_Select"), QT_TRID_NOOP("MeaTool_Select"), "qrc:/Icons/cursor-default.svg"},
    {1, QT_TRID_NOOP("MeaTool_Point1x1"), QT_TRID_NOOP("MeaTool_Point1x1Desc"), "qrc:/Icons/point1x1.svg"},
    {2, QT_TRID_NOOP("MeaTool_Point3x3"), QT_TRID_NOOP("MeaTool_Point3x3Desc"), "qrc:/Icons/point3x3.svg"},
    {3, QT_TRID_NOOP("MeaTool_PointCross"), QT_TRID_NOOP("MeaTool_PointCrossDesc"),
     "qrc:/Icons/pointcross.svg"},
    {4, QT_TRID_NOOP("MeaTool_Line"), QT_TRID_NOOP("MeaTool_LineDesc"), "qrc:/Icons/slash-forward.svg"},
    {5, QT_TRID_NOOP("MeaTool_Polyline"), QT_TRID_NOOP("MeaTool_PolylineDesc"),
     "qrc:/Icons/chart-line-variant.svg"},
    {6, QT_TRID_NOOP("MeaTool_Ellipse"), QT_TRID_NOOP("MeaTool_EllipseDesc"),
     "qrc:/Icons/ellipse-outline.svg"},
    {7, QT_TRID_NOOP("MeaTool_Circle"), QT_TRID_NOOP("MeaTool_CircleDesc"), "qrc:/Icons/circle.svg"},
    {8, QT_TRID_NOOP("MeaTool_Custom"), QT_TRID_NOOP("MeaTool_CustomDesc"),
     "qrc:/Icons/octagram-outline.svg"},
    {9, QT_TRID_NOOP("MeaTool_Rectangle"), QT_TRID_NOOP("MeaTool_RectangleDesc"),
     "qrc:/Icons/rectangle-outline.svg"},
    {10, QT_TRID_NOOP("MeaTool_Square"), QT_TRID_NOOP("MeaTool_SquareDesc"), "qrc:/Icons/square-outline.svg"},
    {11, QT_TRID_NOOP("MeaTool_Polygon"), QT_TRID_NOOP("MeaTool_PolygonDesc"),
     "qrc:/Icons/hexagon-outline.svg"},
    {12, QT_TRID_NOOP("MeaTool_EditPoint"), QT_TRID_NOOP("MeaTool_EditPointDesc"),
     "qrc:/Icons/point-add-remove.svg"},
    {13, QT_TRID_NOOP("MeaTool_Hide"), QT_TRID_NOOP("MeaTool_HideDesc"), "qrc:/Icons/eye.svg"},
};

// Count and index only: the views cannot append to or clear the lists.
template <typename T>
QQmlListProperty<T> readOnlyList(QObject *owner, QList<T *> *items) {
    return QQmlListProperty<T>(
        owner, items, [](QQmlListProperty<T> *p) { return static_cast<QList<T *> *>(p->data)->size(); },
        [](QQmlListProperty<T> *p, int i) { return static_cast<QList<T *> *>(p->data)->value(i); });
}

}  // namespace

CCommonManager::CCommonManager(QObject *parent) : QObject(parent) {}

CCommonManager::~CCommonManager() = default;  // the options are children

void CCommonManager::init() {
    // A second fill would double the lists.
    if (m_filled) return;
    qmlRegisterSingletonType<EEnum>("Sarvik", 1, 0, "EEnum",
                                    [](QQmlEngine *, QJSEngine *) -> QObject * { return new EEnum(); });
    qmlRegisterType<CNameValue>("Sarvik", 1, 0, "CNameValue");
    qmlRegisterType<CTypeNameDescIcon>("Sarvik", 1, 0, "CTypeNameDescIcon");
    qmlRegisterType<CCommonManager>("Sarvik", 1, 0, "CCommonManager");
    fill();
}

void CCommonManager::fill() {
    if (m_filled) return;
    m_filled = true;
    for (int i = 0; i < List_count; ++i) {
        const ListDef &def = kLists[i];
        for (const Entry &e : def.entries) {
            const QString name = def.translated ? qtTrId(e.name) : QString::fromLatin1(e.name);
            m_lists[i].append(new CNameValue(name, e.value, this));
        }
    }
    for (const MeaTool &t : kMeaTools)
        m_meaTools.append(
            new CTypeNameDescIcon(t.type, qtTrId(t.name), qtTrId(t.desc), QString::fromLatin1(t.icon), this));

    emit languageListChanged();
    emit transTypeListChanged();
    emit paletteListChanged();
    emit transformListChanged();
    emit strechListChanged();
    emit colorTempListChanged();
    emit gearLevelListChanged();
    emit zoomListChanged();
    emit textPosListChanged();
    emit destripTypeListChanged();
    emit denoiseTypeListChanged();
    emit ratioListChanged();
    emit desmearLevelListChanged();
    emit sp_usageListChanged();
    emit sp_baudRateListChanged();
    emit sp_dataBitsListChanged();
    emit sp_stopBitsListChanged();
    emit sp_parityListChanged();
    emit gpio_inputTypeListChanged();
    emit gpio_outputTypeListChanged();
    emit modbus_modeListChanged();
    emit svdatavm_modeListChanged();
    emit meaToolListChanged();
}

const QList<CNameValue *> &CCommonManager::list(int index) const {
    static const QList<CNameValue *> empty;
    return (index >= 0 && index < List_count) ? m_lists[index] : empty;
}

bool CCommonManager::fileExists(const QString &fileName) const {
    return !fileName.isEmpty() && QFileInfo::exists(fileName);
}

QColor CCommonManager::s_int2color(int rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int CCommonManager::s_color2int(const QColor &color) {
    return color.red() * 65536 | color.green() * 256 | color.blue();
}

QQmlListProperty<CNameValue> CCommonManager::listProperty(int index) {
    return readOnlyList(this, &m_lists[index]);
}

QQmlListProperty<CNameValue> CCommonManager::languageList() {
    return listProperty(List_language);
}
QQmlListProperty<CNameValue> CCommonManager::transTypeList() {
    return listProperty(List_transType);
}
QQmlListProperty<CNameValue> CCommonManager::paletteList() {
    return listProperty(List_palette);
}
QQmlListProperty<CNameValue> CCommonManager::transformList() {
    return listProperty(List_transform);
}
QQmlListProperty<CNameValue> CCommonManager::strechList() {
    return listProperty(List_strech);
}
QQmlListProperty<CNameValue> CCommonManager::colorTempList() {
    return listProperty(List_colorTemp);
}
QQmlListProperty<CNameValue> CCommonManager::gearLevelList() {
    return listProperty(List_gearLevel);
}
QQmlListProperty<CNameValue> CCommonManager::zoomList() {
    return listProperty(List_zoom);
}
QQmlListProperty<CNameValue> CCommonManager::textPosList() {
    return listProperty(List_textPos);
}
QQmlListProperty<CNameValue> CCommonManager::destripTypeList() {
    return listProperty(List_destripType);
}
QQmlListProperty<CNameValue> CCommonManager::denoiseTypeList() {
    return listProperty(List_denoiseType);
}
QQmlListProperty<CNameValue> CCommonManager::ratioList() {
    return listProperty(List_ratio);
}
QQmlListProperty<CNameValue> CCommonManager::desmearLevelList() {
    return listProperty(List_desmearLevel);
}
QQmlListProperty<CNameValue> CCommonManager::sp_usageList() {
    return listProperty(List_sp_usage);
}
QQmlListProperty<CNameValue> CCommonManager::sp_baudRateList() {
    return listProperty(List_sp_baudRate);
}
QQmlListProperty<CNameValue> CCommonManager::sp_dataBitsList() {
    return listProperty(List_sp_dataBits);
}
QQmlListProperty<CNameValue> CCommonManager::sp_stopBitsList() {
    return listProperty(List_sp_stopBits);
}
QQmlListProperty<CNameValue> CCommonManager::sp_parityList() {
    return listProperty(List_sp_parity);
}
QQmlListProperty<CNameValue> CCommonManager::gpio_inputTypeList() {
    return listProperty(List_gpio_inputType);
}
QQmlListProperty<CNameValue> CCommonManager::gpio_outputTypeList() {
    return listProperty(List_gpio_outputType);
}
QQmlListProperty<CNameValue> CCommonManager::modbus_modeList() {
    return listProperty(List_modbus_mode);
}
QQmlListProperty<CNameValue> CCommonManager::svdatavm_modeList() {
    return listProperty(List_svdatavm_mode);
}
QQmlListProperty<CTypeNameDescIcon> CCommonManager::meaToolList() {
    return readOnlyList(this, &m_meaTools);
}
