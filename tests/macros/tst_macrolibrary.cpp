// The macro library's file effects, its defence against names that leave the folder, the
// import and export copies, and the macro images the senders put on the wire.
#include "controller/ControllerContext.h"
#include "controller/KeyNameTable.h"
#include "controller/MacroLibrary.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "tests/support/ProvenDevice.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace {

const QString kDown = "    [Down]";
const QString kDelay = "   [Delay]";
const QString kOverflowTitle = "MACRO";
const QString kOverflowText = "Out of memory,\nsome command line has been cut.";
constexpr int kMouseSlot = 128;
constexpr int kKeyboardSlot = 192;
constexpr int kIdleWaitMs = 2000;
const QString kTempDirMark = "<temp>";  // stands for the test's temporary folder in table rows
constexpr int kNoDeviceId = -2;         // table value: the file has no "config/did" at all
const QChar kReplacement(0xFFFD);

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

QStringList pressesOfA(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << "A" + kDown;
    return lines;
}

// Header, `records` presses of A, terminator, zeros up to the slot size.
QByteArray slotImage(int repeat, int records, int slot)
{
    QByteArray image;
    image.append(char(repeat >> 8)).append(char(repeat & 0xFF));
    for (int i = 0; i < records; ++i)
        image.append(char(0x01)).append(char(0x04));
    image.append(QByteArray(slot - image.size(), 0));
    return image;
}

// Prompts whose open dialog deletes a file while it is "open".
class DeletingPrompts : public RecordingPrompts {
public:
    QString victim;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        QFile::remove(victim);
        return RecordingPrompts::openFileName(parent, caption, dir, filter);
    }
};

// A virtual device on the bus behind a device object, as after a passed handshake.
class DeviceOnBus {
public:
    // Only position 1 of the catalogue is searched: the keyboard's entry goes there when the
    // keyboard is the device on the bus.
    explicit DeviceOnBus(vhid::Model model) : model(model)
    {
        QList<CatalogEntry> catalogue = testsupport::shippedCatalogue();
        if (model == vhid::Model::Keyboard)
            catalogue.swapItemsAt(0, 1);
        testsupport::plugProvenDevice(hid, model, catalogue);
    }
    ~DeviceOnBus() { hid.waitUntilIdle(kIdleWaitMs); }

    // Data reports written to the command interface, report IDs dropped.
    QByteArray writtenData() const
    {
        QByteArray data;
        for (const vhid::Record &record : vhid::Bus::instance().records()) {
            if (record.op == vhid::Op::Write && record.iface == vhid::Interface::Command)
                data.append(reinterpret_cast<const char *>(record.bytes.data()) + 1,
                            int(record.bytes.size()) - 1);
        }
        return data;
    }

    // What the device stores in macro slot id.
    QByteArray storedMacro(int id) const
    {
        std::vector<std::uint8_t> bytes;
        if (model == vhid::Model::Mouse)
            vhid::Bus::instance().withMouse([&](vhid::MouseMemory &m) { bytes = m.macros[id]; });
        else
            vhid::Bus::instance().withKeyboard([&](vhid::KeyboardMemory &m) { bytes = m.macros[id]; });
        return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
    }

    vhid::Model model;
    Hid_Thread hid;
};

}  // namespace

Q_DECLARE_METATYPE(MacroLibrary::NameProblem)

class TestMacroLibrary : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void createsFolderAndNumbersNames();
    void listsBinFilesIgnoringCase();
    void savesAndLoadsSteps();
    void configReadsUnboundForTheOtherDevice();
    void deletes();
    void renameNeverOverwrites();
    void hostileNamesStayInsideTheFolder_data();
    void hostileNamesStayInsideTheFolder();
    void exportsAndImportsCopies();
    void exportAddsTheExtensionAndSaysWhyAWriteFailed();
    void failedImportKeepsTheMacro();
    void importOntoMacroDeletedMeanwhileDoesNothing();
    void importRefusesWhatIsNotAMacro_data();
    void importRefusesWhatIsNotAMacro();
    void stepCountBeyondBoundIsMalformed_data();
    void stepCountBeyondBoundIsMalformed();
    void savingMoreStepsThanTheBoundIsRefused();
    void saveAfterAFormatErrorReportsTheWrite();
    void namesThatAreNotValidTextAreListed();
    void renameRefusesNamesThatWouldNotComeBack_data();
    void renameRefusesNamesThatWouldNotComeBack();
    void nameProblemSaysWhy_data();
    void nameProblemSaysWhy();

    void saveResendsBoundMacro_data();
    void saveResendsBoundMacro();
    void mouseImageLongerThanSlotIsCut();
    void keyboardImageLongerThanSlotIsCut_data();
    void keyboardImageLongerThanSlotIsCut();

