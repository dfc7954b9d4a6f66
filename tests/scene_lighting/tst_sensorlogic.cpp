// The DPI tables, the stage byte encoder both ways and the report rate positions.
#include <QtTest>

#include "scenelogic/SensorLogic.h"

class TestSensorLogic : public QObject {
    Q_OBJECT
private slots:
    void encoder_data();
    void encoder();
    void valueMenus_data();
    void valueMenus();
    void everyMenuValueRoundTrips();
    void encodeStagesFillsEightBytes();
    void storedStages_data();
    void storedStages();
    void stageInUse_data();
    void stageInUse();
    void reportRate_data();
    void reportRate();
    void reportRateValueOfEveryPosition();
};

void TestSensorLogic::encoder_data()
{
    QTest::addColumn<int>("sensorType");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("decoded");

    QTest::newRow("3050 250") << 0 << 250 << 0x01 << 250;
    QTest::newRow("3050 2000") << 0 << 2000 << 0x08 << 2000;
    QTest::newRow("3050 2500 doubled") << 0 << 2500 << 0x45 << 2500;
    QTest::newRow("3050 4000 doubled") << 0 << 4000 << 0x48 << 4000;
    QTest::newRow("3320 1750") << 1 << 1750 << 0x07 << 1750;
    QTest::newRow("3320 3500") << 1 << 3500 << 0x0E << 3500;
    QTest::newRow("3320 7000 doubled") << 1 << 7000 << 0x4E << 7000;
    QTest::newRow("5050 250") << 2 << 250 << 0x02 << 250;
    QTest::newRow("5050 1250") << 2 << 1250 << 0x0A << 1250;
    QTest::newRow("5050 2750 doubled") << 2 << 2750 << 0x4B << 2750;
    QTest::newRow("3325 400") << 3 << 400 << 0x03 << 400;
    QTest::newRow("3325 4800") << 3 << 4800 << 0x2F << 4800;
    QTest::newRow("3325 6000 doubled") << 3 << 6000 << 0x5D << 6000;
    QTest::newRow("3325 10000 doubled") << 3 << 10000 << 0x71 << 10000;
    for (int type = 0; type < 4; ++type)
        QTest::addRow("type %d unused stage", type) << type << 0 << 0x80 << 0;
    QTest::newRow("3050 value outside the table") << 0 << 1100 << 0x80 << 0;
    QTest::newRow("3320 value of another sensor") << 1 << 250 << 0x80 << 0;
    QTest::newRow("5050 above the table") << 2 << 3000 << 0x80 << 0;
    QTest::newRow("3325 negative") << 3 << -400 << 0x80 << 0;
    QTest::newRow("unknown sensor") << 4 << 1000 << 0x80 << 0;
}

void TestSensorLogic::encoder()
{
    QFETCH(int, sensorType);
    QFETCH(int, dpi);
    QFETCH(int, code);
    QFETCH(int, decoded);
    QCOMPARE(SensorLogic::encode(sensorType, dpi), code);
    QCOMPARE(SensorLogic::decode(sensorType, code), decoded);
}

void TestSensorLogic::valueMenus_data()
{
    QTest::addColumn<int>("sensorType");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("menuLength");
    QTest::addColumn<int>("last");
    QTest::addColumn<QList<int>>("defaults");

    QTest::newRow("3050") << 0 << "ANDS3050" << 13 << 4000 << QList<int>{500, 1000, 1500, 2000, 0, 0, 0, 0};
    QTest::newRow("3320") << 1 << "ANDS3320" << 12 << 7000 << QList<int>{1000, 2500, 3500, 7000, 0, 0, 0, 0};
    QTest::newRow("5050") << 2 << "ANDS5050" << 11 << 2750 << QList<int>{500, 1000, 1500, 2500, 0, 0, 0, 0};
    QTest::newRow("3325") << 3 << "ANDS3325" << 18 << 10000 << QList<int>{1000, 2000, 4000, 8000, 0, 0, 0, 0};
    QTest::newRow("unknown") << 5 << "" << 0 << 0 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("negative") << -1 << "" << 0 << 0 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
}

