// The rules linking profiles to applications: reading a file written by hand or by anyone,
// writing it back, which profile an application wants, and the follower's dwell on a clock
// the test moves.
#include "controller/ApplicationFollower.h"
#include "controller/ApplicationRules.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Activations at given times (ms) on the test's clock.
using Activations = QVector<QPair<qint64, QString>>;

Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(Activations)

namespace {

ApplicationIdentity app(const QString &id, const QString &windowClass, const QString &program)
{
    return ApplicationIdentity{id, windowClass, program, 0};
}

}  // namespace

class TestApplicationRules : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    static ApplicationRules fiveLinks()
    {
        ApplicationRules rules;
        rules.setEnabled(true);
        rules.setDefaultProfile(3);
        const QStringList names {"steam", "org.gnome.Gedit", "blender", "Gimp-2.10", "lead trail"};
        const ApplicationMatch matches[] = {ApplicationMatch::WindowClass, ApplicationMatch::ApplicationId,
            ApplicationMatch::ProgramName, ApplicationMatch::WindowClass, ApplicationMatch::ApplicationId};
        for (int i = 0; i < names.size(); ++i)
            rules.addRule({matches[i], names.at(i), i});
        return rules;
    }
    QString path() const { return dir.filePath("appRules.ini"); }
    QByteArray fileBytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeFile(const QByteArray &contents)
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(contents), qint64(contents.size()));
    }

