// The virtual devices answer the hidapi calls as the device protocol says; the other device
// tests and the command-set tests rely on it.
#include "device/ReportFrame.h"
#include "device/Scrambler.h"
#include "virtual/VirtualBus.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QtTest>
#include <array>
#include <atomic>
#include <hidapi/hidapi.h>
#include <string>
#include <thread>

using vhid::Bus;
using vhid::Model;
using Block = std::array<std::uint8_t, 8>;
using Bytes = std::vector<std::uint8_t>;
Q_DECLARE_METATYPE(Block)
Q_DECLARE_METATYPE(Model)

namespace {

Block codeOf(const std::string &text)
{
    Block code{};
    for (std::size_t i = 0; i < 6 && i < text.size(); ++i)
        code[i + 1] = std::uint8_t(text[i]);
    return code;
}

const Block kProgramCode = codeOf("417306");

Block command(std::initializer_list<std::uint8_t> codeAndParams)
{
    Block block{};
    std::copy(codeAndParams.begin(), codeAndParams.end(), block.begin());
    block[7] = scrambler::checkByte(block.data());
    return block;
}

// Sends the block as the program does: report ID 0, scrambled with the program's code.
int send(hid_device *dev, Block block)
{
    scrambler::scramble(block.data(), kProgramCode.data());
    std::uint8_t report[9] = {frame::kReportId};
    std::copy(block.begin(), block.end(), report + 1);
    return hid_send_feature_report(dev, report, sizeof report);
}

// Fetches the reply block, descrambled when asked.
Block reply(hid_device *dev, bool descramble)
{
    std::uint8_t report[9] = {frame::kReportId};
    if (hid_get_feature_report(dev, report, sizeof report) != 9)
        return Block{};
    Block block;
    std::copy(report + 1, report + 9, block.begin());
    if (descramble)
        scrambler::descramble(block.data(), kProgramCode.data());
    return block;
}

struct Ids {
    unsigned short vid, pid, usagePage, usage, usagePage2, usage2;
};

Ids catalogueIds(int section)
{
    const QSettings ini(":/DevInfo.ini", QSettings::IniFormat);
    auto hex = [&](const char *key) {
        return static_cast<unsigned short>(ini.value(QString::number(section) + "/" + key).toString().toUInt(nullptr, 16));
    };
    return {hex("vid"), hex("pid"), hex("usagePage"), hex("usage"), hex("usagePage2"), hex("usage2")};
}

std::string pathOf(Model model, bool event)
{
    const Ids ids = catalogueIds(model == Model::Mouse ? 1 : 0);
    std::string path;
    hid_device_info *list = hid_enumerate(ids.vid, ids.pid);
    for (hid_device_info *it = list; it; it = it->next) {
        if (it->usage_page == (event ? ids.usagePage2 : ids.usagePage) && it->usage == (event ? ids.usage2 : ids.usage))
            path = it->path;
    }
    hid_free_enumeration(list);
    return path;
}

hid_device *openInterface(Model model, bool event = false)
{
    return hid_open_path(pathOf(model, event).c_str());
}

QByteArray hex(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size())).toHex(' ');
}

Bytes readReport(hid_device *dev, int timeoutMs, int length = 64)
{
    Bytes buffer(std::size_t(length), 0);
    const int got = hid_read_timeout(dev, buffer.data(), buffer.size(), timeoutMs);
    buffer.resize(std::size_t(std::max(got, 0)));
    return buffer;
}

}  // namespace

class TestVirtualDevice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enumerationListsBothInterfacesOfPluggedDevices();
    void challengeIsEchoed();
    void wrongSecrecyTextOrFaultBreaksTheEcho();
    void setIsReadBackAtTheGetPositions_data();
    void setIsReadBackAtTheGetPositions();
    void outgoingDataPhaseIsStoredWhenComplete();
    void incomingDataPhaseAndStall();
    void acknowledgesOnTheEventInterface();
    void dataPhaseNobodyReadsIsAViolation();
    void refusesMalformedReports_data();
    void refusesMalformedReports();
    void overlappingCallsAreAViolation();
    void unpluggedHandlesFail();
    void unknownCodesAreRecordedAndIgnored();
};

