// The effect table, the option formulas and the stored on/off state of the light.
#include <QtTest>

#include "scenelogic/LightingLogic.h"

class TestLightingLogic : public QObject {
    Q_OBJECT
private slots:
    void controlsPerEffect_data();
    void controlsPerEffect();
    void option1_data();
    void option1();
    void option2_data();
    void option2();
    void ledCommand_data();
    void ledCommand();
    void storedPower_data();
    void storedPower();
    void storedSettingsReadBack();
    void fixedColors_data();
    void fixedColors();
};

void TestLightingLogic::controlsPerEffect_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("labelIndex");
    QTest::addColumn<bool>("speed");
    QTest::addColumn<bool>("brightness");
    QTest::addColumn<bool>("colors");

    QTest::newRow("STATIC") << 1 << 13 << false << true << true;
    QTest::newRow("TWINKLING") << 2 << 88 << false << true << false;
    QTest::newRow("BREATHING") << 3 << 14 << true << false << true;
    QTest::newRow("NEON") << 4 << 20 << true << false << false;
    QTest::newRow("WAVE") << 5 << 15 << true << true << false;
    QTest::newRow("GLIDING") << 6 << 89 << false << false << false;
    QTest::newRow("FINGER MOVING") << 7 << 90 << false << true << false;
    QTest::newRow("VERTICAL FLIPPING") << 8 << 91 << true << true << false;
    QTest::newRow("YO-YO") << 9 << 92 << true << true << true;
    QTest::newRow("SPOTLIGHT") << 10 << 24 << true << true << true;
}

void TestLightingLogic::controlsPerEffect()
{
    QFETCH(int, effect);
    QFETCH(int, labelIndex);
    QFETCH(bool, speed);
    QFETCH(bool, brightness);
    QFETCH(bool, colors);
    QCOMPARE(LightingLogic::effectNumber(effect - 1), effect);
    QCOMPARE(LightingLogic::effectLabelIndices().at(effect - 1), labelIndex);
    QCOMPARE(LightingLogic::usesSpeed(effect), speed);
    QCOMPARE(LightingLogic::usesBrightness(effect), brightness);
    QCOMPARE(LightingLogic::usesColors(effect), colors);
}

void TestLightingLogic::option1_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("option1");

    QTest::newRow("STATIC step 0") << 1 << 0 << 0;
    QTest::newRow("STATIC step 1") << 1 << 1 << 45;
    QTest::newRow("WAVE step 4") << 5 << 4 << 150;
    QTest::newRow("SPOTLIGHT step 7") << 10 << 7 << 255;
    QTest::newRow("BREATHING has no brightness") << 3 << 7 << 0;
    QTest::newRow("GLIDING has no brightness") << 6 << 5 << 0;
    QTest::newRow("step above the slider") << 2 << 9 << 255;
}

void TestLightingLogic::option1()
{
    QFETCH(int, effect);
    QFETCH(int, step);
    QFETCH(int, option1);
    QCOMPARE(LightingLogic::option1(effect, step), option1);
}

void TestLightingLogic::option2_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("option2");

    QTest::newRow("BREATHING step 0") << 3 << 0 << 10;
    QTest::newRow("BREATHING step 7") << 3 << 7 << 1;
    QTest::newRow("NEON step 4") << 4 << 4 << 5;  // 1 + round(27 / 7)
    QTest::newRow("WAVE step 3") << 5 << 3 << 6;  // 1 + round(36 / 7)
    QTest::newRow("VERTICAL FLIPPING step 0") << 8 << 0 << 20;
    QTest::newRow("VERTICAL FLIPPING step 7") << 8 << 7 << 10;
    QTest::newRow("VERTICAL FLIPPING step 5") << 8 << 5 << 13;  // 10 + round(20 / 7)
    QTest::newRow("YO-YO step 0") << 9 << 0 << 15;
    QTest::newRow("YO-YO step 7") << 9 << 7 << 5;
    QTest::newRow("SPOTLIGHT step 0") << 10 << 0 << 30;
    QTest::newRow("SPOTLIGHT step 7") << 10 << 7 << 20;
    QTest::newRow("STATIC has no speed") << 1 << 0 << 0;
    QTest::newRow("FINGER MOVING has no speed") << 7 << 3 << 0;
}

