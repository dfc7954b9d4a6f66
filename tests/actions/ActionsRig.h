#pragma once
// The real controllers and page actions over a proven virtual mouse with a 3320 sensor (whose
// indicator takes only the fixed colours), in the working directory's modules folder; the
// bus's records start empty. Nothing is started: each test starts the units it reads.
#include "actions/PageActions.h"
#include "controller/Controllers.h"
#include "controller/ProfileStore.h"
#include "tests/support/ProvenDevice.h"

#include <QtTest>
#include <vector>

struct ActionsRig {
    static constexpr int kSensor3320 = 1;
    static constexpr int kIdleTimeoutMs = 10000;

    ActionsRig()
    {
        testsupport::plugProvenDevice(hid);
        vhid::Bus::instance().withMouse([](vhid::MouseMemory &mouse) { mouse.sensorType = kSensor3320; });
        controllers.setHidThread(&hid);
        vhid::Bus::instance().clearRecords();
    }
    ~ActionsRig() { settle(); }

    // Every transfer done and the profile written.
    void settle()
    {
        QVERIFY(hid.waitUntilIdle(kIdleTimeoutMs));
        controllers.profiles->flush();
    }

    std::vector<std::uint8_t> mouseMatrix() const
    {
        std::vector<std::uint8_t> matrix;
        vhid::Bus::instance().withMouse([&](vhid::MouseMemory &mouse) { matrix = mouse.keyMatrix; });
        return matrix;
    }

    Hid_Thread hid;
    Controllers controllers;
    PageActions actions{controllers};
};
