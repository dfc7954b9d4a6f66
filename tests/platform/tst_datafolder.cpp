// The data folder: in place when the program folder is writable, otherwise a per-user copy
// that is seeded once and then follows new factory files without touching the user's own.
#include "platform/DataFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A digest of every file below a folder, to prove a tree was left untouched.
QByteArray treeDigest(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &file : files)
        hash.addData(file.toUtf8() + readFile(file));
    return hash.result();
}

}  // namespace

class TestDataFolder : public QObject {
    Q_OBJECT

    QTemporaryDir program;  // the installed tree, with its factory modules/
    QTemporaryDir home;     // XDG_DATA_HOME
    QString factory() const { return program.path() + "/modules"; }
    QString user() const { return home.path() + "/w3config/modules"; }

    QString sync()
    {
        QString error;
        if (!DataFolder::syncFactoryFiles(factory(), user(), &error))
            return error;
        return {};
    }

private slots:
    void init()
    {
        QDir(program.path()).removeRecursively();
        QDir(home.path()).removeRecursively();
        writeFile(factory() + "/setting/apConfig.bin", "factory config");
        writeFile(factory() + "/setting/p1.bin", "factory profile 1");
        writeFile(factory() + "/setting/pD.bin", "factory default profile");
        writeFile(factory() + "/i18n/lang_031000.ini", "english");
        QVERIFY(QDir().mkpath(factory() + "/macro"));
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
    }

    void userFolderFollowsXdgDataHome_data()
    {
        QTest::addColumn<QByteArray>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("set") << QByteArray("/srv/data") << QString("/srv/data/w3config");
        QTest::newRow("unset") << QByteArray() << QDir::homePath() + "/.local/share/w3config";
        QTest::newRow("relative is ignored") << QByteArray("data") << QDir::homePath() + "/.local/share/w3config";
    }
    void userFolderFollowsXdgDataHome()
    {
        QFETCH(QByteArray, xdgDataHome);
        QFETCH(QString, expected);
        if (xdgDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", xdgDataHome);
        QCOMPARE(DataFolder::userFolder(), expected);
    }

    void aWritableProgramFolderIsUsedInPlace()
    {
        QCOMPARE(DataFolder::choose(program.path()), program.path());
        QVERIFY(!QFileInfo::exists(user()));
    }

    void aReadOnlyProgramFolderSeedsTheUserFolderAndStaysUntouched()
    {
        const QByteArray before = treeDigest(program.path());
        const QString folder = DataFolder::choose(program.path(), [](const QString &) { return false; });
        QCOMPARE(folder, home.path() + "/w3config");
        QCOMPARE(readFile(user() + "/setting/p1.bin"), QByteArray("factory profile 1"));
        QCOMPARE(readFile(user() + "/i18n/lang_031000.ini"), QByteArray("english"));
        QVERIFY(QFileInfo(user() + "/macro").isDir());
        QCOMPARE(treeDigest(program.path()), before);
    }

    // A later version of the program: the factory gains a language and changes two files.
    void aNewerFactoryAddsNewFilesAndKeepsTheUsersChanges()
    {
        QCOMPARE(sync(), QString());
        writeFile(user() + "/setting/p1.bin", "the user's profile 1");
        writeFile(user() + "/macro/mine.bin", "the user's macro");

        writeFile(factory() + "/i18n/lang_059000.ini", "japanese");
        writeFile(factory() + "/setting/p1.bin", "new factory profile 1");
        writeFile(factory() + "/setting/pD.bin", "new factory default profile");
        QCOMPARE(sync(), QString());

        QCOMPARE(readFile(user() + "/i18n/lang_059000.ini"), QByteArray("japanese"));
        QCOMPARE(readFile(user() + "/setting/p1.bin"), QByteArray("the user's profile 1"));
        QCOMPARE(readFile(user() + "/setting/pD.bin"), QByteArray("new factory default profile"));
        QCOMPARE(readFile(user() + "/macro/mine.bin"), QByteArray("the user's macro"));
    }

    void aFileTheUserDeletedIsNotBroughtBack()
    {
        QCOMPARE(sync(), QString());
        QVERIFY(QFile::remove(user() + "/i18n/lang_031000.ini"));
        QCOMPARE(sync(), QString());
        QVERIFY(!QFileInfo::exists(user() + "/i18n/lang_031000.ini"));
    }

    // Without a manifest (a folder from before it existed) nothing of unknown origin is replaced.
    void filesOfUnknownOriginAreNeverReplaced()
    {
        writeFile(user() + "/setting/p1.bin", "a profile from elsewhere");
        QCOMPARE(sync(), QString());
        writeFile(factory() + "/setting/p1.bin", "new factory profile 1");
        QCOMPARE(sync(), QString());
        QCOMPARE(readFile(user() + "/setting/p1.bin"), QByteArray("a profile from elsewhere"));
    }

    void anUnwritableUserFolderFallsBackToTheProgramFolder()
    {
        // A plain file where the data folder should be: no user can create folders below it.
        writeFile(home.path() + "/w3config", "not a folder");
        const QString folder = DataFolder::choose(program.path(), [](const QString &) { return false; });
        QCOMPARE(folder, program.path());
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
