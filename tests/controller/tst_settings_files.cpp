// The application configuration and the profile store on a private copy of modules/: the
// shipped data, the application settings list, profile import, export and reset.
#include "controller/AppConfig.h"
#include "controller/ControllerContext.h"
#include "controller/LanguageStore.h"
#include "controller/ProfileStore.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"
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

// The position of a language in the scene's language menu (the order of chkLanguages).
int menuPosition(const QString &displayName)
{
    ControllerContext context;
    return LanguageStore(context).chkLanguages().keys().indexOf(displayName);
}

const QString kHelpPage = "modules/help/index.html";

// A valid profile that differs from every shipped one in its DPI stage.
const QByteArray kValidProfile = "[sensor]\nstage_W3=5\ndpi_W3=800, 1600, 2400, 3200, 4000, 4800, 5600, 6400\n";

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
    void factoryConfigurationSelectsEnglish();
    void virtualMouseStartsWithTheFactoryKeys();

    // --- Application configuration --------------------------------------------------------
    void saveThenLoadKeepsOrderAsText();
    void shorterListLeavesOldEntriesInFile();
    void missingFileGivesEmptyDefaults();
    void deviceConfigDefaultsToEight();
    void resetRestoresFactoryList();
    void resetWithoutFactoryCopyKeepsConfiguration();
    void skinChoiceNeedsTwoFolders();
    void firstStartFollowsTheLocaleUntilSaved_data();
    void firstStartFollowsTheLocaleUntilSaved();
    void webAddressOfTheHelpPage_data();
    void webAddressOfTheHelpPage();
    void itemCountBeyondBoundIsMalformed_data();
    void itemCountBeyondBoundIsMalformed();
    void unwritableFolderIsReportedOnce();

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
    void importRefusesWhatIsNotAProfile_data();
    void importRefusesWhatIsNotAProfile();
    void exportCopiesProfileWithUnflushedChanges();
    void exportReplacesExistingFile();
    void exportCancelledWritesNothing();
    void exportNamesTheFileAndSaysWhyAWriteFailed_data();
    void exportNamesTheFileAndSaysWhyAWriteFailed();
    void importAndExportStartInTheUsersFolder();
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
    // The left button and the wheel are where the scene expects them.
    QCOMPARE(texts(ProfileStore::storedList(profile, "keydefine_W3/0")), (QVariantList{"1", "0", "240", "0"}));
    QCOMPARE(texts(ProfileStore::storedList(profile, "keydefine_W3/14")), (QVariantList{"4", "0", "1", "0"}));
    QCOMPARE(texts(ProfileStore::storedList(profile, "keydefine_W3/15")), (QVariantList{"4", "0", "2", "0"}));
    QCOMPARE(ProfileStore::storedList(profile, "sensor/dpi_W3").size(), 8);
    QCOMPARE(ProfileStore::storedList(profile, "color_W3/type0").size(), 24);
    QCOMPARE(ProfileStore::storedList(profile, "color_W3/type1").size(), 24);
    QCOMPARE(ProfileStore::storedList(profile, "color_W3/type2").size(), 8);
    // Effect position, brightness, speed, and the light switched on.
    QCOMPARE(texts(ProfileStore::storedList(profile, "color_W3/ledEffect")), (QVariantList{"0", "7", "3", "1"}));
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
    QVERIFY(QUrl(items.at(31).toString()).isLocalFile());
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

void TestSettingsFiles::factoryConfigurationSelectsEnglish()
{
    const int english = menuPosition("ENGLISH");
    QVERIFY(english >= 0);
    QCOMPARE(AppConfig(kApConfigFactory).loadApConfig().at(AppConfig::kLanguageItem).toInt(), english);
    // Whatever the desktop's language, a reset comes up in English.
    AppConfig config;
    config.resetApconfig();
    QCOMPARE(config.loadApConfig(menuPosition("GERMAN")).at(AppConfig::kLanguageItem).toInt(), english);
}