private:
    QString macroFile(const QString &name) const { return folder + name + ".bin"; }
    QString created();

    std::unique_ptr<QTemporaryDir> dir;
    QString folder;
    ControllerContext context;
    KeyNameTable keys;
    std::unique_ptr<MacroLibrary> library;
    std::unique_ptr<RecordingPrompts> prompts;
};

void TestMacroLibrary::init()
{
    dir = std::make_unique<QTemporaryDir>();
    folder = dir->path() + "/macro/";
    context = ControllerContext();
    library = std::make_unique<MacroLibrary>(context, keys, folder);
    prompts = std::make_unique<RecordingPrompts>();
}

void TestMacroLibrary::cleanup()
{
    prompts.reset();
    library.reset();
    dir.reset();
}

QString TestMacroLibrary::created()
{
    return library->createMacroIni().toString();
}

void TestMacroLibrary::createsFolderAndNumbersNames()
{
    QVERIFY(!QDir(folder).exists());
    QCOMPARE(created(), QString("Macro. 001"));
    QSettings first(macroFile("Macro. 001"), QSettings::IniFormat);
    QCOMPARE(first.value("config/index").toInt(), -1);
    QCOMPARE(first.value("config/total").toInt(), 0);
    QCOMPARE(first.value("config/repeat").toInt(), 1);
    QCOMPARE(first.value("config/did").toInt(), -1);

    QVERIFY(QFile::copy(macroFile("Macro. 001"), macroFile("Macro. 003")));
    QCOMPARE(created(), QString("Macro. 002"));
    QCOMPARE(created(), QString("Macro. 004"));
}

void TestMacroLibrary::listsBinFilesIgnoringCase()
{
    QVERIFY(QDir().mkpath(folder));
    for (const char *name : {"b.bin", "A.bin", "C.bin", "x.txt", "d.BIN"})
        writeFile(folder + name, "[config]\n");
    QCOMPARE(library->getMacroIniNames(), (QStringList{"A.bin", "b.bin", "C.bin"}));
}

void TestMacroLibrary::savesAndLoadsSteps()
{
    const QStringList steps{"KP 7 " + kDown, "100" + kDelay, "A      [Up]"};
    QCOMPARE(library->saveMacroIni("Macro. 001", steps), QVariant(false));
    QVERIFY(!QFile::exists(macroFile("Macro. 001")));
    QCOMPARE(library->loadMacroIni("Macro. 001"), QStringList());

    const QString name = created();
    QCOMPARE(library->saveMacroIni(name, steps), QVariant(true));
    QCOMPARE(library->loadMacroIni(name), steps);

    QCOMPARE(library->saveMacroIni(name, {"B" + kDown}), QVariant(true));
    QCOMPARE(library->loadMacroIni(name), QStringList{"B" + kDown});
    QSettings file(macroFile(name), QSettings::IniFormat);
    QCOMPARE(file.value("config/total").toInt(), 1);
    QVERIFY(!file.contains("macro/1"));
}

