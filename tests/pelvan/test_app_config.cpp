// The application configuration: the AppConfig.bin record, its object view, load and save, and the
// diagnostics switches of debug.json.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "AppStatic.h"
#include "CAppConfig.h"
#include "CConfigManager.h"
#include "zq_logger.h"

namespace {

// Points the process paths at a temporary executable directory, so defaults and created folders stay there.
class AppConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        savedName = AppStatic::app_name;
        std::memcpy(savedExe, AppStatic::path_exe_local, sizeof(savedExe));
        savedFifo = AppStatic::chart_fifoSize;
        savedInterval = AppStatic::chart_updateInterval;
        AppStatic::app_name = QStringLiteral("Pelvan");
        std::snprintf(AppStatic::path_exe_local, sizeof(AppStatic::path_exe_local), "%s",
                      dir.path().toUtf8().constData());
        file = dir.filePath(QStringLiteral("AppConfig.bin"));
        // "make saveDir" lines go to this test's folder, not into the working directory.
        logger_t *log = logger_create_default();
        std::memcpy(savedLog, log->filepath, sizeof(savedLog));
        logger_set_file(log, dir.filePath(QStringLiteral("test")).toUtf8().constData());
    }
    void TearDown() override {
        logger_set_file(logger_create_default(), savedLog);
        AppStatic::app_name = savedName;
        std::memcpy(AppStatic::path_exe_local, savedExe, sizeof(savedExe));
        AppStatic::chart_fifoSize = savedFifo;
        AppStatic::chart_updateInterval = savedInterval;
    }

    void writeFile(const QByteArray &bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray readFile() {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QByteArray recordBytes(const AppConfigBin &bin) {
        return QByteArray(reinterpret_cast<const char *>(&bin), sizeof(bin));
    }

    static AppConfigBin record(int language, const char *dir, int trans, int fifo, int interval) {
        AppConfigBin bin;
        std::memset(&bin, 0, sizeof(bin));
        bin.magic = CAppConfig::kMagic;
        bin.language = language;
        std::snprintf(bin.saveDir, sizeof(bin.saveDir), "%s", dir);
        bin.transType = trans;
        bin.chartFifoSize = fifo;
        bin.chartUpdateInterval = interval;
        return bin;
    }

    QString defaultSaveDir() const { return dir.path() + QStringLiteral("/Pelvan-Data"); }

    QTemporaryDir dir;
    QString file;
    QString savedName;
    char savedExe[AppStatic::PATH_SIZE];
    char savedLog[ZQ_LOG_FILEPATH_SIZE];
    int savedFifo = 0;
    int64_t savedInterval = 0;
};

// Counts every change signal of one configuration object.
struct SignalCounts {
    int language = 0, saveDir = 0, transType = 0, fifo = 0, interval = 0;
    explicit SignalCounts(CAppConfig *c) {
        QObject::connect(c, &CAppConfig::languageChanged, [this] { ++language; });
        QObject::connect(c, &CAppConfig::saveDirChanged, [this] { ++saveDir; });
        QObject::connect(c, &CAppConfig::transTypeChanged, [this] { ++transType; });
        QObject::connect(c, &CAppConfig::chartFifoSizeChanged, [this] { ++fifo; });
        QObject::connect(c, &CAppConfig::chartUpdateIntervalChanged, [this] { ++interval; });
    }
    int total() const { return language + saveDir + transType + fifo + interval; }
};

}  // namespace

TEST_F(AppConfigTest, RecordLayoutMatchesTheFile) {
    const AppConfigBin bin = record(1, "/d", 1, 77, 9);
    const QByteArray b = recordBytes(bin);
    ASSERT_EQ(b.size(), 1044);
    // Little-endian fields at their offsets; 20240408 is the marker.
    const struct {
        int offset;
        uint32_t value;
    } fields[] = {{0, 20240408u}, {4, 1}, {1032, 1}, {1036, 77}, {1040, 9}};
    for (const auto &f : fields) {
        uint32_t v;
        std::memcpy(&v, b.constData() + f.offset, 4);
        EXPECT_EQ(v, f.value) << "offset " << f.offset;
    }
    EXPECT_EQ(std::string(b.constData() + 8), "/d");
}