void TestVirtualDevice::init()
{
    Bus::instance().reset();
    Bus::instance().plug(Model::Mouse);
    Bus::instance().plug(Model::Keyboard);
}

void TestVirtualDevice::cleanup()
{
    QCOMPARE(Bus::instance().openHandles(), 0);
    const std::string violations = Bus::instance().violationReport();
    QVERIFY2(violations.empty(), violations.c_str());
}

void TestVirtualDevice::enumerationListsBothInterfacesOfPluggedDevices()
{
    const Ids mouse = catalogueIds(1);
    QVERIFY(mouse.vid != 0);
    hid_device_info *list = hid_enumerate(mouse.vid, mouse.pid);
    QVERIFY(list && list->next && !list->next->next);
    QCOMPARE(list->usage_page, mouse.usagePage);
    QCOMPARE(list->usage, mouse.usage);
    QCOMPARE(list->next->usage_page, mouse.usagePage2);
    QCOMPARE(list->next->usage, mouse.usage2);
    QVERIFY(std::string(list->path) != list->next->path);
    hid_free_enumeration(list);

    list = hid_enumerate(0, 0);
    int count = 0;
    for (hid_device_info *it = list; it; it = it->next)
        ++count;
    hid_free_enumeration(list);
    QCOMPARE(count, 4);

    Bus::instance().unplug(Model::Mouse);
    QVERIFY(!hid_enumerate(mouse.vid, mouse.pid));
    QVERIFY(!openInterface(Model::Mouse));
}

void TestVirtualDevice::challengeIsEchoed()
{
    hid_device *dev = openInterface(Model::Mouse);
    QVERIFY(dev);
    QCOMPARE(send(dev, command({0x00, 0x11, 0x22, 0x33, 0x44})), 9);
    const Block answer = reply(dev, true);
    hid_close(dev);
    QCOMPARE(hex({answer.begin(), answer.end()}), hex({0x00, 0x11, 0x22, 0x33, 0x44, 0x00, 0x00, 0x55}));

    const std::vector<vhid::Record> records = Bus::instance().records();
    QCOMPARE(records.size(), std::size_t(4));
    QCOMPARE(records[3].op, vhid::Op::Close);
    QCOMPARE(records[1].op, vhid::Op::SendFeature);
    QCOMPARE(hex(records[1].plainBlock), hex({0x00, 0x11, 0x22, 0x33, 0x44, 0x00, 0x00, 0x55}));
    QCOMPARE(records[2].op, vhid::Op::GetFeature);
    QCOMPARE(records[2].bytes.size(), std::size_t(9));
}

void TestVirtualDevice::wrongSecrecyTextOrFaultBreaksTheEcho()
{
    const Block challenge = command({0x00, 0x11, 0x22, 0x33, 0x44});
    vhid::Faults faults;
    faults.wrongChallengeAnswer = true;
    Bus::instance().setFaults(Model::Mouse, faults);
    hid_device *dev = openInterface(Model::Mouse);
    send(dev, challenge);
    Block answer = reply(dev, true);
    QVERIFY(!std::equal(answer.begin() + 1, answer.begin() + 5, challenge.begin() + 1));

    // Descrambled with another code, the block's check byte is wrong: the device refuses it.
    Bus::instance().setFaults(Model::Mouse, {});
    Bus::instance().setSecrecyText(Model::Mouse, "123456");
    QCOMPARE(send(dev, challenge), -1);
    answer = reply(dev, true);
    QVERIFY(!std::equal(answer.begin() + 1, answer.begin() + 5, challenge.begin() + 1));
    hid_close(dev);
    const std::vector<std::string> refused = Bus::instance().takeViolations();
    QCOMPARE(refused.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(refused[0]).contains("wrong check byte"));
}

