// The enumerations offered to the views, in order and value, and the colour packing of the records.
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QQmlListReference>
#include <QTemporaryDir>

#include <utility>
#include <vector>

#include "CCommonManager.h"

namespace {

using Entries = std::vector<std::pair<const char *, int>>;

// Without a translation installed, translated names are their ids.
const struct {
    const char *property;
    Entries entries;
} kExpected[] = {
    {"languageList", {{"zh_CN", 0}, {"en_US", 1}}},
    {"transTypeList", {{"TCP", 0}, {"UDP", 1}}},
    {"paletteList",
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
    {"transformList",
     {{"None", 0}, {"Rotate90", 1}, {"Rotate180", 2}, {"Rotate270", 3}, {"MirrorX", 4}, {"MirrorY", 5}}},
    {"strechList", {{"StrechType_PHE", 1}, {"StrechType_LINEAR", 2}}},
    {"colorTempList",
     {{"ColorTempType_None", 0},
      {"ColorTempType_High", 1},
      {"ColorTempType_Low", 2},
      {"ColorTempType_Mid", 3},
      {"ColorTempType_ExMid", 4}}},
    {"gearLevelList", {{"Auto", 0}, {"1", 1}, {"2", 2}}},
    {"zoomList", {{"1", 1}, {"2", 2}, {"4", 4}, {"8", 8}}},
    {"textPosList",
     {{"TextPos_None", 0},
      {"TextPos_TopLeft", 1},
      {"TextPos_TopRight", 2},
      {"TextPos_BottomLeft", 3},
      {"TextPos_BottomRight", 4}}},
    {"destripTypeList",
     {{"IRDestripType_None", 0},
      {"IRDestripType_ColV1", 1},
      {"IRDestripType_ColV1opt", 2},
      {"IRDestripType_ColV2", 3}}},
    {"denoiseTypeList",
     {{"IRDenoiseType_None", 0},
      {"IRDenoiseType_GF", 1},
      {"IRDenoiseType_GFSub2", 2},
      {"IRDenoiseType_GFSub4", 3}}},
    {"ratioList", {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}},
    {"desmearLevelList", {{"Off", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}}},
    {"sp_usageList", {{"Custom", 0}, {"Pelcod", 1}}},
    {"sp_baudRateList",
     {{"2400", 0}, {"4800", 1}, {"9600", 2}, {"19200", 3}, {"38400", 4}, {"57600", 5}, {"115200", 6}}},
    {"sp_dataBitsList", {{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}},
    {"sp_stopBitsList", {{"1", 0}, {"2", 1}}},
    {"sp_parityList", {{"None", 0}, {"Odd", 1}, {"Even", 2}}},
    {"gpio_inputTypeList", {{"None", 0}, {"Check", 1}, {"Capture", 2}}},
    {"gpio_outputTypeList", {{"Close", 0}, {"Open", 1}}},
    {"modbus_modeList", {{"Disable", 0}, {"TCP", 1}, {"TCP_RTU", 3}}},
    {"svdatavm_modeList", {{"Default", 0}, {"2019", 1}}},
};

const struct {
    int type;
    const char *name;
    const char *desc;
    const char *icon;
} kTools[] = {
    {0, "MeaTool_Select", "MeaTool_Select", "qrc:/Icons/cursor-default.svg"},
    {1, "MeaTool_Point1x1", "MeaTool_Point1x1Desc", "qrc:/Icons/point1x1.svg"},
    {2, "MeaTool_Point3x3", "MeaTool_Point3x3Desc", "qrc:/Icons/point3x3.svg"},
    {3, "MeaTool_PointCross", "MeaTool_PointCrossDesc", "qrc:/Icons/pointcross.svg"},
    {4, "MeaTool_Line", "MeaTool_LineDesc", "qrc:/Icons/slash-forward.svg"},
    {5, "MeaTool_Polyline", "MeaTool_PolylineDesc", "qrc:/Icons/chart-line-variant.svg"},
    {6, "MeaTool_Ellipse", "MeaTool_EllipseDesc", "qrc:/Icons/ellipse-outline.svg"},
    {7, "MeaTool_Circle", "MeaTool_CircleDesc", "qrc:/Icons/circle.svg"},
    {8, "MeaTool_Custom", "MeaTool_CustomDesc", "qrc:/Icons/octagram-outline.svg"},
    {9, "MeaTool_Rectangle", "MeaTool_RectangleDesc", "qrc:/Icons/rectangle-outline.svg"},
    {10, "MeaTool_Square", "MeaTool_SquareDesc", "qrc:/Icons/square-outline.svg"},
    {11, "MeaTool_Polygon", "MeaTool_PolygonDesc", "qrc:/Icons/hexagon-outline.svg"},
    {12, "MeaTool_EditPoint", "MeaTool_EditPointDesc", "qrc:/Icons/point-add-remove.svg"},
    {13, "MeaTool_Hide", "MeaTool_HideDesc", "qrc:/Icons/eye.svg"},
};

}  // namespace

TEST(CommonManager, ListsInOrderAndValue) {
    CCommonManager m;
    m.init();
    // The 23 list properties in the order the views index them, the tools last.
    const QMetaObject *mo = m.metaObject();
    int index = 0;
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i, ++index) {
        const char *name = mo->property(i).name();
        if (index < CCommonManager::List_count)
            EXPECT_STREQ(name, kExpected[index].property);
        else
            EXPECT_STREQ(name, "meaToolList");
    }
    EXPECT_EQ(index, 23);

    for (const auto &list : kExpected) {
        SCOPED_TRACE(list.property);
        // Through the QML list, as the views read it.
        QQmlListReference ref(&m, list.property);
        ASSERT_TRUE(ref.isValid());
        EXPECT_FALSE(ref.canAppend()) << "the views cannot change the lists";
        EXPECT_FALSE(ref.canClear());
        ASSERT_EQ(ref.count(), static_cast<int>(list.entries.size()));
        for (int i = 0; i < ref.count(); ++i) {
            auto *nv = qobject_cast<CNameValue *>(ref.at(i));
            ASSERT_NE(nv, nullptr);
            EXPECT_EQ(nv->name(), QString::fromUtf8(list.entries[i].first)) << i;
            EXPECT_EQ(nv->value(), list.entries[i].second) << i;
        }
    }
}

TEST(CommonManager, ValuesTheCameraDoesNotKnowAreNeverOffered) {
    CCommonManager m;
    m.init();
    const struct {
        int list;
        int value;
    } absent[] = {{CCommonManager::List_modbus_mode, 2}, {CCommonManager::List_strech, 0}};
    for (const auto &a : absent) {
        SCOPED_TRACE(a.list);
        for (CNameValue *nv : m.list(a.list)) EXPECT_NE(nv->value(), a.value);
    }
    EXPECT_EQ(m.list(CCommonManager::List_strech).first()->value(), 1);
}

TEST(CommonManager, MeasurementToolsCarryTheCanvasCodes) {
    CCommonManager m;
    m.init();
    QQmlListReference ref(&m, "meaToolList");
    ASSERT_EQ(ref.count(), 14);
    for (int i = 0; i < ref.count(); ++i) {
        auto *t = qobject_cast<CTypeNameDescIcon *>(ref.at(i));
        ASSERT_NE(t, nullptr);
        SCOPED_TRACE(kTools[i].name);
        EXPECT_EQ(t->type(), kTools[i].type);
        EXPECT_EQ(t->name(), QLatin1String(kTools[i].name));
        EXPECT_EQ(t->desc(), QLatin1String(kTools[i].desc));
        EXPECT_EQ(t->icon(), QLatin1String(kTools[i].icon));
    }
}

TEST(CommonManager, FilledOnceAndSignalledOnce) {
    CCommonManager m;
    int emitted = 0;
    QObject::connect(&m, &CCommonManager::languageListChanged, [&] { ++emitted; });
    QObject::connect(&m, &CCommonManager::meaToolListChanged, [&] { ++emitted; });
    m.init();
    m.init();
    EXPECT_EQ(emitted, 2);
    EXPECT_EQ(m.list(CCommonManager::List_palette).size(), 11);
    EXPECT_EQ(m.meaTools().size(), 14);
    EXPECT_TRUE(m.list(-1).isEmpty());
    EXPECT_TRUE(m.list(CCommonManager::List_count).isEmpty());
}

TEST(CommonManager, ColoursPackAsRrggbb) {
    const struct {
        int packed;
        int r, g, b;
    } cases[] = {{0xFF0000, 255, 0, 0},        {0x00FF00, 0, 255, 0}, {0x00FFFF, 0, 255, 255},
                 {0x123456, 0x12, 0x34, 0x56}, {0, 0, 0, 0},          {0xFFFFFF, 255, 255, 255}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.packed);
        const QColor color = CCommonManager::s_int2color(c.packed);
        EXPECT_EQ(color, QColor(c.r, c.g, c.b));
        EXPECT_EQ(color.alpha(), 255);
        EXPECT_EQ(CCommonManager::s_color2int(color), c.packed);
    }
    // Bits above the colour are not part of it; alpha is not stored.
    EXPECT_EQ(CCommonManager::s_int2color(0x7F123456), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(CCommonManager::s_color2int(QColor(1, 2, 3, 4)), 0x010203);
}

TEST(CommonManager, FileExists) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CCommonManager m;
    EXPECT_TRUE(m.fileExists(dir.path()));
    EXPECT_FALSE(m.fileExists(dir.filePath(QStringLiteral("none.bin"))));
    EXPECT_FALSE(m.fileExists(QString()));
}