TEST_F(AppConfigTest, UnreadableFilesYieldTheDefaults) {
    AppConfigBin foreign = record(1, "/x", 1, 42, 7);
    foreign.magic = 0x12345678;
    const AppConfigBin good = record(1, "/x", 1, 42, 7);
    const struct {
        const char *name;
        QByteArray bytes;  // null: no file at all
    } cases[] = {
        {"missing", QByteArray()},
        {"empty", QByteArray("")},
        {"1043 bytes", recordBytes(good).left(1043)},
        {"foreign magic", recordBytes(foreign)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        if (!c.bytes.isNull()) writeFile(c.bytes);
        const QByteArray before = readFile();
        CConfigManager m;
        m.setFilePath(file);
        m.load();
        CAppConfig *cfg = m.config();
        EXPECT_EQ(cfg->language(), 0);
        EXPECT_EQ(cfg->saveDir(), defaultSaveDir());
        EXPECT_EQ(cfg->transType(), 0);
        EXPECT_EQ(cfg->chartFifoSize(), 500);
        EXPECT_EQ(cfg->chartUpdateInterval(), 1);
        // The defaults are never written back by loading.
        EXPECT_EQ(readFile(), before);
        EXPECT_EQ(QFileInfo::exists(file), !c.bytes.isNull());
        // The default save directory exists afterwards.
        EXPECT_TRUE(QFileInfo(defaultSaveDir()).isDir());
    }
}

TEST_F(AppConfigTest, LoadTakesAGoodFileAndRepairsDamagedFields) {
    const QString dataDir = dir.filePath(QStringLiteral("shots"));
    const struct {
        const char *name;
        AppConfigBin bin;
        int language, trans, fifo, interval;
    } cases[] = {
        {"good", record(1, dataDir.toUtf8().constData(), 1, 800, 5), 1, 1, 800, 5},
        {"negative fifo", record(1, dataDir.toUtf8().constData(), 1, -5, 5), 1, 1, 500, 5},
        {"huge interval", record(0, dataDir.toUtf8().constData(), 0, 800, 1 << 30), 0, 0, 800, 1},
        {"unknown language and transport", record(7, dataDir.toUtf8().constData(), 9, 800, 5), 0, 0, 800, 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dataDir).removeRecursively();
        writeFile(recordBytes(c.bin));
        CConfigManager m;
        m.setFilePath(file);
        m.load();
        EXPECT_EQ(m.config()->language(), c.language);
        EXPECT_EQ(m.config()->saveDir(), dataDir);
        EXPECT_EQ(m.config()->transType(), c.trans);
        EXPECT_EQ(m.config()->chartFifoSize(), c.fifo);
        EXPECT_EQ(m.config()->chartUpdateInterval(), c.interval);
        EXPECT_TRUE(QFileInfo(dataDir).isDir()) << "the save directory is created";
        // The manager's configuration drives the chart globals, in 100 ns units.
        EXPECT_EQ(AppStatic::chart_fifoSize, c.fifo);
        EXPECT_EQ(AppStatic::chart_updateInterval, int64_t(c.interval) * 10000000);
    }
}

TEST_F(AppConfigTest, SaveWritesOnlyChangesAndReportsTheResult) {
    CConfigManager m;
    m.setFilePath(file);
    m.load();
    CAppConfig edit;
    edit.cls2cls(m.config());

    // Unchanged: nothing written, 0.
    EXPECT_EQ(m.save(&edit), 0);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_EQ(m.save(nullptr), -8);

    const struct {
        const char *name;
        std::function<void(CAppConfig &)> change;
        int expected;  // 0 written, -8 refused
    } cases[] = {
        {"language", [](CAppConfig &c) { c.setLanguage(1); }, 0},
        {"interval of an hour", [](CAppConfig &c) { c.setChartUpdateInterval(3600); }, 0},
        {"fifo", [](CAppConfig &c) { c.setChartFifoSize(1000); }, 0},
        {"save directory", [this](CAppConfig &c) { c.setSaveDir(dir.filePath(QStringLiteral("new/sub"))); },
         0},
        {"fifo out of range", [](CAppConfig &c) { c.setChartFifoSize(0); }, -8},
        {"interval out of range", [](CAppConfig &c) { c.setChartUpdateInterval(-1); }, -8},
        {"unknown transport", [](CAppConfig &c) { c.setTransType(2); }, -8},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        edit.cls2cls(m.config());
        const QByteArray before = readFile();
        c.change(edit);
        EXPECT_EQ(m.save(&edit), c.expected);
        if (c.expected == 0) {
            EXPECT_EQ(readFile(), recordBytes(edit.bin()));
            EXPECT_EQ(std::memcmp(&m.config()->bin(), &edit.bin(), sizeof(AppConfigBin)), 0);
            EXPECT_TRUE(QFileInfo(m.config()->saveDir()).isDir());
            EXPECT_EQ(AppStatic::chart_updateInterval, int64_t(edit.chartUpdateInterval()) * 10000000);
        } else {
            EXPECT_EQ(readFile(), before) << "a refused save writes nothing";
            EXPECT_NE(std::memcmp(&m.config()->bin(), &edit.bin(), sizeof(AppConfigBin)), 0);
        }
        EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".tmp")));
    }

    // What was saved is what the next start loads.
    CConfigManager again;
    again.setFilePath(file);
    again.load();
    EXPECT_EQ(std::memcmp(&again.config()->bin(), &m.config()->bin(), sizeof(AppConfigBin)), 0);
}

