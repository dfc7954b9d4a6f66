// The application links as the panel and w3ctl edit them: each change is checked, lands in
// the file at once, and leaves a file it cannot read exactly as it was.
#include "actions/ApplicationLinks.h"

#include "tests/support/UnwritableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(contents), qint64(contents.size()));
}

}  // namespace

class TestApplicationLinks : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(folder.isValid());
        path = folder.filePath("appRules.ini");
        QFile::remove(path);
    }

    void linksEachKindIntoTheFile_data()
    {
        QTest::addColumn<QString>("match");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::newRow("application id") << "appId" << "org.gnome.Gedit" << "org.gnome.Gedit";
        QTest::newRow("window class") << "windowClass" << "steam" << "steam";
        QTest::newRow("program file") << "program"
                                      << "blender"
                                      << "blender";
        QTest::newRow("name of other scripts") << "windowClass" << "Блокнот 記事本" << "Блокнот 記事本";
    }
    void linksEachKindIntoTheFile()
    {
        QFETCH(QString, match);
        QFETCH(QString, name);
        QFETCH(QString, stored);
        ApplicationLinks links(path);
        QSignalSpy changed(&links, &ApplicationLinks::rulesChanged);
        QCOMPARE(links.link(2, name, match), int(ApplicationLinks::Accepted));
        QVERIFY(!changed.isEmpty());

        const ApplicationRules onDisk = ApplicationRules::read(path);
        QCOMPARE(onDisk.status(), ApplicationRules::ReadStatus::Read);
        QCOMPARE(onDisk.rules().size(), 1);
        QCOMPARE(onDisk.rules().first().name, stored);
        QCOMPARE(onDisk.rules().first().profile, 2);
        QCOMPARE(ApplicationLinks::matchSpelling(int(onDisk.rules().first().match)), match);
        QCOMPARE(links.linkedProfiles(), QVariantList{2});
    }

    // Each refused link leaves the file byte for byte as it was and says why.
    void refusesBadLinks_data()
    {
        QTest::addColumn<int>("profile");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("match");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<QString>("reason");
        using L = ApplicationLinks;
        QTest::newRow("empty") << 0 << "   " << "appId" << int(L::NoName) << "Type the application's name.";
        QTest::newRow("too long") << 0 << QString(256, 'a') << "windowClass" << int(L::NameTooLong)
                                  << "The name is longer than 255 characters.";
        QTest::newRow("line break") << 0 << "steam\n[follow]" << "windowClass" << int(L::NameNotAllowed)
                                    << "The name holds invisible or control characters.";
        QTest::newRow("direction override") << 0 << QString("gedit") + QChar(0x202E) << "appId"
                                            << int(L::NameNotAllowed)
                                            << "The name holds invisible or control characters.";
        QTest::newRow("nul") << 0 << QString("a") + QChar(0) + "b" << "program" << int(L::NameNotAllowed)
                             << "The name holds invisible or control characters.";
        QTest::newRow("folder in a program") << 0 << "/usr/bin/blender" << "program" << int(L::FolderInProgram)
                                             << "A program is named by its file name, without a folder.";
        QTest::newRow("program ..") << 0 << ".."
                                    << "program" << int(L::FolderInProgram)
                                    << "A program is named by its file name, without a folder.";
        QTest::newRow("program .") << 0 << "."
                                   << "program" << int(L::FolderInProgram)
                                   << "A program is named by its file name, without a folder.";
        QTest::newRow("blanks around the name")
            << 0 << " lead trail "
            << "appId" << int(L::BlankAtEnds) << "The name begins or ends with a blank.";
        QTest::newRow("a blank after the name")
            << 0 << "blender "
            << "program" << int(L::BlankAtEnds) << "The name begins or ends with a blank.";
        QTest::newRow("same link") << 4 << "steam" << "windowClass" << int(L::AlreadyLinked)
                                   << "This application is already linked to P02.";
        QTest::newRow("class differs in case only") << 4 << "Steam" << "windowClass" << int(L::AlreadyLinked)
                                                    << "This application is already linked to P02.";
        QTest::newRow("desktop id with its suffix") << 4 << "org.gnome.Gedit.desktop" << "appId"
                                                    << int(L::AlreadyLinked)
                                                    << "This application is already linked to P02.";
        QTest::newRow("profile out of range") << 10 << "blender" << "program" << int(L::NoSuchProfile)
                                              << "There is no such profile.";
        QTest::newRow("negative profile") << -1 << "blender" << "program" << int(L::NoSuchProfile)
                                          << "There is no such profile.";
        QTest::newRow("unknown kind") << 0 << "blender" << "title" << int(L::UnknownMatch)
                                      << "An application matches by application id, window class or program file.";
    }
    void refusesBadLinks()
    {
        QFETCH(int, profile);
        QFETCH(QString, name);
        QFETCH(QString, match);
        QFETCH(int, refusal);
        QFETCH(QString, reason);
        ApplicationLinks links(path);
        QCOMPARE(links.link(1, "steam", "windowClass"), int(ApplicationLinks::Accepted));
        QCOMPARE(links.link(1, "org.gnome.Gedit", "appId"), int(ApplicationLinks::Accepted));
        const QByteArray before = contentsOf(path);

        QCOMPARE(links.link(profile, name, match), refusal);
        QCOMPARE(links.describeLast(), reason);
        QCOMPARE(contentsOf(path), before);
        QCOMPARE(links.links().size(), 2);
    }

    // The same name by another kind of match is another link.
    void sameNameByAnotherKindIsAnotherLink()
    {
        ApplicationLinks links(path);
        QCOMPARE(links.link(1, "steam", "windowClass"), int(ApplicationLinks::Accepted));
        QCOMPARE(links.link(3, "steam", "program"), int(ApplicationLinks::Accepted));
        QCOMPARE(links.linkedProfiles(), (QVariantList{1, 3}));
    }

    void refusesMoreThanTheFileHolds()
    {
        ApplicationLinks links(path);
        for (int i = 0; i < ApplicationRules::kMaxRules; ++i)
            QCOMPARE(links.link(i % 10, QString("app%1").arg(i), "program"), int(ApplicationLinks::Accepted));
        QCOMPARE(links.link(0, "one-more", "program"), int(ApplicationLinks::TooManyLinks));
        QCOMPARE(ApplicationRules::read(path).rules().size(), ApplicationRules::kMaxRules);
    }

    void unlinksByNameAndKind()
    {
        ApplicationLinks links(path);
        QCOMPARE(links.link(2, "steam", "windowClass"), int(ApplicationLinks::Accepted));
        QCOMPARE(links.link(2, "steam", "program"), int(ApplicationLinks::Accepted));
        QCOMPARE(links.link(5, "blender", "program"), int(ApplicationLinks::Accepted));

        QCOMPARE(links.unlink(5, "steam"), int(ApplicationLinks::NoSuchLink));
        QCOMPARE(links.unlink(2, "steam", "program"), int(ApplicationLinks::Accepted));
        QCOMPARE(ApplicationRules::read(path).rules().size(), 2);
        QCOMPARE(links.unlink(2, "steam"), int(ApplicationLinks::Accepted));
        const ApplicationRules onDisk = ApplicationRules::read(path);
        QCOMPARE(onDisk.rules().size(), 1);
        QCOMPARE(onDisk.rules().first().name, QString("blender"));
        QCOMPARE(links.linkedProfiles(), QVariantList{5});
    }

    void defaultProfileAndSwitch_data()
    {
        QTest::addColumn<int>("profile");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<int>("stored");  // -1: no default in the file
        QTest::newRow("first") << 0 << int(ApplicationLinks::Accepted) << 0;
        QTest::newRow("last") << 9 << int(ApplicationLinks::Accepted) << 9;
        QTest::newRow("none") << -1 << int(ApplicationLinks::Accepted) << -1;
        QTest::newRow("past the last") << 10 << int(ApplicationLinks::NoSuchProfile) << 4;
    }
    void defaultProfileAndSwitch()
    {
        QFETCH(int, profile);
        QFETCH(int, refusal);
        QFETCH(int, stored);
        ApplicationLinks links(path);
        QCOMPARE(links.setDefaultProfile(4), int(ApplicationLinks::Accepted));
        QCOMPARE(links.setDefaultProfile(profile), refusal);
        QCOMPARE(ApplicationRules::read(path).defaultProfile().value_or(-1), stored);
        QCOMPARE(links.defaultProfile(), stored);

        QCOMPARE(links.setEnabled(true), int(ApplicationLinks::Accepted));
        QVERIFY(ApplicationRules::read(path).enabled());
        QCOMPARE(links.setEnabled(false), int(ApplicationLinks::Accepted));
        QVERIFY(!ApplicationRules::read(path).enabled());
    }

    // A file that cannot be read is never replaced, whatever the change.
    void leavesAnUnreadableFileAlone_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("switch neither true nor false")
            << QByteArray("[follow]\nenabled=maybe\n")
            << "The links file cannot be read (the switch is neither true nor false); nothing is changed.";
        QTest::newRow("rule of no profile")
            << QByteArray("[follow]\nenabled=true\n[rule]\n1\\match=program\n1\\name=x\n1\\profile=42\nsize=1\n")
            << "The links file cannot be read (rule 1: a rule links no profile); nothing is changed.";
        QTest::newRow("a count line lost")
            << QByteArray("[follow]\nenabled=true\n[rule]\n1\\match=program\n1\\name=x\n1\\profile=4\n")
            << "The links file cannot be read (it has no size in [rule]); nothing is changed.";
        QTest::newRow("an entry cut short")
            << QByteArray("[follow]\nenabled=true\n[rule]\nsize=1\n1\\match=program\n1\\name=\"x, y")
            << "The links file cannot be read (1\\name in [rule] is cut short or no text); nothing is changed.";
        QTest::newRow("empty") << QByteArray() << "The links file cannot be read (it is empty); nothing is changed.";
        QTest::newRow("NULs") << QByteArray(40, '\0')
                              << "The links file cannot be read (byte 1 is not settings text); nothing is changed.";
    }
    void leavesAnUnreadableFileAlone()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        QCOMPARE(damaged.write(contents), qint64(contents.size()));
        damaged.close();
        ApplicationLinks links(path);
        QVERIFY(!links.fileProblem().isEmpty());
        const std::function<int()> changes[] = {
            [&] { return links.link(0, "steam", "windowClass"); },
            [&] { return links.unlink(0, "steam"); },
            [&] { return links.setDefaultProfile(1); },
            [&] { return links.setEnabled(true); },
        };
        for (const auto &change : changes) {
            QCOMPARE(change(), int(ApplicationLinks::FileUnreadable));
            QCOMPARE(links.describeLast(), reason);
            QCOMPARE(contentsOf(path), contents);
        }
    }

    // Another program's change between two of this one's is kept.
    void keepsWhatAnotherProgramWrote()
    {
        ApplicationLinks window(path);
        ApplicationLinks commandLine(path);
        QCOMPARE(commandLine.link(7, "blender", "program"), int(ApplicationLinks::Accepted));
        QCOMPARE(window.link(1, "steam", "windowClass"), int(ApplicationLinks::Accepted));
        QCOMPARE(ApplicationRules::read(path).rules().size(), 2);
        QCOMPARE(window.linkedProfiles(), (QVariantList{1, 7}));
    }

    // The links file is written as a file of its own: never through a link, and a link stays
    // a link; the refusal says so, and nothing it says changed did.
    void writesThroughNoLink_data()
    {
        QTest::addColumn<QString>("target");  // relative to the folder; empty: the link itself
        QTest::addColumn<QByteArray>("held");  // what the target holds; empty: no target
        QTest::addColumn<int>("readLinks");  // the links read through the link
        QTest::newRow("dangling") << "elsewhere/appRules.ini" << QByteArray() << 0;
        QTest::newRow("loop") << "" << QByteArray() << 0;
        QTest::newRow("to a sound file") << "elsewhere/appRules.ini"
                                         << QByteArray("[follow]\nenabled=true\n[rule]\n1\\match=program\n"
                                                       "1\\name=x\n1\\profile=4\nsize=1\n")
                                         << 1;
    }
    void writesThroughNoLink()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, held);
        QFETCH(int, readLinks);
        const QString pointed = target.isEmpty() ? path : folder.filePath(target);
        QVERIFY(QDir(folder.path()).mkpath("elsewhere"));
        QFile::remove(pointed);
        if (!held.isEmpty())
            writeFile(pointed, held);
        QVERIFY(QFile::link(pointed, path));

        ApplicationLinks links(path);
        QCOMPARE(links.links().size(), readLinks);
        const std::function<int()> changes[] = {
            [&] { return links.link(0, "steam", "windowClass"); },
            [&] { return links.setEnabled(false); },
        };
        for (const auto &change : changes) {
            const int refusal = change();
            QVERIFY2(refusal != ApplicationLinks::Accepted, qPrintable(links.describeLast()));
            QVERIFY2(links.describeLast().contains("symbolic link"), qPrintable(links.describeLast()));
            QVERIFY(QFileInfo(path).isSymLink());
            QCOMPARE(QFileInfo(path).symLinkTarget(), QFileInfo(pointed).absoluteFilePath());
            QCOMPARE(QFileInfo::exists(pointed), !held.isEmpty());
            if (!held.isEmpty())
                QCOMPARE(contentsOf(pointed), held);
        }
        QVERIFY(QFile::remove(path));
    }

    // A file that may be read but not written (immutable, or read-only to the user) reads, and
    // a change is refused with the system's reason, however often it is tried.
    void readsAFileItMayNotWrite()
    {
        ApplicationLinks writer(path);
        QCOMPARE(writer.link(3, "steam", "windowClass"), int(ApplicationLinks::Accepted));
        const QByteArray before = contentsOf(path);
        const UnwritableFile unwritable(path);
        if (!unwritable.skipReason().isEmpty())
            QSKIP(qPrintable(unwritable.skipReason()));

        ApplicationLinks links(path);
        for (int attempt = 0; attempt < 2; ++attempt) {
            QCOMPARE(links.fileProblem(), QString());
            QCOMPARE(links.links().size(), 1);
            QCOMPARE(links.link(4, "blender", "program"), int(ApplicationLinks::NotWritten));
            QVERIFY2(links.describeLast().startsWith("The links file cannot be written ("),
                qPrintable(links.describeLast()));
            QVERIFY2(links.writeProblem().contains(unwritable.systemReason()), qPrintable(links.writeProblem()));
            links.reload();
        }
        QCOMPARE(contentsOf(path), before);
    }

    void refusesAPlaceItCannotWriteTo()
    {
        writeFile(folder.filePath("a-file"), "not a folder");
        const QString unwritable = folder.filePath("a-file/appRules.ini");
        ApplicationLinks links(unwritable);
        QCOMPARE(links.setEnabled(true), int(ApplicationLinks::NotWritten));
        QCOMPARE(
            links.describeLast(), QString("The links file cannot be written (Not a directory); nothing is changed."));
        QVERIFY(!links.enabled());
        QVERIFY(!QFile::exists(unwritable));
    }

    void keepsRecentApplicationsNewestFirst()
    {
        ApplicationLinks links(path);
        QSignalSpy changed(&links, &ApplicationLinks::recentApplicationsChanged);
        links.noteApplication("org.gnome.Gedit", "gedit", "gedit");
        links.noteApplication("", "steam", "steam");
        links.noteApplication("", "", "blender");
        links.noteApplication("", "", "");                   // nothing to name it by
        links.noteApplication("", "bad\x1b[31m", "/usr/bin/x");  // nothing printable or plain
        links.noteApplication("", "", "blender");             // still in front: no change
        QCOMPARE(changed.count(), 3);
        const QVariantList recent = links.recentApplications();
        QCOMPARE(recent.size(), 3);
        QCOMPARE(recent.at(0).toMap().value("name").toString(), QString("blender"));
        QCOMPARE(recent.at(0).toMap().value("match").toString(), QString("program"));
        QCOMPARE(recent.at(1).toMap().value("match").toString(), QString("windowClass"));
        QCOMPARE(recent.at(2).toMap().value("name").toString(), QString("org.gnome.Gedit"));
        QCOMPARE(recent.at(2).toMap().value("match").toString(), QString("appId"));

        links.noteApplication("org.gnome.Gedit", "gedit", "gedit");
        QCOMPARE(links.recentApplications().first().toMap().value("name").toString(), QString("org.gnome.Gedit"));
        QCOMPARE(links.recentApplications().size(), 3);
        for (int i = 0; i < 2 * ApplicationLinks::kMaxRecent; ++i)
            links.noteApplication("", "", QString("program%1").arg(i));
        QCOMPARE(links.recentApplications().size(), ApplicationLinks::kMaxRecent);
    }

private:
    QTemporaryDir folder;
    QString path;
};

QTEST_GUILESS_MAIN(TestApplicationLinks)
#include "tst_application_links.moc"