void TestMacroLibrary::configReadsUnboundForTheOtherDevice()
{
    QCOMPARE(library->loadMacroIniConfig("Macro. 001"), QVariantList());
    library->setMacroIniConfig("Macro. 001", {3, 5});
    QVERIFY(!QFile::exists(macroFile("Macro. 001")));

    Hid_Thread mouse;  // no device scanned: every transfer fails quietly
    context.hidThread = &mouse;
    const QString name = created();
    library->setMacroIniConfig(name, {3, 5});
    QSettings file(macroFile(name), QSettings::IniFormat);
    QCOMPARE(file.value("config/did").toInt(), 1);
    const QVariantList config = library->loadMacroIniConfig(name);
    QCOMPARE(config.size(), 2);
    QCOMPARE(config.at(0).toInt(), 3);
    QCOMPARE(config.at(1).toInt(), 5);

    file.setValue("config/did", 0);
    file.sync();
    const QVariantList otherDevice = library->loadMacroIniConfig(name);
    QCOMPARE(otherDevice.at(0).toInt(), -1);
    QCOMPARE(otherDevice.at(1).toInt(), 5);

    context.hidThread = nullptr;
    library->setMacroIniConfig(name, {4, 1});
    QSettings again(macroFile(name), QSettings::IniFormat);
    QCOMPARE(again.value("config/did").toInt(), -1);
}

void TestMacroLibrary::deletes()
{
    QCOMPARE(library->deleteMacroIni("Macro. 001"), QVariant(false));
    const QString name = created();
    QCOMPARE(library->deleteMacroIni(name), QVariant(true));
    QVERIFY(!QFile::exists(macroFile(name)));
}

void TestMacroLibrary::renameNeverOverwrites()
{
    const QString first = created();
    const QString second = created();
    QVERIFY(library->saveMacroIni(first, {"A" + kDown}).toBool());
    const QByteArray firstBytes = contents(macroFile(first));
    const QByteArray secondBytes = contents(macroFile(second));

    library->renameMacroIniFile(first, second);
    QCOMPARE(contents(macroFile(first)), firstBytes);
    QCOMPARE(contents(macroFile(second)), secondBytes);

    library->renameMacroIniFile(first, "Jump");
    QVERIFY(!QFile::exists(macroFile(first)));
    QCOMPARE(contents(macroFile("Jump")), firstBytes);

    library->renameMacroIniFile("Gone", "Other");
    QVERIFY(!QFile::exists(macroFile("Other")));
}

void TestMacroLibrary::hostileNamesStayInsideTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("outside");  // the file such a name would reach, relative to the temp dir
    QTest::newRow("parent folder") << "../victim" << "victim.bin";
    QTest::newRow("absolute path") << kTempDirMark + "/victim" << "victim.bin";
    QTest::newRow("backslash") << "..\\victim" << "macro/..\\victim.bin";
    QTest::newRow("dot dot") << ".." << "macro/...bin";
    QTest::newRow("empty") << "" << "macro/.bin";
}

void TestMacroLibrary::hostileNamesStayInsideTheFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, outside);
    name.replace(kTempDirMark, dir->path());
    const QString keeper = created();
    const QString victim = dir->filePath(outside);
    const QByteArray original = contents(macroFile(keeper));
    writeFile(victim, original);
    writeFile(dir->filePath("picked.mc"), "[config]\ntotal=0\n");
    prompts->openAnswer = dir->filePath("picked.mc");
    prompts->saveAnswer = dir->filePath("exported.mc");

    QCOMPARE(library->loadMacroIni(name), QStringList());
    QCOMPARE(library->loadMacroIniConfig(name), QVariantList());
    QCOMPARE(library->saveMacroIni(name, {"A" + kDown}), QVariant(false));
    library->setMacroIniConfig(name, {1, 9});
    library->loadMacroIniFromFile(name, nullptr);
    library->saveMacroIniToFile(name, nullptr);
    library->renameMacroIniFile(name, "Renamed");
    library->renameMacroIniFile(keeper, name);
    QCOMPARE(library->deleteMacroIni(name), QVariant(false));

    QCOMPARE(contents(victim), original);
    QVERIFY(QFile::exists(macroFile(keeper)));
    QVERIFY(!QFile::exists(macroFile("Renamed")));
    QVERIFY(!QFile::exists(dir->filePath("exported.mc")));
    QCOMPARE(prompts->dialogs, QStringList());
}