void TestSettingsFiles::virtualMouseStartsWithTheFactoryKeys()
{
    vhid::Bus &bus = vhid::Bus::instance();
    bus.reset();
    bus.plug(vhid::Model::Mouse);
    std::vector<std::uint8_t> matrix;
    bus.withMouse([&](vhid::MouseMemory &memory) { matrix = memory.keyMatrix; });
    QVariantList bytes;
    for (std::uint8_t byte : matrix)
        bytes << QString::number(byte);
    QCOMPARE(bytes, texts(ProfileStore().loadDefaultProfile(ProfileStore::KeyPage)));
    bus.reset();
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
    const QVariantList factory = AppConfig(kApConfigFactory).loadApConfig();
    AppConfig config;
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
    // The run folder ships both skins: start from one.
    QVERIFY(QDir("./modules/img/skin2").removeRecursively());
    QVERIFY(!config.getIsSkinShow());
    QVERIFY(QDir().mkpath("./modules/img/skin2"));
    QVERIFY(config.getIsSkinShow());
    QVERIFY(QDir("./modules/img").removeRecursively());
    QVERIFY(!config.getIsSkinShow());
}

void TestSettingsFiles::firstStartFollowsTheLocaleUntilSaved_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("French in France") << "fr_FR" << "FRENCH";
    QTest::newRow("German in Austria") << "de_AT" << "GERMAN";
    QTest::newRow("Chinese in Hong Kong") << "zh_HK" << "CHINESE (Trad)";
    QTest::newRow("Chinese in Singapore") << "zh_SG" << "CHINESE (Simp)";
    QTest::newRow("Portuguese, not shipped") << "pt_BR" << "ENGLISH";
    QTest::newRow("English in Britain") << "en_GB" << "ENGLISH";
}

void TestSettingsFiles::firstStartFollowsTheLocaleUntilSaved()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    ControllerContext context;
    const int chosen = LanguageStore(context).menuPositionFor(QLocale(locale));
    QCOMPARE(chosen, menuPosition(language));

    AppConfig config;
    QVariantList items = config.loadApConfig(chosen);
    QCOMPARE(items.size(), 32);
    QCOMPARE(items.at(AppConfig::kLanguageItem).toInt(), chosen);
    QVERIFY(entry(kApConfig, "common", "4").isNull());  // nothing stored before the first save

    // The first save stores the choice; from then on the desktop's language no longer matters.
    QVERIFY(config.saveApConfig(items));
    QCOMPARE(entry(kApConfig, "common", "4"), QString::number(chosen));
    const int other = menuPosition(language == "ENGLISH" ? "RUSSIAN" : "ENGLISH");
    QCOMPARE(AppConfig().loadApConfig(other).at(AppConfig::kLanguageItem).toInt(), chosen);
}

void TestSettingsFiles::webAddressOfTheHelpPage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("opened");  // "<help>": the help page's absolute URL
    QTest::newRow("help page, relative") << "file:" + kHelpPage << "<help>";
    QTest::newRow("web site") << "https://example.com/w3" << "https://example.com/w3";
    QTest::newRow("absolute file elsewhere") << "file:///usr/share/doc/w3.html" << "file:///usr/share/doc/w3.html";
}

void TestSettingsFiles::webAddressOfTheHelpPage()
{
    QFETCH(QString, stored);
    QFETCH(QString, opened);
    const QString helpUrl = QUrl::fromLocalFile(QDir::current().absoluteFilePath(kHelpPage)).toString();
    opened.replace("<help>", helpUrl);
    AppConfig config;
    QVERIFY(QFile::exists(QUrl(config.loadApConfig().at(AppConfig::kWebAddressItem).toString()).toLocalFile()));

    QVariantList items = config.loadApConfig();
    items[AppConfig::kWebAddressItem] = stored;
    QVERIFY(config.saveApConfig(items));
    QCOMPARE(config.loadApConfig().at(AppConfig::kWebAddressItem).toString(), opened);
    // What the scene gives back as it got it is stored as before: the folder may move.
    QVERIFY(config.saveApConfig(config.loadApConfig()));
    QCOMPARE(entry(kApConfig, "common", "31"), stored);
}

void TestSettingsFiles::itemCountBeyondBoundIsMalformed_data()
{
    QTest::addColumn<QByteArray>("total");
    QTest::addColumn<int>("items");
    QTest::newRow("at the bound") << QByteArray::number(AppConfig::kMaxItems) << AppConfig::kMaxItems;
    QTest::newRow("one beyond") << QByteArray::number(AppConfig::kMaxItems + 1) << 0;
    QTest::newRow("int max") << QByteArray("2147483647") << 0;
    QTest::newRow("negative") << QByteArray("-5") << 0;
}

void TestSettingsFiles::itemCountBeyondBoundIsMalformed()
{
    QFETCH(QByteArray, total);
    QFETCH(int, items);
    QVERIFY(writeText(kApConfig, "[common]\ntotal=" + total + "\n0=1\n"));
    QCOMPARE(AppConfig().loadApConfig().size(), items);
}