void TestSensorLogic::valueMenus()
{
    QFETCH(int, sensorType);
    QFETCH(QString, name);
    QFETCH(int, menuLength);
    QFETCH(int, last);
    QFETCH(QList<int>, defaults);

    const QList<int> menu = SensorLogic::valueMenu(sensorType);
    QCOMPARE(SensorLogic::sensorName(sensorType), name);
    QCOMPARE(menu.size(), menuLength);
    if (menuLength > 0) {
        QCOMPARE(menu.first(), 0);
        QCOMPARE(menu.last(), last);
    }
    QCOMPARE(SensorLogic::defaultStages(sensorType), defaults);
    for (int value : defaults)
        QVERIFY2(value == 0 || menu.contains(value), qPrintable(QString::number(value)));
}

void TestSensorLogic::everyMenuValueRoundTrips()
{
    for (int type = 0; type < 4; ++type) {
        for (int value : SensorLogic::valueMenu(type))
            QCOMPARE(SensorLogic::decode(type, SensorLogic::encode(type, value)), value);
    }
}

void TestSensorLogic::encodeStagesFillsEightBytes()
{
    QCOMPARE(SensorLogic::encodeStages(0, {500, 1000, 0, 2500}),
             (QVariantList{0x02, 0x04, 0x80, 0x45, 0x80, 0x80, 0x80, 0x80}));
    QCOMPARE(SensorLogic::encodeStages(3, {400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000}),
             (QVariantList{0x03, 0x05, 0x07, 0x09, 0x0B, 0x0D, 0x0F, 0x11}));
}

// Stored lists on each sensor: what the page and w3ctl show and send, and which stages were
// moved to a value of the sensor.
void TestSensorLogic::storedStages_data()
{
    QTest::addColumn<int>("sensorType");
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<QList<int>>("usable");
    QTest::addColumn<QList<int>>("adjusted");  // stage numbers, 0-based
    const QVariantList shipped = {500, 1000, 1500, 2000, 2500, 3000, 4000, 5000};
    QTest::newRow("shipped list, ANDS3050") << 0 << shipped
                                            << QList<int>{500, 1000, 1500, 2000, 2500, 3000, 4000, 4000}
                                            << QList<int>{7};
    QTest::newRow("shipped list, ANDS3320") << 1 << shipped
                                            << QList<int>{500, 1000, 1750, 2000, 2500, 3000, 4000, 5000}
                                            << QList<int>{2};
    QTest::newRow("shipped list, ANDS5050") << 2 << shipped
                                            << QList<int>{500, 1000, 1500, 2000, 2500, 2750, 2750, 2750}
                                            << QList<int>{5, 6, 7};
    // 500, 1500 and 3000 lie halfway between two values: the lower one is taken.
    QTest::newRow("shipped list, ANDS3325") << 3 << shipped
                                            << QList<int>{400, 1000, 1400, 2000, 2400, 2800, 4000, 4800}
                                            << QList<int>{0, 2, 4, 5, 7};
    QTest::newRow("values of the table stay") << 3 << QVariantList{400, 10000, 0, 6000}
                                              << QList<int>{400, 10000, 0, 6000, 0, 0, 0, 0} << QList<int>{};
    QTest::newRow("beyond both ends") << 1 << QVariantList{1, 99999, 499, 7001}
                                      << QList<int>{500, 7000, 500, 7000, 0, 0, 0, 0} << QList<int>{0, 1, 2, 3};
    QTest::newRow("text as the file holds it") << 1 << QVariantList{"1500", " 2000", "2600.0"}
                                               << QList<int>{1750, 2000, 2500, 0, 0, 0, 0, 0} << QList<int>{0, 2};
    QTest::newRow("what is no value is unused") << 1 << QVariantList{"x", -500, "", 0, QVariant()}
                                                << QList<int>{0, 0, 0, 0, 0, 0, 0, 0} << QList<int>{};
    QTest::newRow("unknown sensor") << 9 << shipped << QList<int>{0, 0, 0, 0, 0, 0, 0, 0} << QList<int>{};
}