void TestMacroLibrary::exportsAndImportsCopies()
{
    const QString name = created();
    QVERIFY(library->saveMacroIni(name, {"A" + kDown, "A      [Up]"}).toBool());
    const QString exported = dir->filePath("out.mc");
    const QByteArray olderExport = "an older export, longer than the macro file itself";
    writeFile(exported, olderExport);

    library->saveMacroIniToFile(name, nullptr);  // the user cancels
    QCOMPARE(prompts->dialogs, QStringList{"Save File Macro(*.mc)"});
    QCOMPARE(contents(exported), olderExport);
    prompts->saveAnswer = exported;
    library->saveMacroIniToFile(name, nullptr);
    QCOMPARE(contents(exported), contents(macroFile(name)));

    const QString picked = dir->filePath("picked.mc");
    writeFile(picked, "[config]\nindex=-1\ntotal=1\nrepeat=7\ndid=-1\n\n[macro]\n0=MS-L    [Down]\n");
    prompts->openAnswer = picked;
    library->loadMacroIniFromFile(name, nullptr);
    QCOMPARE(prompts->dialogs.last(), QString("Open File Macro(*.mc)"));
    QCOMPARE(contents(macroFile(name)), contents(picked));
    QCOMPARE(library->loadMacroIni(name), QStringList{"MS-L" + kDown});

    prompts->dialogs.clear();
    library->loadMacroIniFromFile("Missing", nullptr);
    library->saveMacroIniToFile("Missing", nullptr);
    QVERIFY(!QFile::exists(macroFile("Missing")));
    QCOMPARE(prompts->dialogs, QStringList());
}

void TestMacroLibrary::exportAddsTheExtensionAndSaysWhyAWriteFailed()
{
    const QString name = created();
    QVERIFY(library->saveMacroIni(name, {"A" + kDown}).toBool());

    prompts->saveAnswer = dir->filePath("typed");
    QCOMPARE(library->saveMacroIniToFile(name, nullptr), dir->filePath("typed.mc"));
    QCOMPARE(contents(dir->filePath("typed.mc")), contents(macroFile(name)));
    QVERIFY(!QFile::exists(dir->filePath("typed")));
    // The dialog offers the macro's name.
    QVERIFY(prompts->startPaths.last().endsWith("/" + name + ".mc"));

    prompts->saveAnswer = dir->filePath("no folder/typed.mc");
    QCOMPARE(library->saveMacroIniToFile(name, nullptr), QString());
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY(prompts->warnings.at(0).text.contains(prompts->saveAnswer));
    QVERIFY(prompts->warnings.at(0).text.contains("The folder does not exist."));
}

void TestMacroLibrary::failedImportKeepsTheMacro()
{
    const QString name = created();
    QVERIFY(library->saveMacroIni(name, {"A" + kDown}).toBool());
    const QByteArray before = contents(macroFile(name));
    prompts->openAnswer = dir->filePath("no such file.mc");
    library->loadMacroIniFromFile(name, nullptr);
    QCOMPARE(contents(macroFile(name)), before);
}

void TestMacroLibrary::importOntoMacroDeletedMeanwhileDoesNothing()
{
    DeletingPrompts deleting;  // installs itself over the fixture's prompts
    const QString name = created();
    deleting.victim = macroFile(name);
    writeFile(dir->filePath("picked.mc"), "[config]\ntotal=0\n");
    deleting.openAnswer = dir->filePath("picked.mc");
    library->loadMacroIniFromFile(name, nullptr);
    QCOMPARE(deleting.dialogs.size(), 1);
    QVERIFY(!QFile::exists(macroFile(name)));
}

void TestMacroLibrary::importRefusesWhatIsNotAMacro_data()
{
    QTest::addColumn<QString>("file");  // "<temp>/..." is written from `bytes`
    QTest::addColumn<QByteArray>("bytes");
    const QString made = kTempDirMark + "/picked.mc";
    QTest::newRow("missing file") << kTempDirMark + "/none.mc" << QByteArray();
    QTest::newRow("empty file") << made << QByteArray();
    QTest::newRow("random bytes") << made << QByteArray::fromHex("8f00ff13a7c4e2015d9b0c77");
    QTest::newRow("not a settings file") << made << QByteArray("[config\ntotal=1\n");
    QTest::newRow("step count beyond the bound") << made << QByteArray("[config]\ntotal=2147483647\n");
    QTest::newRow("step count not a number") << made << QByteArray("[config]\ntotal=many\n");
    QTest::newRow("far too large") << made << QByteArray("[config]\ntotal=0\n") + QByteArray(2 * 1024 * 1024, ';');
    QTest::newRow("endless device") << "/dev/zero" << QByteArray();
}

