// The settings files under w3ctl-virtual run as a process and under the window's profile
// store: on a full disk every write ends with the old file intact or the new one complete and
// a failure is reported; every writer waits for the lock and reads afresh under it; a link in
// the data folder is replaced, never written through; a damaged state file is no write failure.
#include "controller/ProfileStore.h"
#include "platform/DeviceLock.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/TmpfsFolder.h"

#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QtTest>
#include <memory>

namespace {

constexpr int kFinishTimeoutMs = 60000;
constexpr qint64 kTmpfsBytes = 1024 * 1024;
const QString kSettingFolder = QStringLiteral("modules/setting");
const QString kMacroFolder = QStringLiteral("modules/macro");

// A valid profile that differs from every shipped one.
const QByteArray kImportedProfile = "[sensor]\nstage_W3=5\ndpi_W3=800, 1600, 2400, 3200, 4000, 4800, 5600, 6400\n";
const QByteArray kMacroFile = "[config]\nindex=-1\ntotal=1\nrepeat=1\ndid=-1\n\n[macro]\n0=30      Press\n";
const QByteArray kSettingsText = "[sensor]\nstage_W3=2\n";
const QByteArray kLinksText
    = "[follow]\nenabled=true\n\n[rule]\n1\\match=program\n1\\name=blender\n1\\profile=4\nsize=1\n";

using Snapshot = QMap<QString, QByteArray>;

// Every file below `folder` (the filler of a full disk left out) with its contents.
Snapshot snapshot(const QString &folder)
{
    Snapshot files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() == ".filler")
            continue;
        QFile file(path);
        files.insert(path.mid(folder.size()), file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
    }
    return files;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size() && file.flush();
}

// The value of one key as a fresh read of the file gives it.
QString stored(const QString &path, const QString &key)
{
    return QSettings(path, QSettings::IniFormat).value(key).toStringList().join(",");
}

}  // namespace

class TestW3ctlFiles : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aFullDiskKeepsEveryFileAndIsReported_data();
    void aFullDiskKeepsEveryFileAndIsReported();
    void allSaveOnAFullDiskKeepsTheProfileAndTellsTheUser();

    void everyWriterWaitsForTheLock_data();
    void everyWriterWaitsForTheLock();
    void aWriterReadsTheProfileAgainUnderTheLock();
    void aLockFileThatCannotBeOpenedIsNotABusyMouse();

    void aLinkInTheDataFolderIsReplacedNotWrittenThrough_data();
    void aLinkInTheDataFolderIsReplacedNotWrittenThrough();

    void theLinksFileIsWrittenThroughNoLink_data();
    void theLinksFileIsWrittenThroughNoLink();

    void aDamagedStateFileIsWrittenSound();

private:
    struct Run {
        int code = -1;
        QString err;
    };
    Run w3ctl(const QStringList &arguments);
    void start(QProcess &process, const QStringList &arguments);
    QString path(const QString &relative) const { return sandbox->path(relative); }

    std::unique_ptr<ModulesSandbox> sandbox;
    QString program;
    QString lockPath;
};

void TestW3ctlFiles::init()
{
    sandbox = std::make_unique<ModulesSandbox>();
    // The program works in the folder it lives in, so it gets a copy of its own.
    program = path("w3ctl-virtual");
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/w3ctl-virtual", program));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    lockPath = path("device.lock");
    QVERIFY(writeFile(path("import.pf"), kImportedProfile));
    QVERIFY(writeFile(path("import.mc"), kMacroFile));
    QVERIFY(writeFile(path(kMacroFolder + "/m1.bin"), kMacroFile));
}

void TestW3ctlFiles::cleanup()
{
    sandbox.reset();
}

void TestW3ctlFiles::start(QProcess &process, const QStringList &arguments)
{
    process.setWorkingDirectory(path(""));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("W3_DEVICE_LOCK", lockPath);
    environment.remove("W3CTL_DEBUG");
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
}