void TestSettingsFiles::unwritableFolderIsReportedOnce()
{
    RecordingPrompts prompts;
    // A folder below a plain file cannot be created, whoever runs the test.
    QVERIFY(writeText(sandbox->path("plain"), "not a folder"));
    const QString blocked = sandbox->path("plain/setting/");
    AppConfig config(blocked + "apConfig.bin", kApConfigFactory);
    QVERIFY(!config.saveApConfig({1, 2, 3}));
    QCOMPARE(prompts.warnings.size(), 1);
    QVERIFY(prompts.warnings.at(0).text.contains(QDir(blocked).absolutePath()));
    QCOMPARE(prompts.warnings.at(0).title, QString("W3 Config"));

    ProfileStore profiles(blocked);
    profiles.current().setValue("sensor/stage_W3", 3);  // written when the event loop runs
    QTest::qWait(0);
    QVERIFY(!profiles.flush());
    QVERIFY(!config.saveApConfig({1}));
    QCOMPARE(prompts.warnings.size(), 1);

    // A writable folder is not reported.
    ProfileStore writable;
    writable.current().setValue("sensor/stage_W3", 3);
    QVERIFY(writable.flush());
    QCOMPARE(prompts.warnings.size(), 1);
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
    QTest::newRow("lighting page") << 2 << 28;  // 24 colours, effect, brightness, speed, on/off
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
    QVERIFY(writeText(exported, kValidProfile));
    prompts.openAnswer = exported;
    ProfileStore profiles;
    profiles.setCurrentProfile(3);
    profiles.loadProfile(3, nullptr);
    QCOMPARE(prompts.dialogs, QStringList{"Open File Profile(*.pf)"});
    QVERIFY(prompts.warnings.isEmpty());
    QCOMPARE(contents(profileFile(3)), contents(exported));
    QCOMPARE(profiles.current().value("sensor/stage_W3").toInt(), 5);
    QCOMPARE(ProfileStore::storedList(profiles.current(), "sensor/dpi_W3").size(), 8);
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
    QVERIFY(profiles.flush());
    QCOMPARE(entry(profileFile(0), "sensor", "stage_W3"), QString("4"));
    QCOMPARE(prompts.warnings.size(), 1);
    QVERIFY(prompts.warnings.at(0).text.contains(prompts.openAnswer));
}

void TestSettingsFiles::importRefusesWhatIsNotAProfile_data()
{
    QTest::addColumn<QString>("file");       // "<sandbox>/..." is written from `contents`
    QTest::addColumn<QByteArray>("bytes");
    const QString made = "<sandbox>/import.pf";
    QTest::newRow("empty file") << made << QByteArray();
    QTest::newRow("random bytes") << made << QByteArray::fromHex("8f00ff13a7c4e2015d9b0c77");
    QTest::newRow("text without profile entries") << made << QByteArray("hello=world\n");
    QTest::newRow("not a settings file") << made << QByteArray("[sensor\nstage_W3=5\n");
    QTest::newRow("DPI list too short") << made << QByteArray("[sensor]\ndpi_W3=800, 1600\n");
    QTest::newRow("key code of three bytes") << made << QByteArray("[keydefine_W3]\n0=1, 0, 240\n");
    QTest::newRow("colour beyond a byte")
        << made << QByteArray("[color_W3]\nledEffect=0, 7, 300\n");
    QTest::newRow("stage not a number") << made << QByteArray("[sensor]\nstage_W3=fast\n");
    QTest::newRow("far too large") << made << QByteArray(int(2 * 1024 * 1024), ';');
    QTest::newRow("endless device") << "/dev/zero" << QByteArray();
    QTest::newRow("a folder") << "<sandbox>/modules" << QByteArray();
}

void TestSettingsFiles::importRefusesWhatIsNotAProfile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    RecordingPrompts prompts;
    if (file.startsWith("<sandbox>")) {
        file = sandbox->path(file.mid(QString("<sandbox>/").size()));
        if (!QFileInfo(file).isDir())
            QVERIFY(writeText(file, bytes));
    }
    prompts.openAnswer = file;
    ProfileStore profiles;
    profiles.current().setValue("sensor/stage_W3", 4);
    QVERIFY(profiles.flush());
    const QByteArray before = contents(profileFile(0));

    profiles.loadProfile(0, nullptr);
    QCOMPARE(contents(profileFile(0)), before);
    QCOMPARE(profiles.current().value("sensor/stage_W3").toInt(), 4);
    QCOMPARE(prompts.warnings.size(), 1);
    QVERIFY(prompts.warnings.at(0).text.contains(file));
}