void TestVirtualDevice::setIsReadBackAtTheGetPositions_data()
{
    QTest::addColumn<Model>("model");
    QTest::addColumn<Block>("set");
    QTest::addColumn<Block>("get");
    QTest::addColumn<QByteArray>("answer");  // A0 to A6 of the plain reply
    QTest::newRow("mouse 03H/83H") << Model::Mouse << command({0x03, 2, 4, 0xC0, 7}) << command({0x83})
                                   << QByteArray("83 02 04 c0 07 00 00");
    QTest::newRow("mouse 07H/87H type 1") << Model::Mouse << command({0x07, 1, 9, 8, 7}) << command({0x87, 1})
                                          << QByteArray("87 01 09 08 07 00 00");
    QTest::newRow("mouse 0DH/8DH") << Model::Mouse << command({0x0D, 3, 200, 5}) << command({0x8D})
                                   << QByteArray("8d 03 c8 05 00 00 00");
    QTest::newRow("mouse 0BH/8BH") << Model::Mouse << command({0x0B, 6}) << command({0x8B})
                                   << QByteArray("8b 06 00 00 00 00 00");
    QTest::newRow("mouse 01H/81H") << Model::Mouse << command({0x01, 8}) << command({0x81})
                                   << QByteArray("81 08 00 00 00 00 00");
    QTest::newRow("keyboard 02H/82H") << Model::Keyboard << command({0x02, 9}) << command({0x82})
                                      << QByteArray("82 09 00 00 00 00 00");
    QTest::newRow("keyboard 03H/83H") << Model::Keyboard << command({0x03, 1, 2, 3, 4}) << command({0x83})
                                      << QByteArray("83 01 02 03 04 00 00");
    QTest::newRow("keyboard 04H/84H") << Model::Keyboard << command({0x04, 5, 6, 7, 8}) << command({0x84})
                                      << QByteArray("84 05 06 07 08 00 00");
    QTest::newRow("keyboard 08H/88H") << Model::Keyboard << command({0x08, 1, 2, 3, 4, 5, 6}) << command({0x88})
                                      << QByteArray("88 01 02 03 04 05 06");
    QTest::newRow("keyboard 09H/89H") << Model::Keyboard << command({0x09, 3}) << command({0x89})
                                      << QByteArray("89 03 00 00 00 00 00");
    QTest::newRow("keyboard 14H/94H") << Model::Keyboard << command({0x14, 0, 2, 255, 0, 16}) << command({0x94, 0, 2})
                                      << QByteArray("94 00 02 ff 00 10 00");
}

void TestVirtualDevice::setIsReadBackAtTheGetPositions()
{
    QFETCH(Model, model);
    QFETCH(Block, set);
    QFETCH(Block, get);
    QFETCH(QByteArray, answer);
    hid_device *dev = openInterface(model);
    QVERIFY(dev);
    QCOMPARE(send(dev, set), 9);
    QCOMPARE(send(dev, get), 9);
    const Block plain = reply(dev, true);
    hid_close(dev);
    QCOMPARE(hex({plain.begin(), plain.begin() + 7}), answer);
    QCOMPARE(plain[7], scrambler::checkByte(plain.data()));
}

void TestVirtualDevice::outgoingDataPhaseIsStoredWhenComplete()
{
    hid_device *dev = openInterface(Model::Mouse);
    QVERIFY(dev);
    QCOMPARE(send(dev, command({0x12, 0x01, 0x40, 0x08})), 9);
    Bytes report(33, 0);
    for (int i = 0; i < 32; ++i)
        report[std::size_t(i) + 1] = std::uint8_t(0xA0 + i);
    QCOMPARE(hid_write(dev, report.data(), report.size()), 33);
    Bytes stored;
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { stored = m.keyMatrix; });
    QVERIFY2(stored[0] != 0xA0, "half a payload is not stored");
    QCOMPARE(hid_write(dev, report.data(), report.size()), 33);
    hid_close(dev);
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { stored = m.keyMatrix; });
    QCOMPARE(stored.size(), std::size_t(64));
    QCOMPARE(stored[0], std::uint8_t(0xA0));
    QCOMPARE(stored[63], std::uint8_t(0xA0 + 31));
}

