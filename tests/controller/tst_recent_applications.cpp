// The applications lately in front: newest first, each once by its names, at most ten, and
// nothing kept for an application the desktop could not name.
#include "controller/RecentApplications.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

ApplicationIdentity byClass(const QString &windowClass, qint64 pid = 0) { return {QString(), windowClass, QString(), pid}; }

QStringList classes(const RecentApplications &recent)
{
    QStringList list;
    for (const ApplicationIdentity &application : recent.applications())
        list << application.windowClass;
    return list;
}

}  // namespace

class TestRecentApplications : public QObject {
    Q_OBJECT

private slots:
    void keepsTheNewestOfEachApplication_data()
    {
        QTest::addColumn<QList<ApplicationIdentity>>("seen");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<int>("changes");
        QTest::newRow("newest first") << QList<ApplicationIdentity>{byClass("a"), byClass("b")} << QStringList{"b", "a"} << 2;
        QTest::newRow("seen again moves to the front, once")
            << QList<ApplicationIdentity>{byClass("a"), byClass("b"), byClass("a", 42)} << QStringList{"a", "b"} << 3;
        QTest::newRow("the one in front told again changes nothing")
            << QList<ApplicationIdentity>{byClass("a"), byClass("a")} << QStringList{"a"} << 1;
        QTest::newRow("no name is not kept")
            << QList<ApplicationIdentity>{byClass("a"), ApplicationIdentity{QString(), QString(), QString(), 7}}
            << QStringList{"a"} << 1;
        QList<ApplicationIdentity> eleven;
        QStringList lastTen;
        for (int i = 0; i < 11; ++i) {
            eleven << byClass(QString::number(i));
            if (i > 0)
                lastTen.prepend(QString::number(i));
        }
        QTest::newRow("the oldest goes beyond ten") << eleven << lastTen << 11;
    }
    void keepsTheNewestOfEachApplication()
    {
        QFETCH(QList<ApplicationIdentity>, seen);
        QFETCH(QStringList, kept);
        QFETCH(int, changes);
        RecentApplications recent;
        QSignalSpy changed(&recent, &RecentApplications::changed);
        for (const ApplicationIdentity &application : seen)
            recent.seen(application);
        QCOMPARE(classes(recent), kept);
        QCOMPARE(changed.count(), changes);
    }
};

QTEST_GUILESS_MAIN(TestRecentApplications)
#include "tst_recent_applications.moc"
