// A profile holding the lighting page's stored settings, with or without the light's on/off
// item, can be imported; other lengths are refused.
#include "controller/ProfileCheck.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLightingProfile : public QObject {
    Q_OBJECT
private slots:
    void ledEffectLengths_data();
    void ledEffectLengths();
};

void TestLightingProfile::ledEffectLengths_data()
{
    QTest::addColumn<QByteArray>("ledEffect");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("position, brightness, speed") << QByteArray("0, 7, 3") << true;
    QTest::newRow("with the light on") << QByteArray("0, 7, 3, 1") << true;
    QTest::newRow("with the light off") << QByteArray("4, 7, 3, 0") << true;
    QTest::newRow("two items") << QByteArray("4, 7") << false;
    QTest::newRow("five items") << QByteArray("4, 7, 3, 1, 1") << false;
    QTest::newRow("on/off item beyond a byte") << QByteArray("4, 7, 3, 256") << false;
}

void TestLightingProfile::ledEffectLengths()
{
    QFETCH(QByteArray, ledEffect);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path = dir.filePath("exported.pf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write("[color_W3]\nledEffect=" + ledEffect + "\n") > 0);
    file.close();
    const QString problem = ProfileCheck::problem(path);
    QVERIFY2(problem.isEmpty() == accepted, qPrintable(problem));
}

QTEST_MAIN(TestLightingProfile)
#include "tst_lighting_profile.moc"
