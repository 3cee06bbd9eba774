// The correction-file editors against virtual cameras on 127.0.36.x: blocks fetched, edited, written back
// and read again; sessions, counts, local copies, table checks and bad-pixel lists.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "CComEditor.h"
#include "CCustEditor.h"
#include "CFixDistEditor.h"
#include "CWeiJuEditor.h"
#include "device_support.h"

namespace {

QString editorIp(int host) {
    return QStringLiteral("127.0.36.%1").arg(host);
}

std::unique_ptr<testsupport::VcamProcess> editorVcam(int host, std::vector<std::string> args = {}) {
    if (std::find(args.begin(), args.end(), "--camera-id") == args.end())
        args.insert(args.end(), {"--camera-id", "EDIT" + std::to_string(host)});
    args.insert(args.end(), {"--size", "160x120"});
    auto cam = std::make_unique<testsupport::VcamProcess>(editorIp(host).toStdString(), args);
    EXPECT_TRUE(cam->ready());
    return cam;
}

// The camera's block as another client sees it, through a session of the test's own; or replaced by bytes.
QByteArray cameraBlock(int host, int type, const QByteArray &replace = {}, int *status = nullptr) {
    _LoginInfo info{};
    std::snprintf(info.ip, sizeof info.ip, "%s", editorIp(host).toUtf8().constData());
    _CameraBasicInfo basic{};
    const int user = Sarvik_Login(&info, &basic);
    QByteArray buf(4096, '\0');
    int size = buf.size();
    const int result = user < 0 ? user
                       : replace.isEmpty()
                           ? Sarvik_DownloadMem(user, type, buf.data(), &size)
                           : Sarvik_UploadMem(user, type, replace.constData(), replace.size());
    if (user >= 0) Sarvik_Logout(user);
    if (status) *status = result;
    return result < 0 || !replace.isEmpty() ? QByteArray() : buf.left(size);
}

template <typename T>
T at(const QByteArray &b, int off) {
    T v{};
    if (off + int(sizeof v) <= b.size()) std::memcpy(&v, b.constData() + off, sizeof v);
    return v;
}

template <typename T>
void put(QByteArray &b, int off, T v) {
    std::memcpy(b.data() + off, &v, sizeof v);
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A fix-distance table that keeps every rule: distances 1, 2, 3 m; rows rising in both columns.
void fillFixDist(CFixDistFile *f) {
    f->setDistCount(3);
    f->setBbCount(4);
    for (int k = 0; k < 5; ++k) f->setDist(k, k + 1);
    for (int i = 0; i < 10; ++i) {
        f->item(i)->setBlackbody(30 + 10 * i);
        for (int k = 0; k < 5; ++k) f->item(i)->setTemp(k, 29.5 + 10 * i - k);
    }
}

void fillWeiJu(CWeiJuFile *f) {
    f->set_cali_mode(2);
    f->set_len1_env_count(3);
    f->set_len1_bb_count(5);
    f->set_len2_bb_count(4);
    for (int k = 0; k < 4; ++k) f->setShell(k, 10 + 5 * k);
    for (int i = 0; i < 16; ++i) {
        f->len1Item(i)->setBlackbody(20 + 4 * i);
        for (int k = 0; k < 4; ++k) f->len1Item(i)->setTemp(k, 20.25 + 4 * i + k);
        f->len2Item(i)->setBlackbody(100 + 8 * i);
        f->len2Item(i)->setTemp(0, 99.5 + 8 * i);
    }
}

}  // namespace

// Each block goes to the camera in the layout of its memory type and comes back into a fresh editor.
TEST(EditorsBlocks, EditUploadAndReload) {
    DeviceWorld world;
    struct Case {
        const char *name;
        int host;
        int type;
        int size;
        std::function<QObject *()> make;
        std::function<int(QObject *, int host)> init;
        std::function<void(QObject *)> edit;
        std::function<int(QObject *)> upload;
        std::function<void(const QByteArray &)> checkBytes;
        std::function<void(QObject *)> checkReloaded;
    };
    auto custCase = [&](const char *name, int host, int type) {
        auto file = [=](QObject *o) {
            return type == 3 ? static_cast<CCustEditor *>(o)->cust() : static_cast<CCustEditor *>(o)->cust2();
        };
        return Case{name,
                    host,
                    type,
                    656,
                    [] { return new CCustEditor; },
                    [](QObject *o, int h) { return static_cast<CCustEditor *>(o)->init(editorIp(h)); },
                    [=](QObject *o) {
                        CCustFile *f = file(o);
                        EXPECT_TRUE(f->editEnable());
                        f->setNote(QStringLiteral("range %1 checked").arg(type));
                        f->setItemCount(6);
                        for (int i = 0; i < 16; ++i) {
                            f->item(i)->setBlackbody(type * 100 + i);
                            f->item(i)->setTemp(type * 100 + i + 0.5);
                        }
                    },
                    [=](QObject *o) { return static_cast<CCustEditor *>(o)->uploadMem(type); },
                    [=](const QByteArray &b) {
                        const qint64 ms = at<int64_t>(b, 0) / 10000 - 11644473600000LL;
                        EXPECT_LT(std::llabs(ms - QDateTime::currentMSecsSinceEpoch()), 600000);
                        EXPECT_EQ(QByteArray(b.constData() + 8),
                                  QStringLiteral("range %1 checked").arg(type).toUtf8());
                        EXPECT_EQ(at<int32_t>(b, 268), 6);
                        for (int i = 0; i < 16; ++i) {
                            EXPECT_EQ(at<float>(b, 272 + 24 * i), float(type * 100 + i));
                            EXPECT_EQ(at<float>(b, 276 + 24 * i), float(type * 100 + i + 0.5));
                        }
                    },
                    [=](QObject *o) {
                        CCustFile *f = file(o);
                        EXPECT_EQ(f->note(), QStringLiteral("range %1 checked").arg(type));
                        EXPECT_EQ(f->itemCount(), 6);
                        EXPECT_EQ(f->item(15)->blackbody(), type * 100 + 15);
                        EXPECT_EQ(f->timestamp().size(), 19);
                    }};
    };
    const Case cases[] = {
        custCase("custom range 1", 1, 3),
        custCase("custom range 2", 2, 4),
        {"close-range lens", 3, 5, 1088, [] { return new CWeiJuEditor; },
         [](QObject *o, int h) { return static_cast<CWeiJuEditor *>(o)->init(editorIp(h)); },
         [](QObject *o) { fillWeiJu(static_cast<CWeiJuEditor *>(o)->file()); },
         [](QObject *o) { return static_cast<CWeiJuEditor *>(o)->uploadMem(5); },
         [](const QByteArray &b) {
             EXPECT_EQ(at<int32_t>(b, 0), 20250224);
             EXPECT_EQ(b.mid(4, 32), QByteArray(32, '\0'));
             EXPECT_EQ(b.mid(56, 72), QByteArray(72, '\0'));
             EXPECT_EQ(b.mid(36, 4), QByteArray("\x02\x03\x05\x04", 4));
             EXPECT_EQ(at<float>(b, 40 + 12), 25.0f);
             // Row 7 of the first set in shell group 2; row 15 of the second table.
             EXPECT_EQ(at<float>(b, 128 + 2 * 192 + 7 * 12), 48.0f);
             EXPECT_EQ(at<float>(b, 128 + 2 * 192 + 7 * 12 + 4), 50.25f);
             EXPECT_EQ(at<float>(b, 896 + 15 * 12), 220.0f);
             EXPECT_EQ(at<float>(b, 896 + 15 * 12 + 4), 219.5f);
         },
         [](QObject *o) {
             CWeiJuFile *f = static_cast<CWeiJuEditor *>(o)->file();
             EXPECT_EQ(f->len1_env_count(), 3);
             EXPECT_EQ(f->len1_shell3(), 25);
             EXPECT_EQ(f->len1Item(7)->temp2(), 50.25);
             EXPECT_EQ(f->len2Item(15)->blackbody(), 220);
             EXPECT_TRUE(static_cast<CWeiJuEditor *>(o)->tableValid());
         }},
        {"fix-distance", 4, 7, 696, [] { return new CFixDistEditor; },
         [](QObject *o, int h) { return static_cast<CFixDistEditor *>(o)->init(editorIp(h)); },
         [](QObject *o) { fillFixDist(static_cast<CFixDistEditor *>(o)->file()); },
         [](QObject *o) { return static_cast<CFixDistEditor *>(o)->uploadMem(7); },
         [](const QByteArray &b) {
             EXPECT_EQ(b.left(264), QByteArray(264, '\0'));
             EXPECT_EQ(at<int32_t>(b, 264), 3);
             EXPECT_EQ(at<int32_t>(b, 268), 4);
             EXPECT_EQ(at<int32_t>(b, 272 + 16), 5);
             // Pair 9 of distance block 4: the shared blackbody and that distance's reading.
             EXPECT_EQ(at<float>(b, 292 + 4 * 80 + 9 * 8), 120.0f);
             EXPECT_EQ(at<float>(b, 292 + 4 * 80 + 9 * 8 + 4), 115.5f);
             EXPECT_EQ(at<int32_t>(b, 692), 0);
         },
         [](QObject *o) {
             CFixDistFile *f = static_cast<CFixDistEditor *>(o)->file();
             EXPECT_EQ(f->distCount(), 3);
             EXPECT_EQ(f->dist4(), 5);
             EXPECT_EQ(f->item(9)->temp4(), 115.5);
             EXPECT_TRUE(static_cast<CFixDistEditor *>(o)->tableValid());
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto cam = editorVcam(c.host, {"--software-id", "WJ-2.1"});
        std::unique_ptr<QObject> editor(c.make());
        ASSERT_EQ(c.init(editor.get(), c.host), 0);
        c.edit(editor.get());
        EXPECT_EQ(c.upload(editor.get()), 0);
        const QByteArray bytes = cameraBlock(c.host, c.type);
        ASSERT_EQ(bytes.size(), c.size);
        c.checkBytes(bytes);
        std::unique_ptr<QObject> fresh(c.make());
        ASSERT_EQ(c.init(fresh.get(), c.host), 0);
        c.checkReloaded(fresh.get());
    }
}

// Counts outside their ranges leave the property as it was; a second identical read signals nothing.
TEST(EditorsBlocks, CountsOutOfRangeIgnored) {
    DeviceWorld world;
    auto cam = editorVcam(10);
    CCustEditor cust;
    ASSERT_EQ(cust.init(editorIp(10)), 0);
    CWeiJuEditor weiju;
    CFixDistEditor fix;
    ASSERT_EQ(weiju.init(editorIp(10)), 0);
    ASSERT_EQ(fix.init(editorIp(10)), 0);
    struct Case {
        const char *name;
        int type;
        int offset;
        int width;  // bytes of the count field
        int bad;
        std::function<int()> value;
    };
    const Case cases[] = {
        {"custom items 17", 3, 268, 4, 17, [&] { return cust.cust()->itemCount(); }},
        {"custom items -1", 3, 268, 4, -1, [&] { return cust.cust()->itemCount(); }},
        {"shell count 6", 5, 37, 1, 6, [&] { return weiju.file()->len1_env_count(); }},
        {"first set count 17", 5, 38, 1, 17, [&] { return weiju.file()->len1_bb_count(); }},
        {"second table count 17", 5, 39, 1, 17, [&] { return weiju.file()->len2_bb_count(); }},
        {"distance count 6", 7, 264, 4, 6, [&] { return fix.file()->distCount(); }},
        {"blackbody count 11", 7, 268, 4, 11, [&] { return fix.file()->bbCount(); }},
    };
    auto download = [&](int type) {
        return type == 5 ? weiju.downloadMem(5) : type == 7 ? fix.downloadMem(7) : cust.downloadMem(type);
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int before = c.value();
        QByteArray block = cameraBlock(10, c.type);
        ASSERT_FALSE(block.isEmpty());
        if (c.width == 1)
            put<uint8_t>(block, c.offset, uint8_t(c.bad));
        else
            put<int32_t>(block, c.offset, c.bad);
        int status = -1;
        cameraBlock(10, c.type, block, &status);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(download(c.type), 0);
        EXPECT_EQ(c.value(), before);
    }
    SignalLog fixSignals(fix.file(), &CFixDistFile::bbCountChanged);
    SignalLog rowSignals(fix.file()->item(0), &CFixDistItem::temp0Changed);
    EXPECT_EQ(fix.downloadMem(7), 0);
    EXPECT_EQ(fixSignals.count() + rowSignals.count(), 0);
}

// Sessions: -7 without one, -8 for a memory type the custom editor does not hold, and the software id
// deciding whether the second custom range exists and is fetched at init.
TEST(EditorsSession, RulesAndRanges) {
    DeviceWorld world;
    CCustEditor cust;
    CWeiJuEditor weiju;
    CFixDistEditor fix;
    const std::pair<const char *, std::function<int()>> idle[] = {
        {"custom download", [&] { return cust.downloadMem(3); }},
        {"custom upload", [&] { return cust.uploadMem(4); }},
        {"lens download", [&] { return weiju.downloadMem(5); }},
        {"lens upload", [&] { return weiju.uploadMem(5); }},
        {"lens load", [&] { return weiju.load({}); }},
        {"lens save", [&] { return weiju.save({}); }},
        {"fix download", [&] { return fix.downloadMem(7); }},
        {"fix upload", [&] { return fix.uploadMem(7); }},
        {"fix load", [&] { return fix.load({}); }},
        {"fix save", [&] { return fix.save({}); }},
    };
    for (const auto &op : idle) EXPECT_EQ(op.second(), -7) << op.first;
    EXPECT_EQ(QDir(world.saveDir()).entryList(QDir::Files).size(), 0);

    struct Case {
        int host;
        const char *software;
        bool single;
    };
    const Case cases[] = {
        {20, "WJ-1.0", false}, {21, "V3-GS", false}, {22, "GW7", false}, {23, "R384-1.2", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.software);
        const QString log = world.path(QStringLiteral("transfer-%1.log").arg(c.host));
        auto cam = editorVcam(c.host, {"--software-id", c.software, "--transfer-log", log.toStdString()});
        CCustEditor editor;
        SignalLog single(&editor, &CCustEditor::tempRangeSingleChanged);
        ASSERT_EQ(editor.init(editorIp(c.host)), 0);
        EXPECT_EQ(editor.tempRangeSingle(), c.single);
        EXPECT_EQ(single.count(), c.single ? 0 : 1);
        EXPECT_EQ(editor.deviceId(), QStringLiteral("EDIT%1").arg(c.host));
        EXPECT_TRUE(editor.cust()->editEnable());
        EXPECT_EQ(editor.cust2()->editEnable(), !c.single);
        EXPECT_EQ(editor.cust()->note(), QStringLiteral("factory points, range 1"));
        EXPECT_EQ(editor.downloadMem(5), -8);
        EXPECT_EQ(editor.uploadMem(5), -8);
        // The camera logs a transfer once it has sent it: a second fetch of range 1 marks the end of init's.
        EXPECT_EQ(editor.downloadMem(3), 0);
        const QString range1 = QStringLiteral("download-mem type 3 size 656 status 0");
        EXPECT_TRUE(waitUntil([&] { return QString::fromUtf8(readFile(log)).count(range1) == 2; }, 5000));
        const QString text = QString::fromUtf8(readFile(log));
        EXPECT_EQ(text.contains(QStringLiteral("download-mem type 4 size 656 status 0")), !c.single)
            << qPrintable(text);
        editor.free();
        EXPECT_EQ(editor.userId(), -1);
        EXPECT_EQ(editor.downloadMem(3), -7);
    }
    // A camera that refuses transfers: the range cannot be edited, the properties stay.
    auto cam = editorVcam(24, {"--software-id", "WJ", "--fault-refuse-transfer"});
    CCustEditor editor;
    EXPECT_EQ(editor.init(editorIp(24)), 0);
    EXPECT_FALSE(editor.cust()->editEnable());
    EXPECT_LT(editor.downloadMem(4), 0);
    EXPECT_EQ(editor.cust()->itemCount(), 0);
    EXPECT_LT(CWeiJuEditor().init(editorIp(25)), 0);
}

// The local copies in the save directory: named by the camera, the exact block, read back whole.
TEST(EditorsLocal, LensAndFixDistFiles) {
    DeviceWorld world;
    auto cam = editorVcam(30);
    CWeiJuEditor weiju;
    CFixDistEditor fix;
    ASSERT_EQ(weiju.init(editorIp(30)), 0);
    ASSERT_EQ(fix.init(editorIp(30)), 0);
    struct Case {
        const char *name;
        QString file;
        int size;
        std::function<void()> fill;
        std::function<void()> spoil;
        std::function<bool()> restored;
        std::function<int()> load, save;
    };
    const Case cases[] = {
        {"lens", QStringLiteral("/weiju-EDIT30"), 1088, [&] { fillWeiJu(weiju.file()); },
         [&] { weiju.file()->set_len2_bb_count(1), weiju.file()->len1Item(3)->setTemp3(-1); },
         [&] { return weiju.file()->len2_bb_count() == 4 && weiju.file()->len1Item(3)->temp3() == 35.25; },
         [&] { return weiju.load({}); }, [&] { return weiju.save({}); }},
        {"fix-distance", QStringLiteral("/fixdist-EDIT30"), 696, [&] { fillFixDist(fix.file()); },
         [&] { fix.file()->setDist2(9), fix.file()->item(2)->setBlackbody(0); },
         [&] { return fix.file()->dist2() == 3 && fix.file()->item(2)->blackbody() == 50; },
         [&] { return fix.load({}); }, [&] { return fix.save({}); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = world.saveDir() + c.file;
        EXPECT_EQ(c.load(), -200);
        c.fill();
        ASSERT_EQ(c.save(), 0);
        const QByteArray bytes = readFile(path);
        ASSERT_EQ(bytes.size(), c.size);
        if (c.size == 1088) {
            EXPECT_EQ(at<int32_t>(bytes, 0), 20250224);
            EXPECT_EQ(bytes.mid(4, 32), QByteArray(32, '\0'));
        }
        c.spoil();
        EXPECT_FALSE(c.restored());
        EXPECT_EQ(c.load(), 0);
        EXPECT_TRUE(c.restored());
        // A short copy is refused and changes nothing.
        ASSERT_TRUE(writeBytes(path, bytes.left(c.size - 1)));
        c.spoil();
        EXPECT_EQ(c.load(), -198);
        EXPECT_FALSE(c.restored());
    }
}

// A camera identifier with path separators still names a file inside the save directory.
TEST(EditorsLocal, IdentifierStaysInSaveDir) {
    DeviceWorld world;
    auto cam = editorVcam(31, {"--camera-id", "../up/x"});
    CFixDistEditor fix;
    ASSERT_EQ(fix.init(editorIp(31)), 0);
    EXPECT_EQ(fix.deviceId(), QStringLiteral("../up/x"));
    EXPECT_EQ(fix.save({}), 0);
    EXPECT_EQ(QDir(world.saveDir()).entryList(QDir::Files), QStringList{QStringLiteral("fixdist-.._up_x")});
    EXPECT_EQ(fix.load({}), 0);
}

// The table check names the rule and the row that breaks it, by the same rules the camera applies.
TEST(EditorsCheckTable, NamesFirstBrokenRule) {
    CFixDistEditor fix;
    CWeiJuEditor weiju;
    struct Case {
        const char *name;
        std::function<void()> edit;
        std::function<bool()> check;
        std::function<QString()> problem;
        const char *expected;  // empty: valid
    };
    // Before any edit: the empty fix-distance table lacks its two pairs; the empty lens tables break nothing.
    EXPECT_FALSE(fix.tableValid());
    EXPECT_EQ(fix.tableProblem(), QStringLiteral("blackbody count outside 2 to 10"));
    EXPECT_TRUE(weiju.tableValid());
    auto fixCheck = [&] { return fix.checkTable(); };
    auto fixProblem = [&] { return fix.tableProblem(); };
    auto lensCheck = [&] { return weiju.checkTable(); };
    auto lensProblem = [&] { return weiju.tableProblem(); };
    const Case cases[] = {
        {"fix valid", [&] { fillFixDist(fix.file()); }, fixCheck, fixProblem, ""},
        {"fix blackbody row 3", [&] { fix.file()->item(2)->setBlackbody(35); }, fixCheck, fixProblem,
         "row 3: blackbody not rising"},
        {"fix measured row 4 distance 2", [&] { fillFixDist(fix.file()), fix.file()->item(3)->setTemp1(0); },
         fixCheck, fixProblem, "row 4, distance 2: measured temperature not rising"},
        {"fix row beyond count", [&] { fillFixDist(fix.file()), fix.file()->item(6)->setTemp1(0); }, fixCheck,
         fixProblem, ""},
        {"fix distances", [&] { fillFixDist(fix.file()), fix.file()->setDist2(2); }, fixCheck, fixProblem,
         "distance 3: not above the distance before"},
        {"fix one pair", [&] { fillFixDist(fix.file()), fix.file()->setBbCount(1); }, fixCheck, fixProblem,
         "blackbody count outside 2 to 10"},
        {"lens valid", [&] { fillWeiJu(weiju.file()); }, lensCheck, lensProblem, ""},
        {"lens shell", [&] { weiju.file()->set_len1_shell2(0); }, lensCheck, lensProblem,
         "shell 3: shell temperature not rising"},
        {"lens measured", [&] { fillWeiJu(weiju.file()), weiju.file()->len1Item(4)->setTemp2(0); }, lensCheck,
         lensProblem, "row 5: measured temperature not rising (shell 3)"},
        {"lens second table", [&] { fillWeiJu(weiju.file()), weiju.file()->len2Item(2)->setBlackbody(0); },
         lensCheck, lensProblem, "row 3: blackbody not rising (second table)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.edit();
        EXPECT_EQ(c.check(), *c.expected == 0);
        EXPECT_EQ(c.problem(), QString::fromUtf8(c.expected));
    }
    EXPECT_FALSE(fix.tableValid());  // the last fix case left a broken table
    EXPECT_FALSE(weiju.tableValid());
}

// Bad-pixel list files: the count must match the length exactly, before a single point is read.
TEST(EditorsBad, LoadRefusesMalformedFiles) {
    DeviceWorld world;
    auto header = [](int count, int points) {
        QByteArray b(44 + 4 * points, '\0');
        std::memcpy(b.data(), "CAM-7", 5);
        put<int32_t>(b, 32, 640);
        put<int32_t>(b, 36, 512);
        put<int32_t>(b, 40, count);
        for (int i = 0; i < points; ++i)
            put<uint16_t>(b, 44 + 4 * i, uint16_t(i)), put<uint16_t>(b, 46 + 4 * i, 7);
        return b;
    };
    QByteArray dup = header(2, 2);
    put<uint16_t>(dup, 48, 0);
    QByteArray fullId = header(0, 0);
    std::memset(fullId.data(), 'Z', 32);
    struct Case {
        const char *name;
        QByteArray bytes;
        int status;
        int points;
        const char *id;
    };
    const Case cases[] = {
        {"47 bytes", header(0, 0) + QByteArray(3, '\0'), -194, 1, ""},
        {"43 bytes", header(0, 0).left(43), -194, 1, ""},
        {"negative count", header(-1, 0), -194, 1, ""},
        {"count above points", header(3, 2), -194, 1, ""},
        {"count below points", header(1, 2), -194, 1, ""},
        {"4097 points", header(4097, 4097), -194, 1, ""},
        {"a point twice", dup, -194, 1, ""},
        {"empty list", header(0, 0), 0, 0, "CAM-7"},
        {"4096 points", header(4096, 4096), 0, 4096, "CAM-7"},
        {"identifier without zero", fullId, 0, 0, "ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ"},
    };
    const QString path = world.path(QStringLiteral("list.bad"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CComEditor editor;
        CComPoint p(5, 5);
        ASSERT_EQ(editor.point_create(&p), 0);
        ASSERT_TRUE(writeBytes(path, c.bytes));
        EXPECT_EQ(editor.load(path), c.status);
        EXPECT_EQ(editor.pointList().size(), c.points);
        EXPECT_EQ(editor.deviceWidth(), c.status == 0 ? 640 : 0);
        EXPECT_EQ(editor.deviceId(), QString::fromUtf8(c.id));
    }
    EXPECT_EQ(CComEditor().load(world.path(QStringLiteral("missing.bad"))), -200);
}

// The point list: no two equal, at most 4096, and a save that load reads back as it was.
TEST(EditorsBad, PointsAndRoundTrip) {
    DeviceWorld world;
    CComEditor editor;
    SignalLog changed(&editor, &CComEditor::pointListChanged);
    struct Step {
        int x, y;
        int status;
    };
    const Step steps[] = {{3, 4, 0}, {4, 3, 0}, {3, 4, -8}, {-1, 2, -8}, {70000, 2, -8}, {65535, 0, 0}};
    for (const Step &s : steps) {
        CComPoint p(s.x, s.y);
        EXPECT_EQ(editor.point_create(&p), s.status) << s.x << "," << s.y;
    }
    EXPECT_EQ(editor.pointList().size(), 3);
    EXPECT_EQ(changed.count(), 3);
    CComPoint other(9, 9);
    EXPECT_EQ(editor.point_delete(&other), -8);
    EXPECT_EQ(editor.point_delete(editor.pointList().at(1)), 0);
    EXPECT_EQ(editor.pointList().size(), 2);

    // 31 ASCII bytes and a two-byte character: the cut falls before the character, not through it.
    const QString longId = QString(31, QChar('a')) + QStringLiteral("\u00e9xyz");
    struct Case {
        QString id;
        QString stored;
    };
    const Case ids[] = {{QStringLiteral("IR-0042"), QStringLiteral("IR-0042")},
                        {longId, QString(31, QChar('a'))},
                        {QString(32, QChar('b')), QString(32, QChar('b'))}};
    const QString path = world.path(QStringLiteral("round.bad"));
    for (const Case &c : ids) {
        editor.setDeviceId(c.id);
        editor.setDeviceWidth(384);
        editor.setDeviceHeight(288);
        ASSERT_EQ(editor.save(path), 0);
        EXPECT_EQ(readFile(path).size(), 44 + 4 * 2);
        CComEditor back;
        ASSERT_EQ(back.load(path), 0);
        EXPECT_EQ(back.deviceId(), c.stored);
        EXPECT_EQ(back.deviceHeight(), 288);
        ASSERT_EQ(back.pointList().size(), 2);
        EXPECT_EQ(back.pointList().at(1)->x(), 65535);
        EXPECT_EQ(back.pointList().at(0)->y(), 4);
    }
    for (int i = editor.pointList().size(); i < 4096; ++i) {
        CComPoint p(i % 100 + 200, i / 100);
        ASSERT_EQ(editor.point_create(&p), 0);
    }
    CComPoint last(0, 0);
    EXPECT_EQ(editor.point_create(&last), -7);
    editor.point_clear();
    EXPECT_TRUE(editor.pointList().isEmpty());
    EXPECT_EQ(editor.save(world.path(QStringLiteral("no-such-dir/x.bad"))), -200);
}
