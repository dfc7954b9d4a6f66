// The autostart entry in a temporary configuration folder: where it goes, what it starts, how
// it is read back, and folders that cannot hold it.
#include "platform/Autostart.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

QMap<QString, QString> desktopEntryFields(const QString &path)
{
    QMap<QString, QString> fields;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fields;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0 && !line.startsWith('#'))
            fields.insert(line.left(equals), line.mid(equals + 1));
    }
    return fields;
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

}  // namespace

class TestAutostart : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theEntryGoesToTheConfigurationFolder_data();
    void theEntryGoesToTheConfigurationFolder();
    void theEntryStartsTheInstalledProgramInTheBackground();
    void theEntryNamesTheProgramItStarts_data();
    void theEntryNamesTheProgramItStarts();
    void aProgramThatCannotStartIsRefused_data();
    void aProgramThatCannotStartIsRefused();
    void switchingOffRemovesTheEntry();
    void readingBack_data();
    void readingBack();
    void refusals_data();
    void refusals();

private:
    QScopedPointer<QTemporaryDir> root;
    QString config;
};

void TestAutostart::init()
{
    root.reset(new QTemporaryDir);
    QVERIFY(root->isValid());
    config = root->filePath("config");
    qputenv("HOME", root->filePath("home").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
}

void TestAutostart::cleanup()
{
    // Let the temporary folder go even where a case took the owner's rights away.
    if (root)
        QFile::setPermissions(config + "/autostart", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    root.reset();
}

void TestAutostart::theEntryGoesToTheConfigurationFolder_data()
{
    // XDG_CONFIG_HOME as set (a leading "@" stands for the temporary folder), and where the
    // entry goes below the temporary folder.
    QTest::addColumn<QByteArray>("configHome");
    QTest::addColumn<bool>("unset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("the folder named, not there yet") << QByteArray("@/config") << false << "config/autostart/w3config.desktop";
    QTest::newRow("named with a trailing slash") << QByteArray("@/config/") << false << "config/autostart/w3config.desktop";
    QTest::newRow("unset") << QByteArray() << true << "home/.config/autostart/w3config.desktop";
    QTest::newRow("empty") << QByteArray() << false << "home/.config/autostart/w3config.desktop";
    QTest::newRow("a relative path is ignored") << QByteArray("config") << false << "home/.config/autostart/w3config.desktop";
}

void TestAutostart::theEntryGoesToTheConfigurationFolder()
{
    QFETCH(QByteArray, configHome);
    QFETCH(bool, unset);
    QFETCH(QString, expected);
    if (unset)
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", configHome.replace('@', root->path().toLocal8Bit()));
    const QString entry = root->filePath(expected);
    QCOMPARE(QDir::cleanPath(Autostart::entryPath()), entry);

    Autostart autostart;
    QSignalSpy changed(&autostart, &Autostart::enabledChanged);
    QVERIFY(!autostart.isEnabled());
    QVERIFY(autostart.setEnabled(true));
    QVERIFY(QFileInfo(entry).isFile());
    QVERIFY(autostart.isEnabled());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toBool(), true);
    // Nothing else is left beside it (no half-written copies).
    QCOMPARE(QDir(QFileInfo(entry).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"w3config.desktop"});
}

void TestAutostart::theEntryStartsTheInstalledProgramInTheBackground()
{
    Autostart autostart;
    QVERIFY(autostart.setEnabled(true));
    // Written again over itself: still one complete entry.
    QVERIFY(autostart.setEnabled(true));
    QMap<QString, QString> written = desktopEntryFields(Autostart::entryPath());
    const QMap<QString, QString> installed = desktopEntryFields(W3_INSTALLED_DESKTOP_ENTRY);
    QVERIFY(!installed.isEmpty());

    // The running program (here the test), not a fixed installation path.
    QCOMPARE(Autostart::runningProgram(), QCoreApplication::applicationFilePath());
    QCOMPARE(written.take("Exec"), QCoreApplication::applicationFilePath() + " --background");
    QCOMPARE(written.take("X-GNOME-Autostart-enabled"), QString("true"));
    QMap<QString, QString> others = installed;
    others.remove("Exec");
    QCOMPARE(written, others);
    QFile entry(Autostart::entryPath());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QCOMPARE(entry.readLine().trimmed(), QByteArray("[Desktop Entry]"));
}

// A program wherever it lives: the Exec line starts exactly it, quoted and escaped as the
// desktop entry rules ask (a backslash is written four times: once for the quoting, then once
// more as in any string value; "%" doubled, as it would be a field code).
void TestAutostart::theEntryNamesTheProgramItStarts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("exec");
    QTest::newRow("a plain path") << "w3config"
                                  << "@/w3config --background";
    QTest::newRow("a path with a space") << "my build/w3config"
                                         << "\"@/my build/w3config\" --background";
    QTest::newRow("quotes, dollar and backslash") << R"(it's "$HOME"\w3)"
                                                  << R"("@/it's \\"\\$HOME\\"\\\\w3" --background)";
    QTest::newRow("a percent sign") << "100%/w3config"
                                    << "@/100%%/w3config --background";
}

void TestAutostart::theEntryNamesTheProgramItStarts()
{
    QFETCH(QString, name);
    QFETCH(QString, exec);
    const QString program = root->filePath("programs/" + name);
    QVERIFY(writeFile(program, "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    Autostart autostart(program);
    QVERIFY(autostart.setEnabled(true));
    QCOMPARE(desktopEntryFields(Autostart::entryPath()).value("Exec"), exec.replace("@", root->filePath("programs")));
}

void TestAutostart::aProgramThatCannotStartIsRefused_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("executable");
    QTest::newRow("not executable") << "programs/w3config" << false;
    QTest::newRow("not there") << "programs/gone" << false;
    QTest::newRow("a folder") << "programs" << true;
    QTest::newRow("a control character in its path") << "programs/w3\nconfig" << true;
}

void TestAutostart::aProgramThatCannotStartIsRefused()
{
    QFETCH(QString, program);
    QFETCH(bool, executable);
    const QString path = root->filePath(program);
    if (program != "programs/gone")
        QVERIFY(QDir().mkpath(root->filePath("programs")) && (program == "programs" || writeFile(path, "#!/bin/sh\n")));
    if (executable && program != "programs")
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
    Autostart autostart(path);
    QSignalSpy failed(&autostart, &Autostart::failed);
    QVERIFY(!autostart.setEnabled(true));
    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.first().first().toString().contains(path));
    QVERIFY(!QFileInfo::exists(Autostart::entryPath()));
}

void TestAutostart::switchingOffRemovesTheEntry()
{
    Autostart autostart;
    QSignalSpy changed(&autostart, &Autostart::enabledChanged);
    QVERIFY(autostart.setEnabled(true));
    QVERIFY(autostart.setEnabled(false));
    QVERIFY(!QFileInfo::exists(Autostart::entryPath()));
    QVERIFY(!autostart.isEnabled());
    // Already off: nothing to do, nothing to tell.
    QVERIFY(autostart.setEnabled(false));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().toBool(), false);
}

