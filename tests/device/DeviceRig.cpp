#include "DeviceRig.h"

#include "device/DeviceState.h"
#include "device/Scrambler.h"

#include <QtTest>

const QStringList DeviceRig::kProductNames = {"Keyboard", "W3 Mouse"};

void resetDeviceState()
{
    encodeEnabled = false;
    deviceReady = false;
    demoMode = false;
    languageIntegrity = true;
    secrecyCode.fill(0);
}

void startWithBothDevicesPlugged()
{
    resetDeviceState();
    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(vhid::Model::Mouse);
    vhid::Bus::instance().plug(vhid::Model::Keyboard);
}

Bytes commandBlock(std::initializer_list<int> leading)
{
    Bytes bytes(8, 0);
    int i = 0;
    for (int value : leading)
        bytes[size_t(i++)] = std::uint8_t(value);
    bytes[7] = scrambler::checkByte(bytes.data());
    return bytes;
}

QList<CatalogEntry> compiledCatalogue()
{
    return readCatalogue(kCataloguePath, DeviceRig::kProductNames).entries;
}

DeviceRig::DeviceRig()
    : owner(std::make_unique<FakeOwner>(dir.filePath("apConfig.bin"))), hid(std::make_unique<Hid_Thread>())
{
    hid->setOwner(owner.get());
}

DeviceRig::~DeviceRig()
{
    if (hid) {
        // A write may still run on the pool; its calls belong to this test.
        if (!hid->waitUntilIdle(10000))
            qWarning("a transfer still holds the token");
        hid->stopMonitor();
    }
    failOnBusViolations();
}

void failOnBusViolations()
{
    const std::string violations = vhid::Bus::instance().violationReport();
    if (!violations.empty() && QTest::currentTestFunction())
        QTest::qFail(("the virtual bus saw faults of the program: " + violations).c_str(), __FILE__, __LINE__);
}

void DeviceRig::detect()
{
    const Catalogue catalogue = readCatalogue(kCataloguePath, kProductNames);
    detect(catalogue.entries, catalogue.isEncode);
}

void DeviceRig::detect(const QList<CatalogEntry> &catalogue, bool isEncode)
{
    hid->rebuildDevices(catalogue);
    encodeEnabled = isEncode;
    hid->swichCurDevice(hid->currentDeviceId());
}

void DeviceRig::startMouseMonitor()
{
    hid->swichCurDevice(0);
    hid->swichCurDevice(1);
    owner->missing.clear();
}

std::vector<vhid::Record> recordsOf(Op op, Model model, Interface iface)
{
    std::vector<vhid::Record> matching;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.op == op && record.model == model && record.iface == iface)
            matching.push_back(record);
    }
    return matching;
}

Bytes receivedCodes(Model model)
{
    Bytes codes;
    for (const vhid::Record &record : recordsOf(Op::SendFeature, model)) {
        if (!record.plainBlock.empty())
            codes.push_back(record.plainBlock.front());
    }
    return codes;
}

vhid::Record firstCommand(Model model, std::uint8_t code)
{
    for (const vhid::Record &record : recordsOf(Op::SendFeature, model)) {
        if (!record.plainBlock.empty() && record.plainBlock.front() == code)
            return record;
    }
    return {};
}

double msBetween(const vhid::Record &earlier, const vhid::Record &later)
{
    return std::chrono::duration<double, std::milli>(later.at - earlier.at).count();
}

QByteArray hex(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size())).toHex(' ');
}

Bytes pattern(int size, int start)
{
    Bytes bytes(std::size_t(size), 0);
    for (int i = 0; i < size; ++i)
        bytes[std::size_t(i)] = std::uint8_t(start + i);
    return bytes;
}
