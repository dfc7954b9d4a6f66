// Reading the device catalogue: hexadecimal and decimal keys, defaults, names.
#include "device/Catalogue.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// A catalogue of two sections with these lines in section 1.
QString twoSections(const QString &section1Lines)
{
    return "[common]\ntotal=2\nisEncode=true\n"
           "[0]\ntype=0\nvid=1209\npid=0007\nusagePage=ff01\nusage=0001\nusagePage2=ff02\nusage2=0001\n"
           "reportLength=64\n"
           "[1]\n" + section1Lines;
}

}  // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir.isValid()); }
    void readsSection1Field_data();
    void readsSection1Field();
    void unusableReportLengthIsRefused_data();
    void unusableReportLengthIsRefused();
    void readsTheCompiledCatalogue();
    void zeroTotalStillReadsIsEncode();
    void sectionsBeyondTotalAreIgnored();
    void missingProductNameGivesEmptyName();
    void missingFileGivesEmptyCatalogue();

private:
    Catalogue read(const QString &text, const QStringList &names = {"Keyboard", "W3 Mouse"});
    QTemporaryDir dir;
    int files = 0;
};

Catalogue TestCatalogue::read(const QString &text, const QStringList &names)
{
    const QString path = dir.filePath(QString("DevInfo%1.ini").arg(++files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text.toUtf8());
    file.close();
    return readCatalogue(path, names);
}

void TestCatalogue::readsSection1Field_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("field");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("usage page ff00 is hexadecimal") << "usagePage=ff00\n" << "usagePage" << qint64(0xFF00);
    QTest::newRow("upper-case hex") << "usagePage=FF01\n" << "usagePage" << qint64(0xFF01);
    QTest::newRow("usage 0001 in base 16") << "usage=0001\n" << "usage" << qint64(1);
    QTest::newRow("usage 0010 in base 16, not 10") << "usage=0010\n" << "usage" << qint64(16);
    QTest::newRow("report length 32 is decimal") << "reportLength=32\n" << "reportLength" << qint64(32);
    QTest::newRow("vid keeps the low 16 bits") << "vid=12345678\n" << "vid" << qint64(0x5678);
    QTest::newRow("pid that does not convert is 0") << "pid=xyz\n" << "pid" << qint64(0);
    QTest::newRow("empty usage2 is 0") << "usage2=\n" << "usage2" << qint64(0);
    QTest::newRow("type is hexadecimal") << "type=1\n" << "type" << qint64(1);
    QTest::newRow("hex id is an int: negative keeps its low bits") << "vid=-1\n" << "vid" << qint64(0xFFFF);
    QTest::newRow("hex id beyond the int range is 0") << "pid=80000000\n" << "pid" << qint64(0);
    QTest::newRow("report length 1") << "reportLength=1\n" << "reportLength" << qint64(1);
    QTest::newRow("report length 4096") << "reportLength=4096\n" << "reportLength" << qint64(4096);
    QTest::newRow("missing type is -1") << "vid=1209\n" << "type" << qint64(-1);
}

void TestCatalogue::readsSection1Field()
{
    QFETCH(QString, lines);
    QFETCH(QString, field);
    QFETCH(qint64, expected);
    const Catalogue catalogue = read(twoSections(lines));
    QCOMPARE(catalogue.entries.size(), 2);
    const CatalogEntry &entry = catalogue.entries.at(1);
    const QMap<QString, qint64> fields = {
        {"type", entry.type},       {"vid", entry.vid},     {"pid", entry.pid},
        {"usagePage", entry.usagePage}, {"usage", entry.usage}, {"usagePage2", entry.usagePage2},
        {"usage2", entry.usage2},   {"reportLength", entry.reportLength}};
    QVERIFY(fields.contains(field));
    QCOMPARE(fields.value(field), expected);
}

// A length that no report can have is refused with a debug line; the section keeps its
// position, which is its device id, with a length the scan never searches for.
void TestCatalogue::unusableReportLengthIsRefused_data()
{
    QTest::addColumn<QString>("length");
    QTest::newRow("missing") << QString();
    QTest::newRow("0") << "0";
    QTest::newRow("4097") << "4097";
    QTest::newRow("above the int range") << "3000000000";
    QTest::newRow("above the unsigned range") << "5000000000";
    QTest::newRow("negative") << "-32";
    QTest::newRow("hexadecimal") << "0x20";
}

void TestCatalogue::unusableReportLengthIsRefused()
{
    QFETCH(QString, length);
    const QString line = length.isNull() ? QString() : "reportLength=" + length + "\n";
    const QString shown = length.isNull() ? "0" : length;
    QTest::ignoreMessage(QtDebugMsg, qPrintable("Catalogue section 1 ignored: report length " + shown + " is not 1 to 4096"));
    const Catalogue catalogue = read(twoSections("vid=1209\n" + line));
    QCOMPARE(catalogue.entries.size(), 2);
    QCOMPARE(catalogue.entries.at(1).reportLength, 0u);
    QVERIFY(!catalogue.entries.at(1).hasUsableReportLength());
    QCOMPARE(catalogue.entries.at(1).vid, std::uint16_t(0x1209));
    QCOMPARE(catalogue.entries.at(0).reportLength, 64u);
}

void TestCatalogue::readsTheCompiledCatalogue()
{
    const Catalogue catalogue = read(twoSections("type=1\nvid=1209\npid=0008\nusagePage=ff00\nusage=ff00\n"
                                                 "usagePage2=ff01\nusage2=ff01\nreportLength=32\n"));
    QVERIFY(catalogue.isEncode);
    QCOMPARE(catalogue.entries.size(), 2);
    const CatalogEntry &mouse = catalogue.entries.at(1);
    QCOMPARE(mouse.name, QString("W3 Mouse"));
    QCOMPARE(mouse.commandUsageKey(), 0xFF00FF00u);
    QCOMPARE(mouse.eventUsageKey(), 0xFF01FF01u);
    const CatalogEntry &keyboard = catalogue.entries.at(0);
    QCOMPARE(keyboard.commandUsageKey(), 0x0001FF01u);  // usage page low, usage high
    QCOMPARE(keyboard.reportLength, 64u);
}

void TestCatalogue::zeroTotalStillReadsIsEncode()
{
    const Catalogue catalogue = read("[common]\ntotal=0\nisEncode=true\n[0]\nvid=1209\n");
    QVERIFY(catalogue.entries.isEmpty());
    QVERIFY(catalogue.isEncode);
}

void TestCatalogue::sectionsBeyondTotalAreIgnored()
{
    const Catalogue catalogue = read("[common]\ntotal=1\n[0]\nvid=1\n[1]\nvid=2\n");
    QCOMPARE(catalogue.entries.size(), 1);
    QVERIFY(!catalogue.isEncode);  // absent: false
}

void TestCatalogue::missingProductNameGivesEmptyName()
{
    const Catalogue catalogue = read(twoSections("vid=1209\n"), {"Keyboard"});
    QCOMPARE(catalogue.entries.size(), 2);
    QCOMPARE(catalogue.entries.at(0).name, QString("Keyboard"));
    QVERIFY(catalogue.entries.at(1).name.isEmpty());
}

void TestCatalogue::missingFileGivesEmptyCatalogue()
{
    const Catalogue catalogue = readCatalogue(dir.filePath("absent.ini"), {"Keyboard"});
    QVERIFY(catalogue.entries.isEmpty());
    QVERIFY(!catalogue.isEncode);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