void TestLightingLogic::option2()
{
    QFETCH(int, effect);
    QFETCH(int, step);
    QFETCH(int, option2);
    QCOMPARE(LightingLogic::option2(effect, step), option2);
}

void TestLightingLogic::ledCommand_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("powerOn");
    QTest::addColumn<QList<int>>("command");

    QTest::newRow("STATIC on") << 0 << 7 << 4 << true << QList<int>{1, 255, 0};
    QTest::newRow("BREATHING on") << 2 << 7 << 7 << true << QList<int>{3, 0, 1};
    QTest::newRow("YO-YO on") << 8 << 2 << 0 << true << QList<int>{9, 80, 15};
    QTest::newRow("YO-YO off") << 8 << 2 << 0 << false << QList<int>{0, 0, 0};
}

void TestLightingLogic::ledCommand()
{
    QFETCH(int, position);
    QFETCH(int, brightness);
    QFETCH(int, speed);
    QFETCH(bool, powerOn);
    QFETCH(QList<int>, command);
    QCOMPARE(LightingLogic::ledCommand(position, brightness, speed, powerOn), command);
}

void TestLightingLogic::storedPower_data()
{
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("powerOn");

    QTest::newRow("STATIC on") << QVariantList{0u, 7u, 4u, 1u} << true << true;
    QTest::newRow("WAVE off") << QVariantList{4u, 7u, 4u, 0u} << true << false;
    QTest::newRow("as text") << QVariantList{"0", "7", "4", "1"} << true << true;
    QTest::newRow("three items, STATIC") << QVariantList{0u, 7u, 3u} << true << false;
    QTest::newRow("three items, WAVE") << QVariantList{4u, 7u, 3u} << true << true;
    QTest::newRow("empty") << QVariantList{} << false << false;
    QTest::newRow("too short") << QVariantList{4u} << false << false;
}

void TestLightingLogic::storedPower()
{
    QFETCH(QVariantList, stored);
    QFETCH(bool, valid);
    QFETCH(bool, powerOn);
    QCOMPARE(LightingLogic::isStoredSettings(stored), valid);
    QCOMPARE(LightingLogic::isStoredPowerOn(stored), powerOn);
}

void TestLightingLogic::storedSettingsReadBack()
{
    for (bool on : {true, false}) {
        const QVariantList stored = LightingLogic::storedSettings(0, 6, 2, on);
        QCOMPARE(stored, (QVariantList{0, 6, 2, on ? 1 : 0}));
        QVERIFY(LightingLogic::isStoredSettings(stored));
        QCOMPARE(LightingLogic::isStoredPowerOn(stored), on);
    }
}

void TestLightingLogic::fixedColors_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QColor>("color");

    QTest::newRow("red") << 0 << QColor(255, 0, 0);
    QTest::newRow("green") << 1 << QColor(0, 255, 0);
    QTest::newRow("blue") << 2 << QColor(0, 0, 255);
    QTest::newRow("magenta") << 3 << QColor(255, 0, 255);
    QTest::newRow("cyan") << 4 << QColor(0, 255, 255);
    QTest::newRow("yellow") << 5 << QColor(255, 255, 0);
    QTest::newRow("white") << 6 << QColor(255, 255, 255);
    QTest::newRow("orange") << 7 << QColor(255, 127, 0);
}

void TestLightingLogic::fixedColors()
{
    QFETCH(int, id);
    QFETCH(QColor, color);
    QCOMPARE(QColor(LightingLogic::fixedColor(id)), color);
    QCOMPARE(QColor(LightingLogic::fixedColor(id + 8)), QColor(Qt::black));
}

QTEST_APPLESS_MAIN(TestLightingLogic)
#include "tst_lightinglogic.moc"