void TestMacroLibrary::importRefusesWhatIsNotAMacro()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    if (file.startsWith(kTempDirMark)) {
        file.replace(kTempDirMark, dir->path());
        if (!bytes.isEmpty() || file.endsWith("picked.mc"))
            writeFile(file, bytes);
    }
    const QString name = created();
    QVERIFY(library->saveMacroIni(name, {"A" + kDown}).toBool());
    const QByteArray before = contents(macroFile(name));
    prompts->openAnswer = file;
    library->loadMacroIniFromFile(name, nullptr);
    QCOMPARE(contents(macroFile(name)), before);
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY(prompts->warnings.at(0).text.contains(file));
}

void TestMacroLibrary::stepCountBeyondBoundIsMalformed_data()
{
    QTest::addColumn<QByteArray>("total");
    QTest::addColumn<int>("steps");  // -1: malformed
    QTest::newRow("at the bound") << QByteArray::number(MacroLibrary::kMaxSteps) << MacroLibrary::kMaxSteps;
    QTest::newRow("one beyond") << QByteArray::number(MacroLibrary::kMaxSteps + 1) << -1;
    QTest::newRow("int max") << QByteArray("2147483647") << -1;
    QTest::newRow("negative") << QByteArray("-3") << -1;
}

void TestMacroLibrary::stepCountBeyondBoundIsMalformed()
{
    QFETCH(QByteArray, total);
    QFETCH(int, steps);
    DeviceOnBus device(vhid::Model::Mouse);
    context.hidThread = &device.hid;
    const QString name = created();
    writeFile(macroFile(name), "[config]\nindex=0\ndid=1\nrepeat=1\ntotal=" + total + "\n");

    QCOMPARE(library->loadMacroIni(name).size(), std::max(steps, 0));
    library->ui_13H_SetMacroKey(1, name);
    QVERIFY(device.hid.waitUntilIdle(kIdleWaitMs));
    // A malformed macro never reaches the device, which keeps the macro it has.
    QCOMPARE(device.writtenData().isEmpty(), steps < 0);
}

void TestMacroLibrary::savingMoreStepsThanTheBoundIsRefused()
{
    const QString name = created();
    QVERIFY(library->saveMacroIni(name, {"A" + kDown}).toBool());
    const QByteArray before = contents(macroFile(name));
    QCOMPARE(library->saveMacroIni(name, pressesOfA(MacroLibrary::kMaxSteps + 1)), QVariant(false));
    QCOMPARE(contents(macroFile(name)), before);
    QCOMPARE(library->saveMacroIni(name, pressesOfA(MacroLibrary::kMaxSteps)), QVariant(true));
}

void TestMacroLibrary::saveAfterAFormatErrorReportsTheWrite()
{
    DeviceOnBus device(vhid::Model::Mouse);
    context.hidThread = &device.hid;
    const QString name = created();
    writeFile(macroFile(name), "[config]\nindex=0\ndid=1\nrepeat=1\ntotal=0\n[broken\n");

    QCOMPARE(library->saveMacroIni(name, pressesOfA(2)), QVariant(true));
    QCOMPARE(library->loadMacroIni(name), pressesOfA(2));
    QVERIFY(device.hid.waitUntilIdle(kIdleWaitMs));
    QCOMPARE(device.storedMacro(1).toHex(), slotImage(1, 2, kMouseSlot).toHex());
}

void TestMacroLibrary::namesThatAreNotValidTextAreListed()
{
    const QString plain = created();
    QVERIFY(library->saveMacroIni(plain, {"A" + kDown}).toBool());
    const QByteArray nativeFolder = QFile::encodeName(folder);
    // Two files whose names differ only in bytes that are not UTF-8, and one that already
    // holds the name they would decode to.
    const QByteArray first = nativeFolder + "Jump\xff.bin";
    const QByteArray second = nativeFolder + "Jump\xfe.bin";
    QVERIFY(QFile::copy(macroFile(plain), folder + "spare.bin"));
    QVERIFY(QFile::copy(macroFile(plain), folder + "other.bin"));
    QCOMPARE(std::rename(QFile::encodeName(folder + "spare.bin").constData(), first.constData()), 0);
    QCOMPARE(std::rename(QFile::encodeName(folder + "other.bin").constData(), second.constData()), 0);

    const QString decoded = QString("Jump") + kReplacement;
    QCOMPARE(library->getMacroIniNames(),
             (QStringList{"Jump" + QString(kReplacement) + " (2).bin", decoded + ".bin", plain + ".bin"}));
    for (const QString &name : {decoded, decoded + " (2)"}) {
        QCOMPARE(library->loadMacroIni(name), QStringList{"A" + kDown});
        QCOMPARE(library->deleteMacroIni(name), QVariant(true));
    }
    QCOMPARE(library->getMacroIniNames(), QStringList{plain + ".bin"});
}

