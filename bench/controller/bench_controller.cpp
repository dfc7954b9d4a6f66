// Latency of the mouse settings operations on the virtual mouse, on a private copy of the
// run folder's modules/. Prints median figures; never fails.
//   setter: profile write plus the start of the Set transfer (the call the scene waits for)
//   getter: a profile-reading getter
// Goal for each: below 1 ms.
#include "controller/ControllerContext.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "device/Catalogue.h"
#include "device/DeviceOwner.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kSamples = 200;
constexpr double kGoalMs = 1.0;

class BenchOwner : public DeviceOwner {
public:
    explicit BenchOwner(const QString &configPath) : config(configPath, QSettings::IniFormat) {}
    QSettings *applicationConfig() const override { return &config; }
    void reportDeviceMissing(const QString &deviceName) override
    {
        std::printf("device missing: %s\n", qPrintable(deviceName));
    }
    mutable QSettings config;
};

void copyModules(const QString &source, const QString &target)
{
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = target + file.mid(source.size());
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(file, copy);
    }
}

// Median of kSamples timed calls; `between` runs untimed before each call.
double medianMs(const std::function<void(int)> &call, const std::function<void()> &between)
{
    std::vector<double> samples;
    samples.reserve(kSamples);
    QElapsedTimer timer;
    for (int i = 0; i < kSamples; ++i) {
        between();
        timer.start();
        call(i);
        samples.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
    return samples[kSamples / 2];
}

void print(const char *name, double ms)
{
    std::printf("%-52s median %8.1f us  (goal < %.0f ms: %s)\n", name, ms * 1000.0, kGoalMs,
                ms < kGoalMs ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir sandbox;
    copyModules(QCoreApplication::applicationDirPath() + "/modules", sandbox.path() + "/modules");
    QDir::setCurrent(sandbox.path());

    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(vhid::Model::Mouse);
    BenchOwner owner("./modules/setting/apConfig.bin");
    Hid_Thread hid;
    hid.setOwner(&owner);
    const Catalogue catalogue = readCatalogue(kCataloguePath, {});
    hid.rebuildDevices(catalogue.entries);
    encodeEnabled = catalogue.isEncode;
    hid.swichCurDevice(hid.currentDeviceId());
    if (!deviceReady) {
        std::printf("the virtual mouse did not pass the handshake; no figures\n");
        return 0;
    }

    ControllerContext context;
    context.hidThread = &hid;
    ProfileStore profiles;
    MouseOperations mouse(context, profiles);
    const auto idle = [&] { hid.waitUntilIdle(5000); };
    const auto nothing = [] {};

    std::printf("Mouse settings operations, %d samples each:\n", kSamples);
    print("ui_0BH_SetCurrentDPIStage (profile + Set start)",
          medianMs([&](int i) { mouse.ui_0BH_SetCurrentDPIStage(uchar(1 + i % 8)); }, idle));
    const QVariantList codes{4, 8, 12, 16, 24, 32, 40, 48};
    const QVariantList values{1000, 2000, 3000, 4000, 6000, 8000, 10000, 12000};
    print("ui_11H_SetDPISet (profile + Set start)",
          medianMs([&](int i) { mouse.ui_11H_SetDPISet(uchar(8 - i % 2), codes, values); }, idle));
    print("ui_8BH_GetCurrentDPIStage (profile read)",
          medianMs([&](int) { mouse.ui_8BH_GetCurrentDPIStage(); }, nothing));
    print("ui_91H_GetDPISet (profile read)", medianMs([&](int) { mouse.ui_91H_GetDPISet(); }, nothing));
    print("ui_90H_GetLED8StageColor (profile read)",
          medianMs([&](int) { mouse.ui_90H_GetLED8StageColor(0); }, nothing));
    // For information (no goal): the deferred flush that writes the profile file later on the
    // event loop; QSettings writes through a synced temporary file, so the disk sets the pace.
    const double flushMs = medianMs([&](int i) {
        profiles.current().setValue("sensor/stage_W3", 1 + i % 8);
        profiles.current().sync();
    }, nothing);
    std::printf("%-52s median %8.1f us  (information only)\n",
                "profile flush after one change (QSettings::sync)", flushMs * 1000.0);
    idle();
    return 0;
}