TestW3ctlFiles::Run TestW3ctlFiles::w3ctl(const QStringList &arguments)
{
    QProcess process;
    start(process, arguments);
    if (!process.waitForFinished(kFinishTimeoutMs))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

// --- A full disk ----------------------------------------------------------------------------

void TestW3ctlFiles::aFullDiskKeepsEveryFileAndIsReported_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<QString>("written");  // a file the command may complete, or "" for none
    // Settings objects need a page for their lock file besides the new file: with one page
    // free they fail; a copy needs only the page of its new file.
    const struct {
        const char *name;
        QStringList arguments;
        QString copyTarget;
    } commands[] = {
        {"dpi set", {"dpi", "set", "500,1000"}, ""},
        {"light", {"light", "breathing"}, ""},
        {"profile 2", {"profile", "2"}, ""},
        {"button", {"button", "3", "key:a"}, ""},
        {"button macro", {"button", "3", "macro:m1"}, ""},
        {"profile import", {"profile", "import", "3", "import.pf"}, "modules/setting/p3.bin"},
        {"profile reset", {"profile", "reset", "4"}, "modules/setting/p4.bin"},
        {"macro import", {"macro", "import", "import.mc", "m1"}, "modules/macro/m1.bin"},
        {"macro import, new name", {"macro", "import", "import.mc", "fresh"}, ""},
    };
    for (const auto &command : commands) {
        QTest::addRow("%s, no byte free", command.name) << command.arguments << qint64(0) << QString();
        QTest::addRow("%s, one page free", command.name) << command.arguments << TmpfsFolder::kPage
                                                          << command.copyTarget;
    }
}

void TestW3ctlFiles::aFullDiskKeepsEveryFileAndIsReported()
{
    QFETCH(QStringList, arguments);
    QFETCH(qint64, freeBytes);
    QFETCH(QString, written);
    QVERIFY(writeFile(path(kMacroFolder + "/m1.bin"), "[config]\nindex=-1\ntotal=0\nrepeat=1\ndid=-1\n"));
    TmpfsFolder settings(path(kSettingFolder), kTmpfsBytes);
    if (!settings.skipReason().isEmpty())
        QSKIP(qPrintable(settings.skipReason()));
    TmpfsFolder macros(path(kMacroFolder), kTmpfsBytes);
    QVERIFY2(macros.skipReason().isEmpty(), qPrintable(macros.skipReason()));
    QVERIFY(settings.fillLeaving(freeBytes));
    QVERIFY(macros.fillLeaving(freeBytes));
    const Snapshot before = snapshot(path("modules"));

    const Run run = w3ctl(arguments);

    Snapshot expected = before;
    if (!written.isEmpty()) {
        QCOMPARE(run.code, 0);
        const QString source = path(written.startsWith(kMacroFolder) ? "import.mc"
                                    : written.endsWith("p4.bin")     ? kSettingFolder + "/pD.bin"
                                                                     : "import.pf");
        expected["/" + written.mid(QString("modules/").size())] = contents(source);
    } else {
        QCOMPARE(run.code, 3);
        QVERIFY2(run.err.contains("is full") && !run.err.contains("by this user"), qPrintable(run.err));
        QCOMPARE(run.err.count('\n'), 1);
    }
    // No file emptied, cut or left behind.
    QCOMPARE(snapshot(path("modules")), expected);
}

