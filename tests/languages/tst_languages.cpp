// Language files: the language list, the string table with its check value and the message
// list, the button names, the integrity flag that gates device traffic, and the shipped files.
#include "controller/ControllerContext.h"
#include "controller/LanguageFile.h"
#include "controller/LanguageStore.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QFontDatabase>
#include <QTemporaryDir>
#include <QSettings>
#include <QtTest>
#include <memory>

namespace {

// Writes a language file as UTF-8 text.
void writeFile(const QString &path, const QByteArray &utf8)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(utf8), qint64(utf8.size()));
}

QByteArray threeStrings(const QByteArray &cs)
{
    // Lengths 6 ("GRÖSSE"), 1 ("宏") and 0: R = 7, whose check string is "811942340".
    return "[font]\nfamily=Test Sans\ntotal=3\n" + cs
           + "\n[strings]\n1=GRÖSSE\n2=宏\n3=\n"
             "[msg]\n0=T0\n1=\"two\\nlines\"\n2=T2\n3=\"path: \"\n4=T4\n5=T5\n"
             "[W3_5E8A2D1]\n0=LEFT\n15=SCROLL DOWN\n";
}

QStringList blanks(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString();
    return list;
}

constexpr int kShippedMinTotal = 116;
const QList<int> kProductButtons = {0, 1, 2, 3, 4, 5, 6, 14, 15};

QString shippedFolder()
{
    return QCoreApplication::applicationDirPath() + "/modules/i18n/";
}

}  // namespace

class TestLanguages : public QObject {
    Q_OBJECT
private slots:
    void init();
    void listsLanguagesWithSuffixes();
    void checkString_data();
    void checkString();
    void loadsStringsAndMessages_data();
    void loadsStringsAndMessages();
    void loadingTwiceKeepsTheMessages();
    void missingOrHostileCodeReadsEmpty_data();
    void missingOrHostileCodeReadsEmpty();
    void buttonNamesAreSixteen();
    void integrityFlagStopsDeviceTraffic();
    void shippedFilesPass_data();
    void shippedFilesPass();
    void shippedLanguagesAreListed();
    void wrongCheckValueIsToldOncePerFile();
    void stringCountBeyondBoundIsMalformed_data();
    void stringCountBeyondBoundIsMalformed();
    void menuPositionForLocale_data();
    void menuPositionForLocale();

private:
    // A fresh folder per test: the settings store caches files by path.
    std::unique_ptr<QTemporaryDir> dir;
    ControllerContext context;
    std::unique_ptr<RecordingPrompts> prompts;
};

void TestLanguages::init()
{
    dir = std::make_unique<QTemporaryDir>();
    languageIntegrity = true;
    context.msgStrings.clear();
    prompts.reset();  // a recording's destructor puts Qt's dialogs back
    prompts = std::make_unique<RecordingPrompts>();
}

void TestLanguages::listsLanguagesWithSuffixes()
{
    QTemporaryDir folder;
    for (const char *name : {"lang_031000.ini", "lang_031225.ini", "lang_025044.ini", "lang_025208.ini",
                             "lang_042082.ini", "lang_abc.ini", "lang_0310001.ini", "LANG_037000.INI",
                             "notes.txt"})
        writeFile(folder.filePath(name), "[font]\n");
    LanguageStore store(context, folder.path() + "/");

    const QVariantMap expected{{"ENGLISH", "031000"},
                               {"ENGLISH (UNITED STATES)", "031225"},
                               {"CHINESE (Simp)", "025044"},
                               {"CHINESE (Trad)", "025208"},
                               {"GERMAN (GERMANY)", "042082"}};
    QCOMPARE(store.chkLanguages(), expected);
    QCOMPARE(LanguageStore(context, folder.filePath("none/")).chkLanguages(), QVariantMap());
}

void TestLanguages::checkString_data()
{
    QTest::addColumn<int>("totalLength");
    QTest::addColumn<QString>("check");
    QTest::newRow("worked example") << 1000 << "5016311214";
    QTest::newRow("no strings") << 0 << "7418700";
    QTest::newRow("below 69 wraps into 0..255") << 7 << "811942340";
}

void TestLanguages::checkString()
{
    QFETCH(int, totalLength);
    QFETCH(QString, check);
    QCOMPARE(LanguageFile::checkString(totalLength), check);
}

void TestLanguages::loadsStringsAndMessages_data()
{
    QTest::addColumn<QByteArray>("csLine");
    QTest::addColumn<bool>("integrity");
    QTest::newRow("right check value") << QByteArray("cs=811942340") << true;
    QTest::newRow("wrong check value") << QByteArray("cs=811942341") << false;
    QTest::newRow("no check value") << QByteArray() << false;
}