void TestAutostart::readingBack_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("enabled");
    const QByteArray entry = "[Desktop Entry]\nType=Application\nName=W3 Config\nExec=w3config --background\n";
    QTest::newRow("an entry") << entry << true;
    QTest::newRow("hidden by the desktop's start-up settings") << entry + "Hidden=true\n" << false;
    QTest::newRow("switched off in GNOME") << entry + "X-GNOME-Autostart-enabled=false\n" << false;
    QTest::newRow("explicitly not hidden") << entry + "Hidden=false\n" << true;
    QTest::newRow("Hidden in another group") << entry + "[Desktop Action Quit]\nHidden=true\n" << true;
    QTest::newRow("starting nothing") << QByteArray("[Desktop Entry]\nType=Application\nExec=\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestAutostart::readingBack()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, enabled);
    QVERIFY(writeFile(Autostart::entryPath(), contents));
    Autostart autostart;
    QCOMPARE(autostart.isEnabled(), enabled);
    // Switching it on makes it start whatever the user's copy said.
    QVERIFY(autostart.setEnabled(true));
    QVERIFY(autostart.isEnabled());
}

void TestAutostart::refusals_data()
{
    QTest::addColumn<QString>("hostile");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("refused");
    QTest::newRow("the configuration folder is a file, switching on") << "config is a file" << true << true;
    // No entry can be there, so it is off already.
    QTest::newRow("the configuration folder is a file, switching off") << "config is a file" << false << false;
    QTest::newRow("a folder in the entry's place, switching on") << "entry is a folder" << true << true;
    QTest::newRow("a folder in the entry's place, switching off") << "entry is a folder" << false << true;
    QTest::newRow("the autostart folder read-only, switching on") << "read-only" << true << true;
    QTest::newRow("the autostart folder read-only, switching off") << "read-only" << false << true;
}

void TestAutostart::refusals()
{
    QFETCH(QString, hostile);
    QFETCH(bool, enable);
    QFETCH(bool, refused);
    const QString entry = Autostart::entryPath();
    const QString folder = QFileInfo(entry).path();
    if (hostile == "config is a file") {
        QVERIFY(writeFile(config, "not a folder"));
    } else if (hostile == "entry is a folder") {
        QVERIFY(QDir().mkpath(entry));
    } else {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        const QByteArray hidden = "[Desktop Entry]\nType=Application\nExec=w3config --background\nHidden=true\n";
        QVERIFY(writeFile(entry, hidden));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    const QFileInfo before(hostile == "config is a file" ? config : entry);
    const QDateTime changedBefore = before.lastModified();

    Autostart autostart;
    QSignalSpy failed(&autostart, &Autostart::failed);
    QSignalSpy changed(&autostart, &Autostart::enabledChanged);
    QCOMPARE(autostart.setEnabled(enable), !refused);
    QCOMPARE(failed.count(), refused ? 1 : 0);
    if (refused)
        QVERIFY(!failed.first().first().toString().isEmpty());
    QCOMPARE(changed.count(), 0);
    QVERIFY(!autostart.isEnabled());
    // What was there is left as it was.
    const QFileInfo after(before.filePath());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.lastModified(), changedBefore);
}

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