private slots:
    void init() { QFile::remove(path()); }

    void readsFiles_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("ruleCount");

        const QByteArray head = "[follow]\nenabled=true\ndefault=0\n";
        const QByteArray none = "[rule]\nsize=0\n";
        QTest::newRow("two rules") << head + "[rule]\nsize=2\n1\\match=appId\n1\\name=firefox\n1\\profile=3\n"
                                             "2\\match=windowClass\n2\\name=Steam\n2\\profile=9\n" << true << 2;
        QTest::newRow("no rules") << head + none << true << 0;
        QTest::newRow("blanks, comments and line ends of a hand")
            << QByteArray("; links\r\n[follow]\r\n enabled = false \r\n\r\n[rule]\r\nsize=1\r\n1\\match=program\r\n"
                          "1\\name = \"a, b\" ; the name\r\n1\\profile=2")
            << true << 1;
        QTest::newRow("switch not a switch") << "[follow]\nenabled=maybe\n" + none << false << 0;
        QTest::newRow("default beyond the profiles") << "[follow]\nenabled=true\ndefault=10\n" + none << false << 0;
        QTest::newRow("negative default") << "[follow]\nenabled=true\ndefault=-1\n" + none << false << 0;
        QTest::newRow("count beyond bound") << head + "[rule]\nsize=65\n" << false << 0;
        QTest::newRow("count not a number") << head + "[rule]\nsize=lots\n" << false << 0;
        QTest::newRow("count claims more than held") << head + "[rule]\nsize=2\n1\\match=appId\n1\\name=a\n1\\profile=1\n" << false << 0;
        QTest::newRow("unknown match") << head + "[rule]\nsize=1\n1\\match=title\n1\\name=a\n1\\profile=1\n" << false << 0;
        QTest::newRow("empty name") << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=\n1\\profile=1\n" << false << 0;
        QTest::newRow("name too long") << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=" + QByteArray(256, 'a') + "\n1\\profile=1\n" << false << 0;
        QTest::newRow("escape in a name") << head + "[rule]\nsize=1\n1\\match=windowClass\n1\\name=\"a\\x1b[2Jb\"\n1\\profile=1\n" << false << 0;
        QTest::newRow("blanks around a name")
            << head + "[rule]\nsize=1\n1\\match=windowClass\n1\\name=\" a \"\n1\\profile=1\n"
            << false << 0;
        QTest::newRow("program with folder") << head + "[rule]\nsize=1\n1\\match=program\n1\\name=/usr/bin/a\n1\\profile=1\n" << false << 0;
        QTest::newRow("program named ..") << head + "[rule]\nsize=1\n1\\match=program\n1\\name=..\n1\\profile=1\n"
                                          << false << 0;
        QTest::newRow("program named .") << head + "[rule]\nsize=1\n1\\match=program\n1\\name=.\n1\\profile=1\n"
                                         << false << 0;
        QTest::newRow("profile beyond") << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=a\n1\\profile=12\n" << false << 0;
        QTest::newRow("file too large") << head + QByteArray(ApplicationRules::kMaxFileBytes, '#') << false << 0;
        QTest::newRow("binary bytes") << QByteArray("\x00\xff[\x01=\x02\n", 7) << false << 0;
        QTest::newRow("name as a list") << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=a, b\n1\\profile=1\n"
                                        << false << 0;
        QTest::newRow("name of a typed value")
            << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=@ByteArray(a)\n1\\profile=1\n"
            << false << 0;
        QTest::newRow("unknown key") << head + none + "colour=red\n" << false << 0;
        QTest::newRow("unknown section") << head + none + "[window]\nx=1\n" << false << 0;
        QTest::newRow("key given twice") << head + "enabled=false\n" + none << false << 0;
    }
    void readsFiles()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, accepted);
        QFETCH(int, ruleCount);
        writeFile(contents);

        const ApplicationRules rules = ApplicationRules::read(path());
        QCOMPARE(rules.status() == ApplicationRules::ReadStatus::Read, accepted);
        QCOMPARE(rules.rules().size(), ruleCount);
        if (!accepted) {
            QVERIFY(!rules.reason().isEmpty());
            QVERIFY(!rules.enabled());
            QCOMPARE(rules.profileFor(app("firefox", "Steam", "a")), std::optional<int>());
        }
        // Reading never touches the file.
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), contents);
    }

    // A file the program wrote, damaged as a crash, a full disk or a hand can leave it: never
    // read as fewer links, so nothing rewrites it with them.
    void refusesADamagedFile_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QCOMPARE(fiveLinks().write(path()), QString());
        const QByteArray sound = fileBytes();
        const QList<QByteArray> lines = sound.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (lines.at(i).trimmed().isEmpty() || lines.at(i).startsWith("default="))
                continue;  // a blank line carries nothing; a file may have no default
            QList<QByteArray> without = lines;
            without.removeAt(i);
            QTest::addRow("without line %d, %s", i + 1, lines.at(i).constData()) << without.join('\n');
        }
        for (int cut = 1; cut < sound.size() - 1; cut += 7) {
            // Cut within "size=5": the whole count is gone, not a digit of it.
            if (sound.left(cut).endsWith("size="))
                continue;
            QTest::addRow("cut after byte %d", cut) << sound.left(cut);
        }
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("all NULs") << QByteArray(sound.size(), '\0');
        QTest::newRow("a NUL in a line") << QByteArray(sound).replace(20, 1, QByteArray(1, '\0'));
        QByteArray noise(512, 0);
        quint32 seed = 7;
        for (char &byte : noise)
            byte = char((seed = seed * 1103515245u + 12345u) >> 16);
        QTest::newRow("random bytes") << noise;
        QTest::newRow("a rule numbered beyond the count") << QByteArray(sound).replace("size=5", "size=4");
    }
    void refusesADamagedFile()
    {
        QFETCH(QByteArray, contents);
        writeFile(contents);
        const ApplicationRules rules = ApplicationRules::read(path());
        QCOMPARE(rules.status(), ApplicationRules::ReadStatus::Malformed);
        QVERIFY(!rules.reason().isEmpty());
        QVERIFY(rules.rules().isEmpty());
        QCOMPARE(fileBytes(), contents);
    }

    void readsWhatTheProgramWrites()
    {
        const ApplicationRules written = fiveLinks();
        QCOMPARE(written.write(path()), QString());
        const ApplicationRules back = ApplicationRules::read(path());
        QCOMPARE(back.status(), ApplicationRules::ReadStatus::Read);
        QCOMPARE(back.rules(), written.rules());
        QCOMPARE(back.defaultProfile(), written.defaultProfile());
    }

    // The files of earlier versions, written through QSettings, read as they were written; the
    // program's own files read the same through QSettings.
    void sharesTheFileWithQSettings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "org.gnome.Gedit";
        QTest::newRow("separators and escapes") << "name with = and ; and \\ and \" and , too";
        QTest::newRow("other scripts") << "Блокнот 記事本";
        QTest::newRow("hex digit after an escape") << QString("caf") + QChar(0xE9) + "1a";
        QTest::newRow("beyond the first plane") << QString::fromUtf8("game \xF0\x9F\x8E\xAE");
        QTest::newRow("at sign first") << "@home";
        QTest::newRow("at sign and parenthesis") << "@Variant(x)";
    }
    void sharesTheFileWithQSettings()
    {
        QFETCH(QString, name);
        const QString older = dir.filePath("older.ini");
        {
            QSettings file(older, QSettings::IniFormat);
            file.setValue("follow/enabled", "true");
            file.setValue("follow/default", 2);
            file.beginWriteArray("rule", 1);
            file.setArrayIndex(0);
            file.setValue("match", "program");
            file.setValue("name", name);
            file.setValue("profile", 4);
            file.endArray();
        }
        const ApplicationRules fromOlder = ApplicationRules::read(older);
        QCOMPARE(fromOlder.status(), ApplicationRules::ReadStatus::Read);
        QCOMPARE(fromOlder.rules(), (QVector<ApplicationRule> {{ApplicationMatch::ProgramName, name, 4}}));
        QCOMPARE(fromOlder.defaultProfile(), std::optional<int>(2));

        QCOMPARE(fromOlder.write(path()), QString());
        const QSettings back(path(), QSettings::IniFormat);
        QCOMPARE(back.status(), QSettings::NoError);
        QCOMPARE(back.value("rule/1/name").toString(), name);
        QCOMPARE(back.value("rule/size").toInt(), 1);
        QCOMPARE(back.value("follow/enabled").toString(), QString("true"));
        QCOMPARE(ApplicationRules::read(path()).rules(), fromOlder.rules());
    }

    void missingFileFollowsNothing()
    {
        const ApplicationRules rules = ApplicationRules::read(path());
        QCOMPARE(rules.status(), ApplicationRules::ReadStatus::Missing);
        QVERIFY(!rules.enabled());
        QVERIFY(!QFile::exists(path()));
    }

    void folderInPlaceIsRefused()
    {
        QVERIFY(QDir(dir.path()).mkdir("appRules.ini"));
        const ApplicationRules rules = ApplicationRules::read(path());
        QCOMPARE(rules.status(), ApplicationRules::ReadStatus::Malformed);
        QVERIFY(QDir(dir.path()).rmdir("appRules.ini"));
    }

    void writesWhatItReads()
    {
        ApplicationRules rules;
        rules.setEnabled(true);
        QVERIFY(rules.setDefaultProfile(4));
        QVERIFY(rules.addRule({ApplicationMatch::ApplicationId, "org.gnome.Nautilus", 1}));
        QVERIFY(rules.addRule({ApplicationMatch::WindowClass, "Gimp-2.10", 2}));
        QVERIFY(rules.addRule({ApplicationMatch::ProgramName, "name with = and ; and \\", 9}));
        QCOMPARE(rules.write(path()), QString());

        const ApplicationRules back = ApplicationRules::read(path());
        QCOMPARE(back.status(), ApplicationRules::ReadStatus::Read);
        QVERIFY(back.enabled());
        QCOMPARE(back.defaultProfile(), std::optional<int>(4));
        QCOMPARE(back.rules(), rules.rules());

        // Fewer rules written later leave none of the old ones behind.
        QVERIFY(rules.removeRule(0));
        QVERIFY(rules.setDefaultProfile(std::nullopt));
        QCOMPARE(rules.write(path()), QString());
        const ApplicationRules shorter = ApplicationRules::read(path());
        QCOMPARE(shorter.rules(), rules.rules());
        QCOMPARE(shorter.defaultProfile(), std::optional<int>());
    }

    void refusesInvalidRules_data()
    {
        QTest::addColumn<int>("match");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("profile");
        QTest::newRow("blank name") << int(ApplicationMatch::WindowClass) << "  " << 1;
        QTest::newRow("long name") << int(ApplicationMatch::ApplicationId) << QString(256, 'x') << 1;
        QTest::newRow("no profile") << int(ApplicationMatch::ApplicationId) << "a" << 10;
        QTest::newRow("program path") << int(ApplicationMatch::ProgramName) << "/bin/sh" << 1;
        QTest::newRow("program ..") << int(ApplicationMatch::ProgramName) << ".." << 1;
        QTest::newRow("blank at the end") << int(ApplicationMatch::WindowClass) << "steam " << 1;
        QTest::newRow("line break") << int(ApplicationMatch::WindowClass) << "a\nb" << 1;
    }
    void refusesInvalidRules()
    {
        QFETCH(int, match);
        QFETCH(QString, name);
        QFETCH(int, profile);
        ApplicationRules rules;
        QVERIFY(!rules.addRule({ApplicationMatch(match), name, profile}));
        QVERIFY(rules.rules().isEmpty());
    }

    void holdsAtMostTheBound()
    {
        ApplicationRules rules;
        for (int i = 0; i < ApplicationRules::kMaxRules; ++i)
            QVERIFY(rules.addRule({ApplicationMatch::ApplicationId, QString::number(i), 0}));
        QVERIFY(!rules.addRule({ApplicationMatch::ApplicationId, "one more", 0}));
        QVERIFY(!rules.setDefaultProfile(-1));
        QVERIFY(!rules.removeRule(ApplicationRules::kMaxRules));
    }

    void choosesProfiles_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<ApplicationIdentity>("application");
        QTest::addColumn<std::optional<int>>("profile");

        QTest::newRow("app id") << true << app("firefox", "", "") << std::optional<int>(1);
        QTest::newRow("desktop file id") << true << app("firefox.desktop", "", "") << std::optional<int>(1);
        QTest::newRow("app id is exact") << true << app("Firefox", "", "") << std::optional<int>(7);
        QTest::newRow("class any case") << true << app("", "STEAM", "") << std::optional<int>(2);
        QTest::newRow("program") << true << app("", "", "blender") << std::optional<int>(3);
        QTest::newRow("first rule wins") << true << app("firefox", "steam", "blender") << std::optional<int>(1);
        QTest::newRow("nothing matches: default") << true << app("x", "y", "z") << std::optional<int>(7);
        QTest::newRow("nothing known: default") << true << app("", "", "") << std::optional<int>(7);
        QTest::newRow("switched off") << false << app("firefox", "", "") << std::optional<int>();
    }
    void choosesProfiles()
    {
        QFETCH(bool, enabled);
        QFETCH(ApplicationIdentity, application);
        QFETCH(std::optional<int>, profile);
        ApplicationRules rules;
        rules.setEnabled(enabled);
        QVERIFY(rules.setDefaultProfile(7));
        QVERIFY(rules.addRule({ApplicationMatch::ApplicationId, "firefox", 1}));
        QVERIFY(rules.addRule({ApplicationMatch::WindowClass, "steam", 2}));
        QVERIFY(rules.addRule({ApplicationMatch::ProgramName, "blender", 3}));
        QCOMPARE(rules.profileFor(application), profile);
    }

    // Activations at given times (ms) on the test's clock; the profiles asked for.
    void followerDwells_data()
    {
        QTest::addColumn<Activations>("activations");
        QTest::addColumn<qint64>("checkAt");
        QTest::addColumn<QVector<int>>("wanted");
        using Steps = Activations;

        QTest::newRow("stays long enough") << Steps{{0, "a"}} << qint64(300) << QVector<int>{1};
        QTest::newRow("not yet") << Steps{{0, "a"}} << qint64(299) << QVector<int>{};
        QTest::newRow("switched away before the dwell") << Steps{{0, "a"}, {100, "b"}} << qint64(350) << QVector<int>{};
        QTest::newRow("last one dwells") << Steps{{0, "a"}, {100, "b"}} << qint64(400) << QVector<int>{2};
        QTest::newRow("repeated events keep the dwell") << Steps{{0, "a"}, {200, "a"}} << qint64(300) << QVector<int>{1};
        Steps burst;
        for (int i = 0; i < 10; ++i)
            burst.append({i * 20, i % 2 ? "a" : "b"});
        QTest::newRow("ten in 200 ms") << burst << qint64(480) << QVector<int>{1};
        QTest::newRow("unmatched with no default") << Steps{{0, "c"}} << qint64(1000) << QVector<int>{};
    }
    void followerDwells()
    {
        QFETCH(Activations, activations);
        QFETCH(qint64, checkAt);
        QFETCH(QVector<int>, wanted);

        ApplicationRules rules;
        rules.setEnabled(true);
        QVERIFY(rules.addRule({ApplicationMatch::ApplicationId, "a", 1}));
        QVERIFY(rules.addRule({ApplicationMatch::ApplicationId, "b", 2}));
        qint64 clock = 0;
        ApplicationFollower follower([&clock] { return clock; });
        follower.setRules(rules);
        QSignalSpy spy(&follower, &ApplicationFollower::profileWanted);
        for (const auto &step : activations) {
            clock = step.first;
            follower.checkDwell();
            follower.applicationActivated(app(step.second, "", ""));
        }
        clock = checkAt;
        follower.checkDwell();
        follower.checkDwell();  // asked once, however often checked
        QVector<int> got;
        for (const QList<QVariant> &signal : spy)
            got.append(signal.at(0).toInt());
        QCOMPARE(got, wanted);
    }

    void followerAsksOnlyForChanges()
    {
        ApplicationRules rules;
        rules.setEnabled(true);
        QVERIFY(rules.setDefaultProfile(0));
        QVERIFY(rules.addRule({ApplicationMatch::WindowClass, "game", 5}));
        qint64 clock = 0;
        ApplicationFollower follower([&clock] { return clock; });
        follower.setRules(rules);
        QSignalSpy spy(&follower, &ApplicationFollower::profileWanted);

        const auto dwellOn = [&](const ApplicationIdentity &application) {
            follower.applicationActivated(application);
            clock += ApplicationFollower::kDwellMs;
            follower.checkDwell();
        };
        dwellOn(app("", "game", ""));
        dwellOn(app("", "editor", ""));
        dwellOn(app("", "terminal", ""));  // the default again: not asked twice
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), 0);

        // The user picks a profile by hand; the game asks for its own again.
        follower.profileInUse(3);
        dwellOn(app("", "game", ""));
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy.at(2).at(0).toInt(), 5);

        // Following switched off asks for nothing.
        rules.setEnabled(false);
        follower.setRules(rules);
        dwellOn(app("", "editor", ""));
        QCOMPARE(spy.size(), 3);
    }

    // The follower's own timer: the wait measures the time it relies on.
    void followerTimerFires()
    {
        ApplicationRules rules;
        rules.setEnabled(true);
        QVERIFY(rules.setDefaultProfile(6));
        ApplicationFollower follower;
        follower.setRules(rules);
        QSignalSpy spy(&follower, &ApplicationFollower::profileWanted);
        QElapsedTimer waited;
        waited.start();
        follower.applicationActivated(app("x", "", ""));
        QVERIFY(spy.wait(10000));
        QVERIFY(waited.elapsed() >= ApplicationFollower::kDwellMs);
        QCOMPARE(spy.at(0).at(0).toInt(), 6);
    }
};

QTEST_GUILESS_MAIN(TestApplicationRules)
#include "tst_application_rules.moc"