void TestLanguages::loadsStringsAndMessages()
{
    QFETCH(QByteArray, csLine);
    QFETCH(bool, integrity);
    writeFile(dir->filePath("lang_031000.ini"), threeStrings(csLine));
    LanguageStore store(context, dir->path() + "/");

    const QStringList strings = store.getGlobalStrings("031000");
    QCOMPARE(strings, (QStringList{"Test Sans", "GRÖSSE", "宏", ""}));
    QCOMPARE(context.msgStrings.mid(0, 6), (QStringList{"T0", "two\nlines", "T2", "path: ", "T4", "T5"}));
    QCOMPARE(context.msgStrings.size(), LanguageFile::kMessageCount);
    QCOMPARE(bool(languageIntegrity), integrity);
}

void TestLanguages::loadingTwiceKeepsTheMessages()
{
    writeFile(dir->filePath("lang_031000.ini"), threeStrings("cs=811942340"));
    LanguageStore store(context, dir->path() + "/");
    const QStringList first = store.getGlobalStrings("031000");
    QCOMPARE(store.getGlobalStrings("031000"), first);
    QCOMPARE(context.msgStrings.size(), LanguageFile::kMessageCount);
}

void TestLanguages::missingOrHostileCodeReadsEmpty_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("no such file") << "099000";
    QTest::newRow("path in the code") << "/../lang_031000";
    QTest::newRow("empty code") << "";
}

void TestLanguages::missingOrHostileCodeReadsEmpty()
{
    QFETCH(QString, code);
    writeFile(dir->filePath("lang_031000.ini"), threeStrings("cs=811942340"));
    LanguageStore store(context, dir->path() + "/");
    QCOMPARE(store.getGlobalStrings(code), QStringList{QString()});
    QCOMPARE(context.msgStrings, blanks(LanguageFile::kMessageCount));
    QVERIFY(!languageIntegrity);
    QCOMPARE(store.getProductLayoutStrings_W3(code), blanks(16));
}

void TestLanguages::buttonNamesAreSixteen()
{
    writeFile(dir->filePath("lang_031000.ini"), threeStrings("cs=811942340"));
    LanguageStore store(context, dir->path() + "/");
    QStringList expected = blanks(16);
    expected[0] = "LEFT";
    expected[15] = "SCROLL DOWN";
    QCOMPARE(store.getProductLayoutStrings_W3("031000"), expected);
}

void TestLanguages::integrityFlagStopsDeviceTraffic()
{
    vhid::Bus &bus = vhid::Bus::instance();
    bus.reset();
    bus.plug(vhid::Model::Mouse);
    encodeEnabled = true;
    demoMode = false;
    const char *secrecyText = "417306";  // the virtual devices' default
    for (int i = 0; i < 6; ++i)
        secrecyCode[size_t(i) + 1] = std::uint8_t(secrecyText[i]);
    Hid_Thread hid;
    hid.rebuildDevices(readCatalogue(kCataloguePath, {}).entries);

    writeFile(dir->filePath("lang_031000.ini"), threeStrings("cs=811942340"));
    writeFile(dir->filePath("lang_042000.ini"), threeStrings("cs=0"));
    LanguageStore store(context, dir->path() + "/");
    const auto commandTraffic = [&bus] {
        int count = 0;
        for (const vhid::Record &record : bus.records())
            count += record.iface == vhid::Interface::Command
                     && (record.op == vhid::Op::SendFeature || record.op == vhid::Op::GetFeature);
        return count;
    };

    store.getGlobalStrings("042000");
    bus.clearRecords();
    uchar rate = 0x5A;
    hid.hid_81H_GetReportRate(rate);
    QCOMPARE(commandTraffic(), 0);
    QCOMPARE(int(rate), 0x5A);

    store.getGlobalStrings("031000");
    hid.hid_81H_GetReportRate(rate);
    QVERIFY(commandTraffic() > 0);
    QVERIFY(hid.waitUntilIdle(2000));
}

