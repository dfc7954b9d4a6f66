#include "tests/commands/CommandRig.h"

#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "tests/support/ProvenDevice.h"

#include <QTest>

namespace rig {
namespace {

constexpr int kKeyboardSection = 0;
constexpr int kMouseSection = 1;
constexpr int kIdleWaitMs = 10000;
// Longer than any token wait: the holder ends only when the device is pulled out.
constexpr int kBusyDeviceMs = 60000;

}  // namespace

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int value : values)
        out.append(char(value & 0xFF));
    return out;
}

QByteArray filled(int size, uchar value) { return QByteArray(size, char(value)); }

QByteArray pattern(int size, int start)
{
    QByteArray out(size, 0);
    for (int i = 0; i < size; ++i)
        out[i] = char((start + i) & 0xFF);
    return out;
}

QByteArray commandBlock(std::initializer_list<int> codeAndParams)
{
    QByteArray block = bytes(codeAndParams);
    block.append(QByteArray(7 - block.size(), 0));
    uchar sum = 0;
    for (char byte : block)
        sum = uchar(sum + uchar(byte));
    block.append(char(~sum));
    return block;
}

qint64 msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
}

CommandRig::CommandRig(vhid::Model model) : deviceModel(model) {}

void CommandRig::reset()
{
    QVERIFY(hid.waitUntilIdle(kIdleWaitMs));
    bus().reset();
    bus().plug(deviceModel);
    testsupport::markHandshakePassed();
    rescan();
}

void CommandRig::rescan()
{
    const QList<CatalogEntry> shipped = testsupport::shippedCatalogue();
    QVERIFY(shipped.size() > kMouseSection);
    // Only position 1 is searched on the bus: the keyboard's entry goes there to be found.
    const QList<CatalogEntry> catalogue = deviceModel == vhid::Model::Mouse
                                              ? shipped
                                              : QList<CatalogEntry>{shipped[kMouseSection], shipped[kKeyboardSection]};
    hid.rebuildDevices(catalogue);
    bus().clearRecords();
}

void CommandRig::apply(Failure failure)
{
    switch (failure) {
    case Failure::Unplugged:
        bus().unplug(deviceModel);
        rescan();
        break;
    case Failure::DemoMode:
        demoMode = true;
        break;
    case Failure::LanguageIntegrityLost:
        languageIntegrity = false;
        break;
    }
}

void CommandRig::holdToken()
{
    vhid::Faults busy;
    busy.featureReportDelayMs = kBusyDeviceMs;
    bus().setFaults(deviceModel, busy);
    hid.hid_02H_SetCurrentProfile(1);
}

void CommandRig::releaseToken()
{
    bus().unplug(deviceModel);
    QVERIFY(hid.waitUntilIdle(kIdleWaitMs));
    bus().setFaults(deviceModel, vhid::Faults{});
    bus().plug(deviceModel);
}

void CommandRig::verifyNoViolations()
{
    QVERIFY(hid.waitUntilIdle(kIdleWaitMs));
    const std::string violations = bus().violationReport();
    QVERIFY2(violations.empty(), violations.c_str());
}

std::vector<vhid::Record> CommandRig::commandRecords(vhid::Op op) const
{
    std::vector<vhid::Record> found;
    for (const vhid::Record &record : bus().records()) {
        if (record.op == op && record.iface == vhid::Interface::Command)
            found.push_back(record);
    }
    return found;
}

int CommandRig::commandTraffic() const
{
    int count = 0;
    for (vhid::Op op : {vhid::Op::SendFeature, vhid::Op::GetFeature, vhid::Op::Write, vhid::Op::Read})
        count += int(commandRecords(op).size());
    return count;
}

QByteArray CommandRig::sentBlock() const
{
    const std::vector<vhid::Record> sends = commandRecords(vhid::Op::SendFeature);
    if (sends.size() != 1)
        return QByteArray();
    const std::vector<std::uint8_t> &plain = sends.front().plainBlock;
    return QByteArray(reinterpret_cast<const char *>(plain.data()), int(plain.size()));
}

}  // namespace rig