void TestMacroLibrary::renameRefusesNamesThatWouldNotComeBack_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("tab") << "Jump\tRun" << false;
    QTest::newRow("line break") << "Jump\nRun" << false;
    QTest::newRow("delete character") << "Jump\x7f" << false;
    QTest::newRow("lone surrogate") << QString("Jump") + QChar(0xD800) << false;
    QTest::newRow("lone low surrogate") << QString("Jump") + QChar(0xDCFF) << false;
    QTest::newRow("right-to-left override") << QString::fromUtf8("Jump\u202Egnp.exe") << false;
    QTest::newRow("left-to-right isolate") << QString::fromUtf8("\u2066Jump") << false;
    QTest::newRow("zero-width space") << QString::fromUtf8("Ju\u200Bmp") << false;
    QTest::newRow("byte order mark inside") << QString::fromUtf8("Ju\uFEFFmp") << false;
    QTest::newRow("line separator") << QString::fromUtf8("Jump\u2028Run") << false;
    QTest::newRow("a single space") << " " << false;
    QTest::newRow("only spaces") << "   " << false;
    QTest::newRow("only no-break and ideographic spaces") << QString::fromUtf8("\u00A0\u3000") << false;
    QTest::newRow("a space between words") << "Jump Run" << true;
    QTest::newRow("right-to-left letters") << QString::fromUtf8("\u0645\u0627\u0643\u0631\u0648") << true;
    QTest::newRow("letters beyond ASCII") << QString::fromUtf8("Sprung über 宏") << true;
    QTest::newRow("beyond the BMP") << QString::fromUtf8("Jump \xF0\x9F\x98\x80") << true;
}

void TestMacroLibrary::renameRefusesNamesThatWouldNotComeBack()
{
    QFETCH(QString, newName);
    QFETCH(bool, accepted);
    const QString name = created();
    library->renameMacroIniFile(name, newName);
    QCOMPARE(QFile::exists(macroFile(name)), !accepted);
    QCOMPARE(library->getMacroIniNames(), QStringList{(accepted ? newName : name) + ".bin"});
}

// The one rule the window and w3ctl give a new name by, and its reason.
void TestMacroLibrary::nameProblemSaysWhy_data()
{
    using Problem = MacroLibrary::NameProblem;
    QTest::addColumn<QString>("newName");
    QTest::addColumn<Problem>("problem");
    QTest::newRow("free") << "Jump" << Problem::None;
    QTest::newRow("empty") << "" << Problem::Empty;
    QTest::newRow("blank") << "   " << Problem::Empty;
    QTest::newRow("taken") << "Taken" << Problem::Taken;
    QTest::newRow("a path") << "a/b" << Problem::NotAFileName;
    QTest::newRow("a Windows path") << "a\\b" << Problem::NotAFileName;
    QTest::newRow("parent folder") << ".." << Problem::NotAFileName;
    QTest::newRow("tab") << "Jump\tRun" << Problem::NotAFileName;
}

void TestMacroLibrary::nameProblemSaysWhy()
{
    QFETCH(QString, newName);
    QFETCH(MacroLibrary::NameProblem, problem);
    const QString name = created();
    library->renameMacroIniFile(created(), "Taken");
    QCOMPARE(library->nameProblem(newName), problem);
    library->renameMacroIniFile(name, newName);
    QCOMPARE(QFile::exists(macroFile(name)), problem != MacroLibrary::NameProblem::None);
}