void TestSettingsFiles::exportCopiesProfileWithUnflushedChanges()
{
    RecordingPrompts prompts;
    prompts.saveAnswer = sandbox->path("out.pf");
    ProfileStore profiles;
    profiles.setCurrentProfile(9);
    profiles.current().setValue("sensor/stage_W3", 8);  // not yet on disk
    profiles.saveProfile(9, nullptr, ControllerContext());
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
    profiles.saveProfile(0, nullptr, ControllerContext());
    QCOMPARE(contents(prompts.saveAnswer), contents(profileFile(0)));
}

void TestSettingsFiles::exportCancelledWritesNothing()
{
    RecordingPrompts prompts;
    ProfileStore profiles;
    const QStringList before = QDir(".").entryList(QDir::Files);
    profiles.saveProfile(0, nullptr, ControllerContext());
    QCOMPARE(prompts.dialogs.size(), 1);
    QCOMPARE(QDir(".").entryList(QDir::Files), before);
}

void TestSettingsFiles::exportNamesTheFileAndSaysWhyAWriteFailed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");  // the language's msg list; empty: none loaded
    QTest::addColumn<bool>("replaceAnswer");
    QTest::addColumn<QString>("written");       // relative to the sandbox; "" nothing written
    QTest::addColumn<QString>("warning");       // a line the warning holds; "" no warning
    QStringList translated;
    for (int i = 0; i < 12; ++i)
        translated << "msg" + QString::number(i);
    QTest::newRow("typed without the extension") << "out" << QStringList() << true << "out.pf" << "";
    QTest::newRow("extension in capitals is kept") << "OUT.PF" << QStringList() << true << "OUT.PF" << "";
    QTest::newRow("added name taken, replace refused") << "taken" << QStringList() << false << "" << "";
    QTest::newRow("added name taken, replace agreed") << "taken" << QStringList() << true << "taken.pf" << "";
    QTest::newRow("folder missing") << "missing/out.pf" << QStringList() << true << ""
                                    << "The folder does not exist.";
    QTest::newRow("folder missing, in the current language") << "missing/out.pf" << translated << true
                                                             << "" << "msg7";
    QTest::newRow("a folder of that name") << "folder.pf" << QStringList() << true << ""
                                           << "A folder of that name is in the way.";
}

void TestSettingsFiles::exportNamesTheFileAndSaysWhyAWriteFailed()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(bool, replaceAnswer);
    QFETCH(QString, written);
    QFETCH(QString, warning);
    const QByteArray older = "an older file the user keeps";
    QVERIFY(writeText(sandbox->path("taken.pf"), older));
    QVERIFY(QDir().mkpath(sandbox->path("folder.pf")));
    RecordingPrompts prompts;
    prompts.saveAnswer = sandbox->path(typed);
    prompts.confirmAnswer = replaceAnswer;
    ControllerContext context;
    context.msgStrings = messages;
    ProfileStore profiles;

    const QString result = profiles.saveProfile(2, nullptr, context);

    QCOMPARE(result, written.isEmpty() ? QString() : sandbox->path(written));
    if (!written.isEmpty())
        QCOMPARE(contents(sandbox->path(written)), contents(profileFile(2)));
    if (!replaceAnswer)
        QCOMPARE(contents(sandbox->path("taken.pf")), older);
    QCOMPARE(prompts.confirmations.size(), typed == "taken" ? 1 : 0);
    QCOMPARE(prompts.warnings.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty()) {
        const QStringList lines = prompts.warnings.at(0).text.split('\n');
        QVERIFY2(lines.contains(warning), qPrintable(prompts.warnings.at(0).text));
        QVERIFY(lines.contains(sandbox->path(typed)));
    }
}

void TestSettingsFiles::importAndExportStartInTheUsersFolder()
{
    QTemporaryDir home;
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    RecordingPrompts prompts;
    ProfileStore profiles;
    // Without a documents folder: the home folder, offering the profile's name.
    profiles.saveProfile(2, nullptr, ControllerContext());
    profiles.loadProfile(2, nullptr);
    QVERIFY(QDir(home.path()).mkpath("Documents"));
    profiles.saveProfile(9, nullptr, ControllerContext());
    qputenv("HOME", previousHome);

    QCOMPARE(prompts.startPaths, (QStringList{home.path() + "/P03.pf", home.path(),
                                              home.path() + "/Documents/P10.pf"}));
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
