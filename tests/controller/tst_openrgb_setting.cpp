// The OpenRGB server's setting file: what a file says (or fails to say), what a write stores,
// and a running program's copy following a write made by another (w3ctl); a write that changes
// nothing is still told, so that a server that could not listen tries again.
#include "controller/OpenRgbSetting.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestOpenRgbSetting : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder.isValid()); }

    void theFileIsRead_data()
    {
        QTest::addColumn<QByteArray>("contents");  // empty: no file
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("port");
        QTest::newRow("no file: off, the default port") << QByteArray() << false << 6743;
        QTest::newRow("on with a port") << QByteArray("[server]\nenabled=true\nport=7000\n") << true << 7000;
        QTest::newRow("port 0 serves the default") << QByteArray("[server]\nenabled=true\nport=0\n") << true << 6743;
        QTest::newRow("a port beyond 65535") << QByteArray("[server]\nenabled=true\nport=70000\n") << true << 6743;
        QTest::newRow("a port that is no number") << QByteArray("[server]\nenabled=true\nport=abc\n") << true << 6743;
        QTest::newRow("a switch that is no boolean") << QByteArray("[server]\nenabled=perhaps\n") << false << 6743;
    }
    void theFileIsRead()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, enabled);
        QFETCH(int, port);
        QFile::remove(path());
        if (!contents.isEmpty()) {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        }
        const OpenRgbSetting setting(path());
        QCOMPARE(setting.enabled(), enabled);
        QCOMPARE(setting.port(), port);
    }

    void aPortOutOfRangeIsRefusedAndNothingStored()
    {
        QFile::remove(path());
        OpenRgbSetting setting(path());
        QVERIFY(!setting.setEnabled(true, 65536));
        QVERIFY(!QFile::exists(path()));
        QVERIFY(!setting.enabled());
    }

    void aWatchingCopyFollowsAnotherWriter()
    {
        QFile::remove(path());
        OpenRgbSetting program(path());
        program.watch();
        QSignalSpy changed(&program, &OpenRgbSetting::changed);
        OpenRgbSetting w3ctl(path());
        QVERIFY(w3ctl.setEnabled(true, 7002));
        QVERIFY(changed.wait());
        QCOMPARE(program.enabled(), true);
        QCOMPARE(program.port(), 7002);
        QVERIFY(w3ctl.setEnabled(false));
        QTRY_COMPARE(program.enabled(), false);
        QCOMPARE(program.port(), 7002);
    }

    void aWriteThatChangesNothingIsStillTold()
    {
        QFile::remove(path());
        OpenRgbSetting setting(path());
        QVERIFY(setting.setEnabled(true, 7003));
        QSignalSpy changed(&setting, &OpenRgbSetting::changed);
        QVERIFY(setting.setEnabled(true));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(setting.port(), 7003);
    }

private:
    QString path() const { return folder.filePath("openrgb.ini"); }

    QTemporaryDir folder;
};

QTEST_GUILESS_MAIN(TestOpenRgbSetting)
#include "tst_openrgb_setting.moc"
