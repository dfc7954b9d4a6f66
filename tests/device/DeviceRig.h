#pragma once
// A device object wired to the virtual bus, as the shell wires it: a fake owner with its own
// application configuration, a detection that reads the compiled catalogue, and helpers that
// read the bus record.
#include "device/DeviceOwner.h"
#include "device/Hid_Thread.h"
#include "virtual/VirtualBus.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class FakeOwner : public DeviceOwner {
public:
    explicit FakeOwner(const QString &configPath) : config(configPath, QSettings::IniFormat) {}
    QSettings *applicationConfig() const override { return &config; }
    void reportDeviceMissing(const QString &deviceName) override { missing << deviceName; }

    mutable QSettings config;
    QStringList missing;  // names of reportDeviceMissing calls, in order
};

// Fails the running test when the virtual bus recorded faults of the program (overlapping
// hidapi calls, refused reports, lost data-phase reports) since the last check. A rig checks
// when it goes, at the end of each test.
void failOnBusViolations();
// Process-wide device flags as they are when the program starts.
void resetDeviceState();
// Starting point of a device test: flags as at start, a bus with the mouse and the keyboard.
void startWithBothDevicesPlugged();

struct DeviceRig {
    static const QStringList kProductNames;  // "Keyboard", "W3 Mouse"

    DeviceRig();
    ~DeviceRig();

    // One detection as the shell runs it: catalogue, scan, scrambling switch, handshake.
    void detect();
    // The same with the entries given instead of the compiled catalogue.
    void detect(const QList<CatalogEntry> &catalogue, bool isEncode = true);
    // Starts the monitor task on the mouse entry (a selection away and back) and forgets the
    // warnings the detour caused.
    void startMouseMonitor();

    QTemporaryDir dir;
    std::unique_ptr<FakeOwner> owner;
    std::unique_ptr<Hid_Thread> hid;
};

QList<CatalogEntry> compiledCatalogue();

// --- The bus record -------------------------------------------------------------------------
using vhid::Interface;
using vhid::Model;
using vhid::Op;
using Bytes = std::vector<std::uint8_t>;

std::vector<vhid::Record> recordsOf(Op op, Model model, Interface iface = Interface::Command);
// Command codes the device received, in order (plain blocks of the sent feature reports).
Bytes receivedCodes(Model model);
// The plain block of the first feature report with this code.
vhid::Record firstCommand(Model model, std::uint8_t code);
double msBetween(const vhid::Record &earlier, const vhid::Record &later);
QByteArray hex(const Bytes &bytes);
Bytes pattern(int size, int start = 1);
// A plain command block: the leading bytes given, zeros, then its check byte.
Bytes commandBlock(std::initializer_list<int> leading);
