// The application configuration and the profile store on a private copy of modules/: the
// shipped data, the application settings list, profile import, export and reset.
#include "controller/AppConfig.h"
#include "controller/ControllerContext.h"
#include "controller/ProfileStore.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "SettingsFiles.h"

#include <QtTest>
#include <memory>

using namespace settingsfiles;

namespace {

const QString kSettingFolder = "./modules/setting/";
const QString kApConfig = kSettingFolder + "apConfig.bin";
const QString kApConfigFactory = kSettingFolder + "apConfigD.bin";
const QString kDefaultProfile = kSettingFolder + "pD.bin";

QString profileFile(int index)
{
    return kSettingFolder + "p" + QString::number(index + 1) + ".bin";
}

QVariantList texts(const QVariantList &items)
{
    QVariantList result;
    for (const QVariant &item : items)
        result << item.toString();
    return result;
}

}  // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT

private slots:
    void init() { sandbox = std::make_unique<ModulesSandbox>(); }
    void cleanup() { sandbox.reset(); }

    // --- Shipped data ---------------------------------------------------------------------
    void shippedProfilesHoldFullLists_data();
    void shippedProfilesHoldFullLists();
    void shippedApConfigHoldsFullList_data();
    void shippedApConfigHoldsFullList();
    void shippedSkinFolderHasPictures();

    // --- Application configuration --------------------------------------------------------
    void saveThenLoadKeepsOrderAsText();
    void shorterListLeavesOldEntriesInFile();
    void missingFileGivesEmptyDefaults();
    void deviceConfigDefaultsToEight();
    void resetRestoresFactoryList();
    void resetWithoutFactoryCopyKeepsConfiguration();
    void skinChoiceNeedsTwoFolders();

    // --- Profile store --------------------------------------------------------------------
    void switchingProfilesSelectsFile();
    void defaultProfilePages_data();
    void defaultProfilePages();
    void defaultProfileMissingGivesScalarDefaults();
    void singleItemListReadsAsList();
    void resetReplacesProfileFile();
    void resetWithoutDefaultKeepsProfile();
    void importReplacesProfileInUse();
    void importCancelledChangesNothing();
    void importOfUnreadableFileKeepsProfile();
    void exportCopiesProfileWithUnflushedChanges();
    void exportReplacesExistingFile();
    void exportCancelledWritesNothing();
    void customPicture();

private:
    std::unique_ptr<ModulesSandbox> sandbox;
};

// --- Shipped data ---------------------------------------------------------------------------

void TestSettingsFiles::shippedProfilesHoldFullLists_data()
{
    QTest::addColumn<QString>("file");
    for (int i = 0; i < ProfileStore::kProfileCount; ++i)
        QTest::newRow(qPrintable(profileFile(i))) << profileFile(i);
    QTest::newRow("pD.bin") << kDefaultProfile;
}

void TestSettingsFiles::shippedProfilesHoldFullLists()
{
    QFETCH(QString, file);
    QVERIFY(QFile::exists(file));
    const QSettings profile(file, QSettings::IniFormat);
    QCOMPARE(profile.status(), QSettings::NoError);
    for (int key = 0; key < 16; ++key) {
        const QVariantList code = ProfileStore::storedList(profile, "keydefine_W3/" + QString::number(key));
        QCOMPARE(code.size(), 4);
        for (const QVariant &byte : code)
            QVERIFY(byte.toInt() >= 0 && byte.toInt() <= 255);
    }
    // The left button is where the scene expects it.
    QCOMPARE(texts(ProfileStore::storedList(profile, "keydefine_W3/0")), (QVariantList{"1", "0", "240", "0"}));
    QCOMPARE(ProfileStore::storedList(profile, "sensor/dpi_W3").size(), 8);
    QCOMPARE(ProfileStore::storedList(profile, "color_W3/type0").size(), 24);
    QCOMPARE(ProfileStore::storedList(profile, "color_W3/type1").size(), 24);
    QCOMPARE(ProfileStore::storedList(profile, "color_W3/type2").size(), 8);
    QCOMPARE(ProfileStore::storedList(profile, "color_W3/ledEffect").size(), 3);
    const QStringList scalars = {"sensor/reportRate_W3", "sensor/stage_W3", "sensor/cursorSpeed_W3",
                                 "sensor/verticalScrollLines_W3", "sensor/doubleClickSpeed_W3",
                                 "keydefine_W3/scrollswap"};
    for (const QString &key : scalars)
        QVERIFY2(profile.contains(key), qPrintable(key));
    QVERIFY(QList<int>({1, 2, 4, 8}).contains(profile.value("sensor/reportRate_W3").toInt()));
    QVERIFY(profile.value("sensor/stage_W3").toInt() >= 1 && profile.value("sensor/stage_W3").toInt() <= 8);
}

