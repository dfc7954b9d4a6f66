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