void TestSensorLogic::storedStages()
{
    QFETCH(int, sensorType);
    QFETCH(QVariantList, stored);
    QFETCH(QList<int>, usable);
    QFETCH(QList<int>, adjusted);
    QCOMPARE(SensorLogic::usableStages(sensorType, stored), usable);
    QVariantList adjustedFlags;
    for (int stage = 0; stage < SensorLogic::kStageCount; ++stage)
        adjustedFlags << adjusted.contains(stage);
    QCOMPARE(SensorLogic::adjustedStages(sensorType, stored), adjustedFlags);
    // A stage the profile uses is never sent as unused.
    const QVariantList codes = SensorLogic::encodeStages(sensorType, usable);
    for (int stage = 0; stage < SensorLogic::kStageCount; ++stage)
        QCOMPARE(codes.at(stage).toInt() == SensorLogic::kUnusedStageCode, usable.at(stage) == 0);
}

void TestSensorLogic::stageInUse_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("stageCount");
    QTest::addColumn<int>("inUse");
    const QList<int> gaps = {500, 0, 0, 2000, 0, 3000, 0, 0};
    QTest::newRow("a used stage stays") << gaps << 3 << 8 << 3;
    QTest::newRow("the lower of two as near") << gaps << 4 << 8 << 3;
    QTest::newRow("the nearer one above") << gaps << 2 << 8 << 3;
    QTest::newRow("the nearer one below") << gaps << 1 << 8 << 0;
    QTest::newRow("after the last used") << gaps << 7 << 8 << 5;
    QTest::newRow("beyond the mouse's stages") << gaps << 5 << 4 << 3;
    QTest::newRow("stored far beyond") << gaps << 12 << 8 << 5;
    QTest::newRow("stored below") << gaps << -3 << 8 << 0;
    QTest::newRow("nothing used") << QList<int>{0, 0, 0, 0, 700, 0, 0, 0} << 0 << 4 << int(SensorLogic::kNoStage);
}

void TestSensorLogic::stageInUse()
{
    QFETCH(QList<int>, values);
    QFETCH(int, stage);
    QFETCH(int, stageCount);
    QFETCH(int, inUse);
    QCOMPARE(SensorLogic::stageInUse(values, stage, stageCount), inUse);
}

void TestSensorLogic::reportRate_data()
{
    QTest::addColumn<int>("deviceValue");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("label");

    QTest::newRow("1") << 1 << 3 << "1000 Hz";
    QTest::newRow("2") << 2 << 2 << "500 Hz";
    QTest::newRow("4") << 4 << 1 << "250 Hz";
    QTest::newRow("8") << 8 << 0 << "125 Hz";
    QTest::newRow("0 has no set bit") << 0 << 3 << "1000 Hz";
    QTest::newRow("3 reads its lowest bit") << 3 << 3 << "1000 Hz";
    QTest::newRow("12 reads its lowest bit") << 12 << 1 << "250 Hz";
    QTest::newRow("16 beyond 125 Hz") << 16 << 0 << "125 Hz";
}

void TestSensorLogic::reportRate()
{
    QFETCH(int, deviceValue);
    QFETCH(int, position);
    QFETCH(QString, label);
    QCOMPARE(SensorLogic::reportRatePosition(deviceValue), position);
    QCOMPARE(SensorLogic::reportRateLabels().at(position), label);
}

void TestSensorLogic::reportRateValueOfEveryPosition()
{
    const QList<int> values{8, 4, 2, 1};
    for (int position = 0; position < values.size(); ++position) {
        QCOMPARE(SensorLogic::reportRateValue(position), values.at(position));
        QCOMPARE(SensorLogic::reportRatePosition(values.at(position)), position);
    }
}

QTEST_APPLESS_MAIN(TestSensorLogic)
#include "tst_sensorlogic.moc"
