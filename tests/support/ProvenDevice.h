#pragma once
// Where tests of what follows the handshake start: one virtual device on the bus, the flags a
// passed handshake leaves behind, and a Hid_Thread that has found the device through the
// catalogue. The handshake itself is tested in tests/device.
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "virtual/VirtualBus.h"

#include <QList>

namespace testsupport {

constexpr const char *kVirtualSecrecyText = "417306";  // the virtual devices' default

// What the handshake sets when the device proved genuine.
inline void markHandshakePassed()
{
    deviceReady = true;
    demoMode = false;
    languageIntegrity = true;
    encodeEnabled = true;
    secrecyCode = {};
    for (int i = 0; i < 6; ++i)
        secrecyCode[size_t(i) + 1] = std::uint8_t(kVirtualSecrecyText[i]);
}

inline QList<CatalogEntry> shippedCatalogue()
{
    return readCatalogue(kCataloguePath, {}).entries;
}

// Only `model` on the bus, proven, found by `hid`; the bus's records start empty.
inline void plugProvenDevice(Hid_Thread &hid, vhid::Model model = vhid::Model::Mouse,
                             const QList<CatalogEntry> &catalogue = shippedCatalogue())
{
    vhid::Bus &bus = vhid::Bus::instance();
    bus.reset();
    bus.plug(model);
    markHandshakePassed();
    hid.rebuildDevices(catalogue);
    bus.clearRecords();
}

}  // namespace testsupport