void TestVirtualDevice::incomingDataPhaseAndStall()
{
    Bytes matrix;
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { matrix = m.keyMatrix; });
    QCOMPARE(matrix.size(), std::size_t(64));
    hid_device *dev = openInterface(Model::Mouse);
    send(dev, command({0x92, 0x01}));
    const Block plain = reply(dev, false);  // left plain: a data phase follows
    QCOMPARE(plain[0], std::uint8_t(0x92));
    QCOMPARE(hex(readReport(dev, 100)), hex(Bytes(matrix.begin(), matrix.begin() + 32)));
    QCOMPARE(hex(readReport(dev, 100)), hex(Bytes(matrix.begin() + 32, matrix.end())));
    QCOMPARE(readReport(dev, 0).size(), std::size_t(0));

    vhid::Faults faults;
    faults.dataReportsBeforeStall = 1;
    Bus::instance().setFaults(Model::Mouse, faults);
    send(dev, command({0x92, 0x01}));
    reply(dev, false);
    QCOMPARE(readReport(dev, 100).size(), std::size_t(32));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(readReport(dev, 150).size(), std::size_t(0));
    QVERIFY(timer.elapsed() >= 140);
    hid_close(dev);
}

// Each open handle has its own queue: a report reaches the handles open when it arrives.
void TestVirtualDevice::acknowledgesOnTheEventInterface()
{
    hid_device *commands = openInterface(Model::Mouse);
    send(commands, command({0x0B, 3}));
    // Long past the firmware's acknowledgement time: it arrived while nobody listened.
    QTest::qWait(100);
    hid_device *events = openInterface(Model::Mouse, true);
    QVERIFY(events);
    QCOMPARE(readReport(events, 50, 4).size(), std::size_t(0));

    hid_device *secondReader = openInterface(Model::Mouse, true);
    send(commands, command({0x0B, 3}));
    QCOMPARE(hex(readReport(events, 500, 4)), QByteArray("04 04 00 00"));
    QCOMPARE(hex(readReport(secondReader, 500, 4)), QByteArray("04 04 00 00"));
    hid_close(secondReader);

    Bus::instance().setAcknowledges(Model::Mouse, false);
    send(commands, command({0x0B, 3}));
    QCOMPARE(readReport(events, 100, 4).size(), std::size_t(0));
    hid_close(events);
    hid_close(commands);
}

void TestVirtualDevice::dataPhaseNobodyReadsIsAViolation()
{
    hid_device *dev = openInterface(Model::Mouse);
    send(dev, command({0x92, 0x01}));
    reply(dev, false);
    QCOMPARE(readReport(dev, 100).size(), std::size_t(32));  // the second report stays unread
    hid_close(dev);
    const std::vector<std::string> violations = Bus::instance().takeViolations();
    QCOMPARE(violations.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(violations[0]).contains("never read"));

    // Read through a second handle opened before the command, nothing is lost.
    hid_device *reader = openInterface(Model::Mouse);
    dev = openInterface(Model::Mouse);
    send(dev, command({0x92, 0x01}));
    hid_close(dev);
    QCOMPARE(readReport(reader, 100).size(), std::size_t(32));
    QCOMPARE(readReport(reader, 100).size(), std::size_t(32));
    hid_close(reader);
}

// What the real device refuses fails the call and is recorded against the program.
void TestVirtualDevice::refusesMalformedReports_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<bool>("feature");
    QTest::addColumn<QString>("violation");
    Block wrongCheck = command({0x0B, 3});
    wrongCheck[7] ^= 0x01;
    QByteArray scrambled(1, 0);
    scrambler::scramble(wrongCheck.data(), kProgramCode.data());
    scrambled.append(reinterpret_cast<const char *>(wrongCheck.data()), 8);
    QTest::newRow("feature: wrong check byte") << scrambled << true << "wrong check byte";
    QTest::newRow("feature: 8 bytes") << scrambled.left(8) << true << "8 bytes";
    QByteArray reportId1 = scrambled;
    reportId1[0] = 1;
    QTest::newRow("feature: report ID 1") << reportId1 << true << "report ID 1";
    QTest::newRow("output: 32 bytes") << QByteArray(32, 0) << false << "32 bytes";
    QByteArray outputId2(33, 0);
    outputId2[0] = 2;
    QTest::newRow("output: report ID 2") << outputId2 << false << "report ID 2";
}