void TestLanguages::shippedFilesPass_data()
{
    QTest::addColumn<QString>("code");
    const QVariantMap languages = LanguageStore(context, shippedFolder()).chkLanguages();
    QVERIFY(!languages.isEmpty());
    for (auto it = languages.cbegin(); it != languages.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.value().toString();
}

void TestLanguages::shippedFilesPass()
{
    QFETCH(QString, code);
    LanguageStore store(context, shippedFolder());
    const QStringList strings = store.getGlobalStrings(code);
    QVERIFY(languageIntegrity);
    QVERIFY(strings.size() > kShippedMinTotal);
    QVERIFY2(QFontDatabase().families().contains(strings.at(0)), qPrintable(strings.at(0)));
    // Blocks of indices are set aside for texts to come: an index no shipped language fills is
    // unused, but one that any language fills must be filled in every language.
    const QVariantMap languages = store.chkLanguages();
    for (int k = 1; k < strings.size(); ++k) {
        if (!strings.at(k).isEmpty())
            continue;
        for (auto it = languages.cbegin(); it != languages.cend(); ++it) {
            LanguageStore other(context, shippedFolder());
            QVERIFY2(other.getGlobalStrings(it.value().toString()).value(k).isEmpty(),
                     qPrintable(QString("string %1 is missing here but %2 has it").arg(k).arg(it.key())));
        }
    }
    store.getGlobalStrings(code);  // the message list below is the one of this language
    QCOMPARE(context.msgStrings.size(), LanguageFile::kMessageCount);
    for (const QString &message : context.msgStrings)
        QVERIFY(!message.isEmpty());
    QVERIFY(context.msgStrings.at(1).contains('\n'));

    const QStringList buttons = store.getProductLayoutStrings_W3(code);
    for (int i = 0; i < buttons.size(); ++i)
        QCOMPARE(!buttons.at(i).isEmpty(), kProductButtons.contains(i));
}

void TestLanguages::shippedLanguagesAreListed()
{
    const QVariantMap languages = LanguageStore(context, shippedFolder()).chkLanguages();
    const QVariantMap expected{{"ENGLISH", "031000"},     {"CHINESE (Simp)", "025044"},
                               {"CHINESE (Trad)", "025208"}, {"GERMAN", "042000"},
                               {"FRENCH", "037000"},      {"SPANISH", "111000"},
                               {"JAPANESE", "059000"},    {"RUSSIAN", "096000"}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(languages.value(it.key()), it.value());
}

void TestLanguages::wrongCheckValueIsToldOncePerFile()
{
    writeFile(dir->filePath("lang_031000.ini"), threeStrings("cs=811942340"));
    writeFile(dir->filePath("lang_042000.ini"), threeStrings("cs=0"));
    writeFile(dir->filePath("lang_037000.ini"), threeStrings(""));
    LanguageStore store(context, dir->path() + "/");

    store.getGlobalStrings("031000");
    QVERIFY(prompts->warnings.isEmpty());
    for (int i = 0; i < 2; ++i) {
        store.getGlobalStrings("042000");
        QVERIFY(!languageIntegrity);
    }
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY(prompts->warnings.at(0).text.contains(QFileInfo(dir->filePath("lang_042000.ini")).absoluteFilePath()));
    store.getGlobalStrings("037000");
    QCOMPARE(prompts->warnings.size(), 2);
    QVERIFY(prompts->warnings.at(1).text.contains("lang_037000.ini"));
}

void TestLanguages::stringCountBeyondBoundIsMalformed_data()
{
    QTest::addColumn<QByteArray>("total");
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("integrity");
    // A file of blank strings whose check value is right for R = 0.
    QTest::newRow("at the bound") << QByteArray::number(LanguageFile::kMaxStrings) << LanguageFile::kMaxStrings + 1 << true;
    QTest::newRow("one beyond") << QByteArray::number(LanguageFile::kMaxStrings + 1) << 1 << false;
    QTest::newRow("int max") << QByteArray("2147483647") << 1 << false;
    QTest::newRow("negative") << QByteArray("-1") << 1 << false;
}

void TestLanguages::stringCountBeyondBoundIsMalformed()
{
    QFETCH(QByteArray, total);
    QFETCH(int, entries);
    QFETCH(bool, integrity);
    writeFile(dir->filePath("lang_031000.ini"), "[font]\nfamily=F\ncs=7418700\ntotal=" + total + "\n");
    LanguageStore store(context, dir->path() + "/");
    const QStringList strings = store.getGlobalStrings("031000");
    QCOMPARE(strings.size(), entries);
    QCOMPARE(strings.at(0), QString("F"));
    QCOMPARE(bool(languageIntegrity), integrity);
    QCOMPARE(prompts->warnings.size(), integrity ? 0 : 1);
    QCOMPARE(context.msgStrings.size(), LanguageFile::kMessageCount);
}

void TestLanguages::menuPositionForLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("same language and country") << "zh_TW" << "CHINESE (Trad)";
    QTest::newRow("same language, any country") << "es_MX" << "SPANISH";
    QTest::newRow("same script") << "zh_MO" << "CHINESE (Trad)";
    QTest::newRow("not shipped") << "ko_KR" << "ENGLISH";
}

void TestLanguages::menuPositionForLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    LanguageStore store(context, shippedFolder());
    QCOMPARE(store.menuPositionFor(QLocale(locale)), store.chkLanguages().keys().indexOf(language));
    // Without English installed the first language stands in.
    writeFile(dir->filePath("lang_096000.ini"), "");
    writeFile(dir->filePath("lang_037000.ini"), "");
    QCOMPARE(LanguageStore(context, dir->path() + "/").menuPositionFor(QLocale("ko_KR")), 0);
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