void TestSettingsFiles::shippedApConfigHoldsFullList_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("apConfig.bin") << kApConfig;
    QTest::newRow("apConfigD.bin") << kApConfigFactory;
}

void TestSettingsFiles::shippedApConfigHoldsFullList()
{
    QFETCH(QString, file);
    AppConfig config(file, kApConfigFactory);
    const QVariantList items = config.loadApConfig();
    QCOMPARE(items.size(), 32);
    QCOMPARE(items.at(0).toString(), QString("1"));
    QVERIFY(items.at(31).toString().startsWith("https://"));
    QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
    QCOMPARE(AppConfig::windowTitle(file), QString("W3 Config"));
    QCOMPARE(config.settings()->value("common/product_name").toStringList().size(), 2);
    QCOMPARE(config.settings()->value("common/sCode1").toString(), QString("417306"));
}

void TestSettingsFiles::shippedSkinFolderHasPictures()
{
    QVERIFY(QFile::exists("./modules/img/skin1/background.png"));
    QVERIFY(!QImage("./modules/img/skin1/background.png").isNull());
}

// --- Application configuration -------------------------------------------------------------

void TestSettingsFiles::saveThenLoadKeepsOrderAsText()
{
    AppConfig config;
    QVariantList list;
    for (int i = 0; i < 32; ++i)
        list << (i == 5 ? QVariant(true) : QVariant(i * 3));
    config.saveApConfig(list);
    config.settings()->sync();
    QCOMPARE(entry(kApConfig, "common", "total"), QString("32"));
    QCOMPARE(entry(kApConfig, "common", "5"), QString("true"));
    const QVariantList loaded = config.loadApConfig();
    QCOMPARE(loaded, texts(list));
}

void TestSettingsFiles::shorterListLeavesOldEntriesInFile()
{
    AppConfig config;
    QVariantList longList;
    for (int i = 0; i < 32; ++i)
        longList << i;
    config.saveApConfig(longList);
    config.saveApConfig({7, 8, 9});
    config.settings()->sync();
    QCOMPARE(config.loadApConfig(), (QVariantList{"7", "8", "9"}));
    QCOMPARE(entry(kApConfig, "common", "31"), QString("31"));
}

void TestSettingsFiles::missingFileGivesEmptyDefaults()
{
    QVERIFY(QFile::remove(kApConfig));
    AppConfig config;
    QVERIFY(config.loadApConfig().isEmpty());
    QCOMPARE(config.loadDeviceApConfig(), QVariantList{8});
    QCOMPARE(AppConfig::windowTitle(), QString());
}

void TestSettingsFiles::deviceConfigDefaultsToEight()
{
    QVERIFY(writeText(kApConfig, "[W3]\ncolorMaxStage=5\n"));
    QCOMPARE(AppConfig().loadDeviceApConfig(), QVariantList{5});
    QVERIFY(writeText(kApConfig, "[common]\ntotal=0\n"));
    QCOMPARE(AppConfig().loadDeviceApConfig(), QVariantList{8});
}

void TestSettingsFiles::resetRestoresFactoryList()
{
    AppConfig config;
    const QVariantList factory = config.loadApConfig();
    config.saveApConfig({2, 2, 1});
    QCOMPARE(config.loadApConfig().size(), 3);
    config.resetApconfig();
    QCOMPARE(config.loadApConfig(), factory);
    QCOMPARE(contents(kApConfig), contents(kApConfigFactory));
}

void TestSettingsFiles::resetWithoutFactoryCopyKeepsConfiguration()
{
    AppConfig config;
    config.saveApConfig({4, 5});
    QVERIFY(QFile::remove(kApConfigFactory));
    config.resetApconfig();
    // The failed copy must not lose the user's configuration.
    QVERIFY(QFile::exists(kApConfig));
    QCOMPARE(config.loadApConfig(), (QVariantList{"4", "5"}));
    QCOMPARE(AppConfig::windowTitle(), QString("W3 Config"));
}

void TestSettingsFiles::skinChoiceNeedsTwoFolders()
{
    AppConfig config;
    QVERIFY(!config.getIsSkinShow());
    QVERIFY(QDir().mkpath("./modules/img/skin2"));
    QVERIFY(config.getIsSkinShow());
    QVERIFY(QDir("./modules/img").removeRecursively());
    QVERIFY(!config.getIsSkinShow());
}