void TestVirtualDevice::refusesMalformedReports()
{
    QFETCH(QByteArray, report);
    QFETCH(bool, feature);
    QFETCH(QString, violation);
    hid_device *dev = openInterface(Model::Mouse);
    const auto *bytes = reinterpret_cast<const unsigned char *>(report.constData());
    const int result = feature ? hid_send_feature_report(dev, bytes, size_t(report.size()))
                               : hid_write(dev, bytes, size_t(report.size()));
    hid_close(dev);
    QCOMPARE(result, -1);
    const std::vector<std::string> violations = Bus::instance().takeViolations();
    QCOMPARE(violations.size(), std::size_t(1));
    QVERIFY2(QString::fromStdString(violations[0]).contains(violation), violations[0].c_str());
    Bus::instance().withMouse([](vhid::MouseMemory &m) { QCOMPARE(int(m.dpiStage), 2); });
}

// Two calls at the same time from two threads are a violation, however short they are.
void TestVirtualDevice::overlappingCallsAreAViolation()
{
    const Ids mouse = catalogueIds(1);
    struct Enumerators {
        std::atomic<bool> stop{false};
        std::vector<std::thread> threads;
        ~Enumerators()
        {
            stop = true;
            for (std::thread &thread : threads)
                thread.join();
        }
    };
    std::vector<std::string> violations;
    {
        Enumerators enumerators;
        for (int i = 0; i < 2; ++i) {
            enumerators.threads.emplace_back([&] {
                while (!enumerators.stop)
                    hid_free_enumeration(hid_enumerate(mouse.vid, mouse.pid));
            });
        }
        const auto collected = [&] {
            for (const std::string &violation : Bus::instance().takeViolations())
                violations.push_back(violation);
            return !violations.empty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(collected(), 10000);
    }
    QVERIFY2(QString::fromStdString(violations[0]).contains("while hid_"), violations[0].c_str());
    Bus::instance().takeViolations();

    // One after the other on two threads is fine.
    std::thread([&] { hid_free_enumeration(hid_enumerate(mouse.vid, mouse.pid)); }).join();
    std::thread([&] { hid_free_enumeration(hid_enumerate(mouse.vid, mouse.pid)); }).join();
    QVERIFY(Bus::instance().takeViolations().empty());
}

void TestVirtualDevice::unpluggedHandlesFail()
{
    hid_device *dev = openInterface(Model::Mouse);
    QVERIFY(dev);
    Bus::instance().unplug(Model::Mouse);
    QCOMPARE(send(dev, command({0x81})), -1);
    std::uint8_t buffer[33] = {};
    QCOMPARE(hid_write(dev, buffer, sizeof buffer), -1);
    QCOMPARE(hid_read_timeout(dev, buffer, sizeof buffer, 10), -1);
    Bus::instance().plug(Model::Mouse);
    QCOMPARE(send(dev, command({0x81})), -1);  // a handle of the old connection stays dead
    hid_close(dev);
    dev = openInterface(Model::Mouse);
    QCOMPARE(send(dev, command({0x81})), 9);
    hid_close(dev);
}

void TestVirtualDevice::unknownCodesAreRecordedAndIgnored()
{
    vhid::MouseMemory before;
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { before = m; });
    hid_device *dev = openInterface(Model::Mouse);
    send(dev, command({0x55, 1, 2, 3}));
    send(dev, command({0xE0}));
    hid_close(dev);
    QCOMPARE(hex(Bus::instance().unknownCodes(Model::Mouse)), QByteArray("55 e0"));
    Bus::instance().withMouse([&](vhid::MouseMemory &m) {
        QCOMPARE(m.reportRate, before.reportRate);
        QCOMPARE(m.dpiStage, before.dpiStage);
    });
}

QTEST_GUILESS_MAIN(TestVirtualDevice)
#include "tst_virtualdevice.moc"