void TestW3ctlFiles::allSaveOnAFullDiskKeepsTheProfileAndTellsTheUser()
{
    TmpfsFolder settings(path(kSettingFolder), kTmpfsBytes);
    if (!settings.skipReason().isEmpty())
        QSKIP(qPrintable(settings.skipReason()));
    const QString profile = path(kSettingFolder + "/p1.bin");
    const QByteArray before = contents(profile);
    RecordingPrompts prompts;
    ProfileStore profiles(path(kSettingFolder) + "/");
    QVERIFY(settings.fillLeaving(TmpfsFolder::kPage));

    // ALL SAVE: every page stores its values in the profile, written from the event loop.
    profiles.current().setValue("sensor/stage_W3", 4);
    profiles.current().setValue("sensor/dpi_W3", QVariantList{400, 800, 1600});
    profiles.current().setValue("color_W3/ledEffect", QVariantList{1, 2, 3, 4});
    QTRY_COMPARE(prompts.warnings.size(), 1);
    QVERIFY2(prompts.warnings.at(0).text.contains("is full"), qPrintable(prompts.warnings.at(0).text));
    QCOMPARE(contents(profile), before);

    // The next write, with room again, merges into the whole profile, not into an empty file.
    QVERIFY(QFile::remove(path(kSettingFolder + "/.filler")));
    profiles.current().setValue("sensor/stage_W3", 3);
    QVERIFY(profiles.flush());
    QSettings written(profile, QSettings::IniFormat);
    QCOMPARE(written.value("sensor/stage_W3").toInt(), 3);
    QVERIFY(before.contains("keydefine_W3"));
    QCOMPARE(written.value("keydefine_W3/0").toStringList().size(), 4);
}

// --- The lock ---------------------------------------------------------------------------------

void TestW3ctlFiles::everyWriterWaitsForTheLock_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("text");  // what the file holds before
    const QString profile = kSettingFolder + "/p1.bin";
    QTest::newRow("profile import") << QStringList {"profile", "import", "1", "import.pf"} << profile << kSettingsText;
    QTest::newRow("profile reset") << QStringList {"profile", "reset", "1"} << profile << kSettingsText;
    QTest::newRow("macro import") << QStringList {"macro", "import", "import.mc", "m1"} << kMacroFolder + "/m1.bin"
                                  << kSettingsText;
    QTest::newRow("app link") << QStringList {"app", "link", "1", "--class", "steam"}
                              << kSettingFolder + "/appRules.ini" << kLinksText;
}

void TestW3ctlFiles::everyWriterWaitsForTheLock()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(QByteArray, text);
    QVERIFY(writeFile(path(file), text));
    const QByteArray before = contents(path(file));
    DeviceLock window(lockPath);
    QVERIFY(window.tryLock());

    QProcess process;
    start(process, QStringList{"--wait", "30"} + arguments);
    QVERIFY(process.waitForStarted());
    // The command's own waiting shows in the file: untouched until the lock is given back.
    QVERIFY(!process.waitForFinished(1500));
    QCOMPARE(contents(path(file)), before);
    window.unlock();
    QVERIFY(process.waitForFinished(kFinishTimeoutMs));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(contents(path(file)) != before);
}

void TestW3ctlFiles::aWriterReadsTheProfileAgainUnderTheLock()
{
    const QString profile = path(kSettingFolder + "/p1.bin");
    DeviceLock window(lockPath);
    QVERIFY(window.tryLock());
    QProcess process;
    start(process, {"--wait", "30", "button", "2", "key:a"});
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500));  // waiting for the lock
    // Meanwhile the holder gives button 1 another function.
    QSettings holder(profile, QSettings::IniFormat);
    const QString changed = "1,0,241,0";
    QVERIFY(stored(profile, "keydefine_W3/0") != changed);
    holder.setValue("keydefine_W3/0", changed.split(','));
    holder.sync();
    QCOMPARE(stored(profile, "keydefine_W3/0"), changed);
    window.unlock();

    QVERIFY(process.waitForFinished(kFinishTimeoutMs));
    QCOMPARE(process.exitCode(), 0);
    // The command's key matrix is built on the holder's change, which stays.
    QCOMPARE(stored(profile, "keydefine_W3/0"), changed);
}

void TestW3ctlFiles::aLockFileThatCannotBeOpenedIsNotABusyMouse()
{
    lockPath = path("no-such-folder/device.lock");
    QElapsedTimer clock;
    clock.start();
    const Run run = w3ctl({"--wait", "30", "rate", "1000"});
    QCOMPARE(run.code, 3);
    QVERIFY2(run.err.startsWith("w3ctl: cannot open the lock file " + lockPath), qPrintable(run.err));
    QVERIFY2(!run.err.contains("busy"), qPrintable(run.err));
    // No waiting for a lock that no other program holds.
    QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
}

// --- Links ------------------------------------------------------------------------------------