// --- Profile store --------------------------------------------------------------------------

void TestSettingsFiles::switchingProfilesSelectsFile()
{
    ProfileStore profiles;
    QCOMPARE(profiles.currentProfile(), 0);
    QCOMPARE(QFileInfo(profiles.current().fileName()).fileName(), QString("p1.bin"));
    profiles.setCurrentProfile(9);
    QCOMPARE(QFileInfo(profiles.current().fileName()).fileName(), QString("p10.bin"));
    profiles.current().setValue("sensor/stage_W3", 6);
    profiles.current().sync();
    QCOMPARE(entry(profileFile(9), "sensor", "stage_W3"), QString("6"));
    QCOMPARE(entry(profileFile(0), "sensor", "stage_W3"), QString("2"));
    profiles.setCurrentProfile(10);
    profiles.setCurrentProfile(-1);
    QCOMPARE(profiles.currentProfile(), 9);
    QVERIFY(!profiles.profile(10));
    QVERIFY(profiles.profile(0));
}

void TestSettingsFiles::defaultProfilePages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("length");
    QTest::newRow("key page") << 0 << 64;
    QTest::newRow("macro page") << 1 << 0;
    QTest::newRow("lighting page") << 2 << 27;
    QTest::newRow("sensor page") << 3 << 45;
    QTest::newRow("unknown page") << 7 << 0;
}

void TestSettingsFiles::defaultProfilePages()
{
    QFETCH(int, page);
    QFETCH(int, length);
    const QVariantList values = ProfileStore().loadDefaultProfile(uchar(page));
    QCOMPARE(values.size(), length);
    const QSettings defaults(kDefaultProfile, QSettings::IniFormat);
    if (page == 3) {
        QCOMPARE(values.at(0), defaults.value("sensor/reportRate_W3").toInt());
        QCOMPARE(values.at(4).toString(), ProfileStore::storedList(defaults, "sensor/dpi_W3").at(0).toString());
        QCOMPARE(values.at(12), defaults.value("sensor/stage_W3").toInt());
        QCOMPARE(values.mid(37), ProfileStore::storedList(defaults, "color_W3/type2"));
    }
    if (page == 2)
        QCOMPARE(values.mid(24), ProfileStore::storedList(defaults, "color_W3/ledEffect"));
}

void TestSettingsFiles::defaultProfileMissingGivesScalarDefaults()
{
    QVERIFY(QFile::remove(kDefaultProfile));
    ProfileStore profiles;
    QCOMPARE(profiles.loadDefaultProfile(3), (QVariantList{2, 5, 2, 5, 2}));
    QVERIFY(profiles.loadDefaultProfile(0).isEmpty());
    QVERIFY(profiles.loadDefaultProfile(2).isEmpty());
}

void TestSettingsFiles::singleItemListReadsAsList()
{
    QVERIFY(writeText(profileFile(0), "[sensor]\ndpi_W3=800\n[color_W3]\ntype2=@Invalid()\n"));
    ProfileStore profiles;
    QCOMPARE(ProfileStore::storedList(profiles.current(), "sensor/dpi_W3"), QVariantList{"800"});
    QVERIFY(ProfileStore::storedList(profiles.current(), "color_W3/type2").isEmpty());
    QVERIFY(ProfileStore::storedList(profiles.current(), "color_W3/type0").isEmpty());
}

void TestSettingsFiles::resetReplacesProfileFile()
{
    ProfileStore profiles;
    // Unflushed and flushed changes alike are replaced, even when the file keeps its size.
    profiles.current().setValue("keydefine_W3/scrollswap", true);
    profiles.current().sync();
    profiles.current().setValue("sensor/stage_W3", 7);
    profiles.resetProfile(0);
    QCOMPARE(contents(profileFile(0)), contents(kDefaultProfile));
    QCOMPARE(profiles.current().value("keydefine_W3/scrollswap").toBool(), false);
    QCOMPARE(profiles.current().value("sensor/stage_W3").toInt(), 2);
}

void TestSettingsFiles::resetWithoutDefaultKeepsProfile()
{
    ProfileStore profiles;
    profiles.current().setValue("sensor/stage_W3", 7);
    QVERIFY(QFile::remove(kDefaultProfile));
    profiles.resetProfile(0);
    // The failed copy must not lose the user's profile.
    QVERIFY(QFile::exists(profileFile(0)));
    QCOMPARE(profiles.current().value("sensor/stage_W3").toInt(), 7);
    QCOMPARE(entry(profileFile(0), "sensor", "stage_W3"), QString("7"));
    QCOMPARE(ProfileStore::storedList(profiles.current(), "sensor/dpi_W3").size(), 8);
}

