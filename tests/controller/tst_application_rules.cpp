// The rules linking profiles to applications: reading a file written by hand or by anyone,
// writing it back, which profile an application wants, and the follower's dwell on a clock
// the test moves.
#include "controller/ApplicationFollower.h"
#include "controller/ApplicationRules.h"

#include <QFile>
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
    QString path() const { return dir.filePath("appRules.ini"); }
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
        QTest::newRow("two rules") << head + "[rule]\nsize=2\n1\\match=appId\n1\\name=firefox\n1\\profile=3\n"
                                             "2\\match=windowClass\n2\\name=Steam\n2\\profile=9\n" << true << 2;
        QTest::newRow("no rules") << head << true << 0;
        QTest::newRow("switch not a switch") << QByteArray("[follow]\nenabled=maybe\n") << false << 0;
        QTest::newRow("default beyond the profiles") << QByteArray("[follow]\nenabled=true\ndefault=10\n") << false << 0;
        QTest::newRow("negative default") << QByteArray("[follow]\nenabled=true\ndefault=-1\n") << false << 0;
        QTest::newRow("count beyond bound") << head + "[rule]\nsize=65\n" << false << 0;
        QTest::newRow("count not a number") << head + "[rule]\nsize=lots\n" << false << 0;
        QTest::newRow("count claims more than held") << head + "[rule]\nsize=2\n1\\match=appId\n1\\name=a\n1\\profile=1\n" << false << 0;
        QTest::newRow("unknown match") << head + "[rule]\nsize=1\n1\\match=title\n1\\name=a\n1\\profile=1\n" << false << 0;
        QTest::newRow("empty name") << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=\n1\\profile=1\n" << false << 0;
        QTest::newRow("name too long") << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=" + QByteArray(256, 'a') + "\n1\\profile=1\n" << false << 0;
        QTest::newRow("escape in a name") << head + "[rule]\nsize=1\n1\\match=windowClass\n1\\name=\"a\\x1b[2Jb\"\n1\\profile=1\n" << false << 0;
        QTest::newRow("program with folder") << head + "[rule]\nsize=1\n1\\match=program\n1\\name=/usr/bin/a\n1\\profile=1\n" << false << 0;
        QTest::newRow("profile beyond") << head + "[rule]\nsize=1\n1\\match=appId\n1\\name=a\n1\\profile=12\n" << false << 0;
        QTest::newRow("file too large") << head + QByteArray(ApplicationRules::kMaxFileBytes, '#') << false << 0;
        QTest::newRow("binary bytes") << QByteArray("\x00\xff[\x01=\x02\n", 7) << true << 0;
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
        QVERIFY(rules.write(path()).ok());

        const ApplicationRules back = ApplicationRules::read(path());
        QCOMPARE(back.status(), ApplicationRules::ReadStatus::Read);
        QVERIFY(back.enabled());
        QCOMPARE(back.defaultProfile(), std::optional<int>(4));
        QCOMPARE(back.rules(), rules.rules());

        // Fewer rules written later leave none of the old ones behind.
        QVERIFY(rules.removeRule(0));
        QVERIFY(rules.setDefaultProfile(std::nullopt));
        QVERIFY(rules.write(path()).ok());
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