void TestW3ctlFiles::aLinkInTheDataFolderIsReplacedNotWrittenThrough_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("link");
    const QString p1 = kSettingFolder + "/p1.bin";
    QTest::newRow("dpi set") << QStringList{"dpi", "set", "500,1000"} << p1;
    QTest::newRow("button") << QStringList{"button", "3", "key:a"} << p1;
    QTest::newRow("profile reset") << QStringList{"profile", "reset", "1"} << p1;
    QTest::newRow("profile import") << QStringList{"profile", "import", "1", "import.pf"} << p1;
    QTest::newRow("profile N") << QStringList{"profile", "2"} << kSettingFolder + "/w3ctl.ini";
    QTest::newRow("button macro") << QStringList{"button", "3", "macro:m1"} << kMacroFolder + "/m1.bin";
    QTest::newRow("macro import") << QStringList{"macro", "import", "import.mc", "m1"} << kMacroFolder + "/m1.bin";
}

void TestW3ctlFiles::aLinkInTheDataFolderIsReplacedNotWrittenThrough()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, link);
    // The outside file holds what the link stood for, so the command finds a sound file.
    const QString outside = path("outside.bin");
    const QByteArray shown = contents(path(link)) + "\n[outside]\nmark=1\n";
    QVERIFY(writeFile(outside, shown));
    QFile::remove(path(link));
    QVERIFY(QFile::link(outside, path(link)));

    const Run run = w3ctl(arguments);
    QCOMPARE(run.code, 0);
    QCOMPARE(contents(outside), shown);
    QVERIFY(!QFileInfo(path(link)).isSymLink());
    QVERIFY(contents(path(link)) != shown);
}

// The links file is written as a file of its own and never through a link, which stays: the
// change is refused, saying why, and nothing it says is unchanged has changed.
void TestW3ctlFiles::theLinksFileIsWrittenThroughNoLink_data()
{
    QTest::addColumn<QString>("target");  // empty: a link to itself
    QTest::addColumn<QByteArray>("held");  // what the target holds; empty: no target
    QTest::newRow("dangling") << "outside/appRules.ini" << QByteArray();
    QTest::newRow("loop") << "" << QByteArray();
    QTest::newRow("to a sound file") << "outside/appRules.ini" << kLinksText;
}

void TestW3ctlFiles::theLinksFileIsWrittenThroughNoLink()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, held);
    const QString links = path(kSettingFolder + "/appRules.ini");
    const QString pointed = target.isEmpty() ? links : path(target);
    QVERIFY(QDir(path(".")).mkpath("outside"));
    QFile::remove(pointed);
    if (!held.isEmpty())
        QVERIFY(writeFile(pointed, held));
    QFile::remove(links);
    QVERIFY(QFile::link(pointed, links));

    for (const QStringList &arguments :
        {QStringList {"app", "link", "1", "--class", "steam"}, QStringList {"app", "off"}}) {
        const Run run = w3ctl(arguments);
        QCOMPARE(run.code, 3);
        QVERIFY2(run.err.contains("(it is a symbolic link"), qPrintable(run.err));
        QVERIFY(QFileInfo(links).isSymLink());
        QCOMPARE(QFileInfo::exists(pointed), !held.isEmpty());
        QCOMPARE(contents(pointed), held);
    }
}

// --- A damaged state file ---------------------------------------------------------------------

void TestW3ctlFiles::aDamagedStateFileIsWrittenSound()
{
    const QString state = path(kSettingFolder + "/w3ctl.ini");
    // Bytes that are no settings text, as a crash while writing can leave them.
    QVERIFY(writeFile(state, QByteArray("\x00\x01\xff[[[\n", 7)));

    const Run run = w3ctl({"profile", "2"});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.err, QString());
    QSettings written(state, QSettings::IniFormat);
    QCOMPARE(written.status(), QSettings::NoError);
    QCOMPARE(written.value("profile/current").toInt(), 1);
}

QTEST_GUILESS_MAIN(TestW3ctlFiles)
#include "test_w3ctl_files.moc"
