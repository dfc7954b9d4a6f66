// Profile switches on the virtual mouse, side by side in one run, on a private copy of the run
// folder's modules/. Prints median figures; never fails.
//   whole switch: every setting sent, as w3ctl profile N and the tray send it
//   one setting differs: the switch that sends only differences, between two such profiles
//     (goal <= 300 ms)
//   the profile held: the same switch to the profile the mouse holds (goal: no command)
//   activation to first command: an application comes to the front until the first command
//     of the switch it causes reaches the mouse, the 300 ms dwell included (goal <= 350 ms)
// Wire time runs from the call until the last transfer has given the token back.
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "app/MouseQueue.h"
#include "app/ProfileFollowing.h"
#include "controller/Controllers.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "platform/ActiveApplication.h"
#include "platform/PointerSettings.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kSamples = 5;
constexpr int kIdleTimeoutMs = 20000;
constexpr double kOneSettingGoalMs = 300;
constexpr double kActivationGoalMs = 350;

// The desktop's pointer settings are left alone.
class QuietPointer : public PointerSettings {
public:
    bool setPointerSpeed(int) override { return true; }
    bool setWheelScrollLines(int) override { return true; }
    bool setDoubleClickTime(int) override { return true; }
    bool readMouse(int values[MouseValueCount]) override
    {
        std::fill(values, values + MouseValueCount, 0);
        return true;
    }
    bool writeMouse(const int[MouseValueCount]) override { return true; }
};

// The application in front, as the bench says.
class StagedApplication : public ActiveApplication {
public:
    ApplicationIdentity current() const override { return inFront; }
    void bringToFront(const QString &windowClass)
    {
        inFront = {QString(), windowClass, QString(), 0};
        emit changed(inFront);
    }

private:
    ApplicationIdentity inFront;
};

void copyModules(const QString &source, const QString &target)
{
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = target + file.mid(source.size());
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(file, copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    }
}

// Profile 2 as profile 1 with another report rate.
void writeProfiles()
{
    QSettings("modules/setting/p1.bin", QSettings::IniFormat).setValue("sensor/reportRate_W3", 1);
    QFile::remove("modules/setting/p2.bin");
    QFile::copy("modules/setting/p1.bin", "modules/setting/p2.bin");
    QFile::setPermissions("modules/setting/p2.bin", QFile::ReadOwner | QFile::WriteOwner);
    QSettings("modules/setting/p2.bin", QSettings::IniFormat).setValue("sensor/reportRate_W3", 8);
}

void writeRules()
{
    ApplicationRules rules;
    rules.setEnabled(true);
    rules.addRule({ApplicationMatch::WindowClass, "Editor", 0});
    rules.addRule({ApplicationMatch::WindowClass, "Game", 1});
    const QString problem = rules.write(ApplicationRules::defaultPath());
    if (!problem.isEmpty())
        std::printf("the rules could not be written: %s\n", qPrintable(problem));
}

int commandsSent()
{
    int count = 0;
    for (const vhid::Record &record : vhid::Bus::instance().records())
        count += record.op == vhid::Op::SendFeature ? 1 : 0;
    return count;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

struct Rig {
    Rig()
    {
        vhid::Bus &bus = vhid::Bus::instance();
        bus.reset();
        bus.plug(vhid::Model::Mouse);
        deviceReady = true;
        demoMode = false;
        languageIntegrity = true;
        encodeEnabled = true;
        const char *secrecy = "417306";  // the virtual mouse's default
        for (int i = 0; i < 6; ++i)
            secrecyCode[size_t(i) + 1] = std::uint8_t(secrecy[i]);
        hid.rebuildDevices(readCatalogue(kCataloguePath, {}).entries);
        controllers.setHidThread(&hid);
    }
    ~Rig() { hid.waitUntilIdle(kIdleTimeoutMs); }

    // Milliseconds from the call until the mouse is idle again.
    double wireMs(const std::function<void()> &call)
    {
        hid.waitUntilIdle(kIdleTimeoutMs);
        vhid::Bus::instance().clearRecords();
        QElapsedTimer timer;
        timer.start();
        call();
        hid.waitUntilIdle(kIdleTimeoutMs);
        return timer.nsecsElapsed() / 1e6;
    }

    Hid_Thread hid;
    Controllers controllers;
    PageActions actions{controllers};
};

// Milliseconds from the application coming to the front until the first command reached the
// mouse.
double activationMs(StagedApplication &inFront, const QString &windowClass, Hid_Thread &hid)
{
    hid.waitUntilIdle(kIdleTimeoutMs);
    vhid::Bus::instance().clearRecords();
    const auto activated = std::chrono::steady_clock::now();
    inFront.bringToFront(windowClass);
    QElapsedTimer waited;
    waited.start();
    while (commandsSent() == 0 && waited.elapsed() < kIdleTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const std::vector<vhid::Record> records = vhid::Bus::instance().records();
    const auto first = std::find_if(records.begin(), records.end(),
                                    [](const vhid::Record &record) { return record.op == vhid::Op::SendFeature; });
    hid.waitUntilIdle(kIdleTimeoutMs);
    if (first == records.end())
        return -1;
    return std::chrono::duration<double, std::milli>(first->at - activated).count();
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir sandbox;
    copyModules(QCoreApplication::applicationDirPath() + "/modules", sandbox.path() + "/modules");
    QDir::setCurrent(sandbox.path());
    writeProfiles();
    writeRules();
    Controllers::setPointerFactory([] { return std::make_unique<QuietPointer>(); });

    Rig rig;
    ProfileActions &profiles = *rig.actions.profiles;
    std::vector<double> whole, oneSetting, held;
    int heldCommands = 0;
    for (int i = 0; i < kSamples; ++i)
        whole.push_back(rig.wireMs([&] { profiles.switchTo(i % 2); }));
    for (int i = 0; i < kSamples; ++i)
        oneSetting.push_back(rig.wireMs([&] { profiles.switchSendingDifferences(i % 2); }));
    const int last = (kSamples - 1) % 2;
    for (int i = 0; i < kSamples; ++i) {
        held.push_back(rig.wireMs([&] { profiles.switchSendingDifferences(last); }));
        heldCommands += commandsSent();
    }

    auto staged = std::make_unique<StagedApplication>();
    StagedApplication &inFront = *staged;
    MouseQueue queue(rig.hid);
    ProfileFollowing following(profiles, queue, std::move(staged), [] { return QString(); });
    std::vector<double> activation;
    // Each time the application whose profile the mouse does not hold.
    for (int i = 0; i < kSamples; ++i)
        activation.push_back(activationMs(inFront, profiles.heldByMouse() == 0 ? "Game" : "Editor", rig.hid));

    std::printf("profile switch on the virtual mouse, median of %d\n", kSamples);
    std::printf("  whole switch                    %8.1f ms wire\n", median(whole));
    std::printf("  one setting differs             %8.1f ms wire (goal <= %.0f ms)\n", median(oneSetting), kOneSettingGoalMs);
    std::printf("  the profile held                %8.1f ms wire, %d commands in %d switches (goal: none)\n",
                median(held), heldCommands, kSamples);
    std::printf("  activation to first command     %8.1f ms (goal <= %.0f ms, 300 ms dwell included)\n",
                median(activation), kActivationGoalMs);
    return 0;
}