void TestMacroLibrary::saveResendsBoundMacro_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("did");
    QTest::addColumn<int>("macroNumber");  // -1: nothing sent
    QTest::newRow("index 0 is macro 1") << 0 << 1 << 1;
    QTest::newRow("index 11 is macro 12") << 11 << 1 << 12;
    QTest::newRow("index 12 is beyond the mouse") << 12 << 1 << -1;
    QTest::newRow("unbound") << -1 << 1 << -1;
    QTest::newRow("bound on the keyboard") << 5 << 0 << -1;
    QTest::newRow("bound before device ids were stored") << 3 << kNoDeviceId << 4;
    QTest::newRow("bound without a device") << 4 << -1 << 5;
}

void TestMacroLibrary::saveResendsBoundMacro()
{
    QFETCH(int, index);
    QFETCH(int, did);
    QFETCH(int, macroNumber);
    DeviceOnBus device(vhid::Model::Mouse);
    context.hidThread = &device.hid;
    const QString name = created();
    {
        QSettings file(macroFile(name), QSettings::IniFormat);
        file.setValue("config/index", index);
        if (did == kNoDeviceId)
            file.remove("config/did");
        else
            file.setValue("config/did", did);
        file.setValue("config/repeat", 2);
    }

    QVERIFY(library->saveMacroIni(name, pressesOfA(3)).toBool());
    QVERIFY(device.hid.waitUntilIdle(kIdleWaitMs));
    if (macroNumber < 0) {
        QCOMPARE(device.writtenData(), QByteArray());
        return;
    }
    const QByteArray expected = slotImage(2, 3, kMouseSlot);
    QCOMPARE(device.storedMacro(macroNumber).toHex(), expected.toHex());
    QCOMPARE(device.writtenData().left(kMouseSlot).toHex(), expected.toHex());
}

void TestMacroLibrary::mouseImageLongerThanSlotIsCut()
{
    DeviceOnBus device(vhid::Model::Mouse);
    context.hidThread = &device.hid;
    const QString name = created();
    QVERIFY(library->saveMacroIni(name, pressesOfA(63)).toBool());  // 130 bytes encoded
    library->setMacroIniConfig(name, {2, 300});

    library->ui_13H_SetMacroKey(3, name);
    QVERIFY(device.hid.waitUntilIdle(kIdleWaitMs));
    QCOMPARE(prompts->warnings.size(), 1);
    QCOMPARE(prompts->warnings.first().title, kOverflowTitle);
    QCOMPARE(prompts->warnings.first().text, kOverflowText);
    // 62 whole records leave room for the terminator in the last two bytes.
    const QByteArray expected = slotImage(300, 62, kMouseSlot);
    QCOMPARE(device.storedMacro(3).toHex(), expected.toHex());
    QCOMPARE(device.writtenData().left(kMouseSlot).toHex(), expected.toHex());
}

void TestMacroLibrary::keyboardImageLongerThanSlotIsCut_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("language loaded")
        << QStringList{"MAKRO", "Speicher voll", "", "", "", ""} << "MAKRO" << "Speicher voll";
    QTest::newRow("no language yet") << QStringList() << kOverflowTitle << kOverflowText;
}

void TestMacroLibrary::keyboardImageLongerThanSlotIsCut()
{
    QFETCH(QStringList, messages);
    QFETCH(QString, title);
    QFETCH(QString, text);
    DeviceOnBus device(vhid::Model::Keyboard);
    context.hidThread = &device.hid;
    context.msgStrings = messages;
    const QString name = created();
    QVERIFY(library->saveMacroIni(name, pressesOfA(97)).toBool());  // 198 bytes encoded

    library->ui_11H_SetMacroKey(7, name);
    QVERIFY(device.hid.waitUntilIdle(kIdleWaitMs));
    QCOMPARE(prompts->warnings.size(), 1);
    QCOMPARE(prompts->warnings.first().title, title);
    QCOMPARE(prompts->warnings.first().text, text);
    const QByteArray expected = slotImage(1, 94, kKeyboardSlot);
    QCOMPARE(device.storedMacro(7).toHex(), expected.toHex());
    QCOMPARE(device.writtenData().left(kKeyboardSlot).toHex(), expected.toHex());
}

QTEST_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