TEST_F(AppConfigTest, AFailedWriteKeepsTheOldFile) {
    CConfigManager m;
    m.setFilePath(file);
    m.load();
    CAppConfig edit;
    edit.cls2cls(m.config());
    edit.setLanguage(1);
    ASSERT_EQ(m.save(&edit), 0);
    const QByteArray saved = readFile();
    ASSERT_EQ(saved.size(), 1044);

    // The new content goes to a file beside the old one first; when that cannot be written the old file
    // stays whole and the failure is reported.
    ASSERT_TRUE(QDir().mkpath(file + QStringLiteral(".tmp")));
    edit.setChartFifoSize(2000);
    EXPECT_LT(m.save(&edit), 0);
    EXPECT_EQ(readFile(), saved);
    QDir(file + QStringLiteral(".tmp")).removeRecursively();
}

TEST_F(AppConfigTest, SaveDirectoryTakesAtMost1023Bytes) {
    const struct {
        const char *name;
        QString text;
        bool taken;
    } cases[] = {
        {"1023 ASCII bytes", QString(1023, QLatin1Char('a')), true},
        {"1024 ASCII bytes", QString(1024, QLatin1Char('b')), false},
        {"341 three-byte characters", QString(341, QChar(0x4E2D)), true},
        {"342 three-byte characters", QString(342, QChar(0x4E2D)), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CAppConfig cfg;
        cfg.setSaveDir(QStringLiteral("/before"));
        SignalCounts n(&cfg);
        cfg.setSaveDir(c.text);
        EXPECT_EQ(cfg.saveDir(), c.taken ? c.text : QStringLiteral("/before"));
        EXPECT_EQ(n.saveDir, c.taken ? 1 : 0);
        AppConfigBin out;
        cfg.cls2bin(out);
        EXPECT_EQ(QString::fromUtf8(out.saveDir), cfg.saveDir());

        // The same rule through a record.
        CAppConfig viaRecord;
        viaRecord.setSaveDir(QStringLiteral("/before"));
        AppConfigBin in = record(0, "", 0, 500, 1);
        const QByteArray utf8 = c.text.toUtf8();
        std::memcpy(in.saveDir, utf8.constData(), std::min<size_t>(utf8.size(), sizeof(in.saveDir)));
        viaRecord.bin2cls(in);
        if (utf8.size() <= 1023)
            EXPECT_EQ(viaRecord.saveDir(), c.text);
        else  // the record's last byte is forced to zero: 1023 bytes remain
            EXPECT_EQ(viaRecord.saveDir().toUtf8(), utf8.left(1023)) << "cut at the forced terminator";
    }
}

TEST_F(AppConfigTest, SignalsOnlyOnChange) {
    CAppConfig cfg;
    SignalCounts n(&cfg);
    const AppConfigBin a = record(1, "/a", 1, 600, 2);
    cfg.bin2cls(a);
    EXPECT_EQ(n.language, 1);
    EXPECT_EQ(n.saveDir, 1);
    EXPECT_EQ(n.transType, 1);
    EXPECT_EQ(n.fifo, 1);
    EXPECT_EQ(n.interval, 1);

    cfg.bin2cls(a);  // the same record again
    EXPECT_EQ(n.total(), 5);

    AppConfigBin b = a;
    b.chartFifoSize = 700;
    cfg.bin2cls(b);  // one field differs: one signal
    EXPECT_EQ(n.fifo, 2);
    EXPECT_EQ(n.total(), 6);

    // Setting a property to its value emits nothing.
    cfg.setLanguage(1);
    cfg.setSaveDir(QStringLiteral("/a"));
    cfg.setTransType(1);
    cfg.setChartFifoSize(700);
    cfg.setChartUpdateInterval(2);
    EXPECT_EQ(n.total(), 6);

    // cls2cls goes through the same path.
    CAppConfig other;
    other.bin2cls(record(0, "/a", 1, 700, 2));
    cfg.cls2cls(&other);
    EXPECT_EQ(n.language, 2);
    EXPECT_EQ(n.total(), 7);
}

TEST_F(AppConfigTest, OnlyTheManagersConfigurationMovesTheChartGlobals) {
    AppStatic::chart_fifoSize = 123;
    AppStatic::chart_updateInterval = 456;
    CAppConfig dialogCopy;
    dialogCopy.bin2cls(record(0, "/a", 0, 900, 30));
    EXPECT_EQ(AppStatic::chart_fifoSize, 123);
    EXPECT_EQ(AppStatic::chart_updateInterval, 456);

    CConfigManager m;
    m.setFilePath(file);
    ASSERT_EQ(m.save(&dialogCopy), 0);
    EXPECT_EQ(AppStatic::chart_fifoSize, 900);
    EXPECT_EQ(AppStatic::chart_updateInterval, 300000000);
}

TEST_F(AppConfigTest, NewConfigurationIsZeroButTheMarker) {
    CAppConfig cfg;
    AppConfigBin zero;
    std::memset(&zero, 0, sizeof(zero));
    zero.magic = CAppConfig::kMagic;
    EXPECT_EQ(std::memcmp(&cfg.bin(), &zero, sizeof(zero)), 0);
}

TEST_F(AppConfigTest, DebugJsonNeedsAllThreeIntegers) {
    const QString path = dir.filePath(QStringLiteral("debug.json"));
    const struct {
        const char *name;
        const char *text;  // null: no file
        bool taken;
        int enable, count, interval;
    } cases[] = {
        {"all three", R"({"netdEnable":1,"netdFrameCount":100,"netdCalcInterval":5})", true, 1, 100, 5},
        {"extra keys", R"({"x":"y","netdEnable":0,"netdFrameCount":3,"netdCalcInterval":4})", true, 0, 3, 4},
        {"missing key", R"({"netdEnable":1,"netdFrameCount":100})", false, 0, 0, 0},
        {"text value", R"({"netdEnable":"1","netdFrameCount":100,"netdCalcInterval":5})", false, 0, 0, 0},
        {"fraction", R"({"netdEnable":1,"netdFrameCount":1.5,"netdCalcInterval":5})", false, 0, 0, 0},
        {"too large", R"({"netdEnable":1,"netdFrameCount":4294967296,"netdCalcInterval":5})", false, 0, 0, 0},
        {"malformed", R"({"netdEnable":1,)", false, 0, 0, 0},
        {"array", R"([1,2,3])", false, 0, 0, 0},
        {"empty file", "", false, 0, 0, 0},
        {"no file", nullptr, false, 0, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        if (c.text) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.text);
        }
        // Leftovers of an earlier read never survive a failed one.
        AppStatic::debug_netdEnable = AppStatic::debug_netdFrameCount = AppStatic::debug_netdCalcInterval = 9;
        EXPECT_EQ(AppStatic::loadDebugJson(path.toUtf8().constData()), c.taken);
        EXPECT_EQ(AppStatic::debug_netdEnable, c.enable);
        EXPECT_EQ(AppStatic::debug_netdFrameCount, c.count);
        EXPECT_EQ(AppStatic::debug_netdCalcInterval, c.interval);
    }
    AppStatic::debug_netdEnable = AppStatic::debug_netdFrameCount = AppStatic::debug_netdCalcInterval = 0;
}