void TestSettingsFiles::importReplacesProfileInUse()
{
    RecordingPrompts prompts;
    const QString exported = sandbox->path("mine.pf");
    QVERIFY(writeText(exported, "[sensor]\nstage_W3=5\ndpi_W3=800, 1600\n"));
    prompts.openAnswer = exported;
    ProfileStore profiles;
    profiles.setCurrentProfile(3);
    profiles.loadProfile(3, nullptr);
    QCOMPARE(prompts.dialogs, QStringList{"Open File Profile(*.pf)"});
    QCOMPARE(contents(profileFile(3)), contents(exported));
    QCOMPARE(profiles.current().value("sensor/stage_W3").toInt(), 5);
    QCOMPARE(ProfileStore::storedList(profiles.current(), "sensor/dpi_W3"), (QVariantList{"800", "1600"}));
    QVERIFY(ProfileStore::storedList(profiles.current(), "color_W3/type0").isEmpty());
}

void TestSettingsFiles::importCancelledChangesNothing()
{
    RecordingPrompts prompts;
    const QByteArray before = contents(profileFile(2));
    ProfileStore profiles;
    profiles.loadProfile(2, nullptr);
    QCOMPARE(prompts.dialogs.size(), 1);
    QCOMPARE(contents(profileFile(2)), before);
}

void TestSettingsFiles::importOfUnreadableFileKeepsProfile()
{
    RecordingPrompts prompts;
    prompts.openAnswer = sandbox->path("gone.pf");
    ProfileStore profiles;
    profiles.current().setValue("sensor/stage_W3", 4);
    profiles.loadProfile(0, nullptr);
    QCOMPARE(profiles.current().value("sensor/stage_W3").toInt(), 4);
    QCOMPARE(entry(profileFile(0), "sensor", "stage_W3"), QString("4"));
}

void TestSettingsFiles::exportCopiesProfileWithUnflushedChanges()
{
    RecordingPrompts prompts;
    prompts.saveAnswer = sandbox->path("out.pf");
    ProfileStore profiles;
    profiles.setCurrentProfile(9);
    profiles.current().setValue("sensor/stage_W3", 8);  // not yet on disk
    profiles.saveProfile(9, nullptr);
    QCOMPARE(prompts.dialogs, QStringList{"Save File Profile(*.pf)"});
    QCOMPARE(entry(prompts.saveAnswer, "sensor", "stage_W3"), QString("8"));
    QCOMPARE(contents(prompts.saveAnswer), contents(profileFile(9)));
}

void TestSettingsFiles::exportReplacesExistingFile()
{
    RecordingPrompts prompts;
    prompts.saveAnswer = sandbox->path("out.pf");
    QVERIFY(writeText(prompts.saveAnswer, QByteArray(5000, 'x')));
    ProfileStore profiles;
    profiles.saveProfile(0, nullptr);
    QCOMPARE(contents(prompts.saveAnswer), contents(profileFile(0)));
}

void TestSettingsFiles::exportCancelledWritesNothing()
{
    RecordingPrompts prompts;
    ProfileStore profiles;
    const QStringList before = QDir(".").entryList(QDir::Files);
    profiles.saveProfile(0, nullptr);
    QCOMPARE(prompts.dialogs.size(), 1);
    QCOMPARE(QDir(".").entryList(QDir::Files), before);
}

void TestSettingsFiles::customPicture()
{
    RecordingPrompts prompts;
    ControllerContext context;
    context.msgStrings = QStringList{"m0", "m1", "Warning", "Cannot open: ", "m4", "m5"};
    ProfileStore profiles;

    QCOMPARE(profiles.getCustomFilePath(nullptr, context), QString());
    QCOMPARE(prompts.dialogs, QStringList{"Open File Image Files(*.png)"});

    prompts.openAnswer = QFileInfo("./modules/img/skin1/background.png").absoluteFilePath();
    QCOMPARE(profiles.getCustomFilePath(nullptr, context), prompts.openAnswer);
    QVERIFY(prompts.warnings.isEmpty());

    prompts.openAnswer = sandbox->path("missing.png");
    QCOMPARE(profiles.getCustomFilePath(nullptr, context), QString());
    QCOMPARE(prompts.warnings.size(), 1);
    QCOMPARE(prompts.warnings.at(0).title, QString("Warning"));
    QCOMPARE(prompts.warnings.at(0).text, "Cannot open: " + prompts.openAnswer);
}

QTEST_MAIN(TestSettingsFiles)
#include "tst_settings_files.moc"
