#include "device/Hid_Thread.h"

#include <QScopeGuard>

#include "device/DeviceOwner.h"
#include "device/DeviceState.h"
#include "device/ReportFrame.h"
#include "device/Scrambler.h"
#include "platform/DeviceLock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSettings>
#include <QtConcurrent>
#include <cstring>

namespace {

constexpr const char *kDefaultSecrecyText = "417306";
constexpr const char *kDemoAccessText = "q-vantor";
constexpr int kSecrecyTextLength = 6;
constexpr int kChallengeSize = 4;
// Longer than the longest transfer: two settle pauses and eight data reports. A write that
// takes longer (a stalled device) owns what it uses and ends safely after the object is gone.
constexpr int kShutdownWaitMs = 5000;

void sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

uchar *block(uchar report[frame::kFeatureReportSize]) { return report + frame::kBlockPos; }

}  // namespace

Hid_Thread::Hid_Thread(QObject *parent) : QThread(parent) {}

Hid_Thread::~Hid_Thread()
{
    stopMonitor();
    // Lets a write in progress finish before the program goes on closing.
    if (!waitUntilIdle(kShutdownWaitMs))
        qWarning() << "Device transfer still running at shutdown";
}

QList<DeviceEntry> Hid_Thread::deviceEntries() const
{
    QList<DeviceEntry> copies;
    for (const auto &entry : devices)
        copies.append(entry->snapshot());
    return copies;
}

bool Hid_Thread::waitUntilIdle(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!flags->idle) {
        if (timer.elapsed() > timeoutMs)
            return false;
        sleepMs(1);
    }
    return true;
}

// --- Scan --------------------------------------------------------------------------------

void Hid_Thread::rebuildDevices(const QList<CatalogEntry> &catalogue)
{
    QList<std::shared_ptr<DeviceEntry>> scanned;
    for (const CatalogEntry &source : catalogue) {
        auto entry = std::make_shared<DeviceEntry>();
        entry->name = source.name;
        entry->type = source.type;
        entry->reportLength = source.reportLength;
        scanned.append(entry);
    }

    constexpr int kSearchedPosition = 1;
    searched = catalogue.value(kSearchedPosition);
    if (catalogue.size() > kSearchedPosition)
        findInterfaces(searched, *scanned[kSearchedPosition]);
    // Entries still used by a transfer or the monitor stay alive through their own references.
    devices = scanned;
}

DeviceAbsence Hid_Thread::diagnoseAbsence() const
{
    return DeviceAbsence::diagnose(searched.vid, searched.pid);
}

void Hid_Thread::findInterfaces(const CatalogEntry &source, DeviceEntry &entry)
{
    // Data phases travel in reports of this length: an entry without a usable one is not used.
    if (!source.hasUsableReportLength())
        return;
    QString commandPath;
    QString eventPath;
    for (const HidApi::InterfaceInfo &info : HidApi::enumerate(source.vid, source.pid)) {
        const std::uint32_t key = info.usagePage | (std::uint32_t(info.usage) << 16);
        if (key == source.commandUsageKey()) {
            commandPath = info.path;
            entry.manufacturer = info.manufacturer;
        }
        if (key == source.eventUsageKey())
            eventPath = info.path;
        if (!commandPath.isEmpty() && !eventPath.isEmpty()) {
            entry.commandPath = commandPath;
            entry.eventPath = eventPath;
        }
    }
}

// --- Token and transfers -----------------------------------------------------------------

bool Hid_Thread::acquireIdle()
{
    ++tokenWaiters;
    const auto waited = qScopeGuard([this] { --tokenWaiters; });
    for (int pass = 0; pass < kTokenPasses; ++pass) {
        bool expected = true;
        if (flags->idle.compare_exchange_strong(expected, false)) {
            // Another program (w3ctl) using the device holds its lock: wait as for the token.
            DeviceLock *lock = DeviceLock::shared();
            if (!lock || lock->tryLock())
                return true;
            flags->idle = true;
        }
        sleepMs(kTokenPollMs);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return false;
}

void Hid_Thread::buildCommand(uchar code, const uchar params[6])
{
    std::memset(outReport, 0, sizeof outReport);
    outReport[frame::kReportIdPos] = frame::kReportId;
    uchar *b = block(outReport);
    b[frame::kCodePos] = code;
    std::memcpy(b + frame::kFirstParamPos, params, frame::kLastParamPos - frame::kFirstParamPos + 1);
    b[frame::kCheckPos] = hidCS(b);
}

void Hid_Thread::startSendPacket(TokenHold token, int dataLength, bool waitForAck)
{
    auto transfer = std::make_shared<Transfer>(std::move(token), devices.value(int(deviceId)), outReport,
                                               dataArea, dataLength);
    // The result is not awaited: a write command returns while its transfer runs.
    QtConcurrent::run(workers.pool(), [transfer, waitForAck] { transfer->sendPacket(waitForAck); });
}

bool Hid_Thread::queryPacket(TokenHold token, int dataLength)
{
    Transfer transfer(std::move(token), devices.value(int(deviceId)), outReport, nullptr, dataLength);
    return transfer.queryPacket(inReport, dataArea);
}

// --- Check byte, scrambling, handshake ------------------------------------------------------

uchar Hid_Thread::hidCS(uchar *cmd)
{
    return scrambler::checkByte(cmd);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    scrambler::scramble(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    scrambler::descramble(FIFOBuf, SecrecyCode);
}

bool Hid_Thread::querySecrecyCode(uchar challenge[kChallengeSize], const QString &secrecyText)
{
    if (!acquireIdle()) {
        qDebug() << "cmd Failed 00";
        return false;
    }
    TokenHold token(flags);
    // Changed only under the token: a write still running on the pool scrambles with it.
    if (secrecyText.size() == kSecrecyTextLength) {
        for (int i = 0; i < kSecrecyTextLength; ++i)
            secrecyCode[size_t(i) + 1] = static_cast<std::uint8_t>(secrecyText.at(i).toLatin1());
    }
    const uchar params[6] = {challenge[0], challenge[1], challenge[2], challenge[3], 0, 0};
    buildCommand(0x00, params);
    std::memset(inReport, 0, sizeof inReport);
    const bool transferred = queryPacket(std::move(token), 0);
    const uchar *reply = block(inReport);
    for (int i = 0; i < kChallengeSize; ++i)
        challenge[i] = reply[frame::kFirstParamPos + i];
    return transferred;
}

void Hid_Thread::hid_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    uchar bytes[kChallengeSize] = {byte1, byte2, byte3, byte4};
    querySecrecyCode(bytes, QString());
    byte1 = bytes[0];
    byte2 = bytes[1];
    byte3 = bytes[2];
    byte4 = bytes[3];
}

void Hid_Thread::chkDeviceIsEnCode()
{
    if (!encodeEnabled)
        return;

    QString secrecyText;
    if ((deviceId == 0 || deviceId == 1) && owner && owner->applicationConfig())
        secrecyText = owner->applicationConfig()
                          ->value("common/sCode" + QString::number(deviceId), kDefaultSecrecyText)
                          .toString();

    // Seeded with the time in whole seconds: two handshakes within one second share a challenge.
    QRandomGenerator random(QDateTime::currentDateTime().toSecsSinceEpoch());
    uchar challenge[kChallengeSize];
    for (uchar &byte : challenge)
        byte = static_cast<uchar>(random.generate() & 0xFF);
    uchar answer[kChallengeSize];
    std::memcpy(answer, challenge, sizeof answer);

    // A command that could not even run proves nothing: the untouched challenge must not pass.
    const bool answered = querySecrecyCode(answer, secrecyText);
    if (answered && std::memcmp(answer, challenge, sizeof answer) == 0) {
        qDebug() << "Device Connect";
        deviceReady = true;
        return;
    }

    qDebug() << "Device Error";
    deviceReady = false;
    if (secrecyText == kDemoAccessText) {
        demoMode = true;
        deviceReady = true;
        encodeEnabled = false;
        return;
    }
    const std::shared_ptr<DeviceEntry> entry = devices.value(int(deviceId));
    if (owner)
        owner->reportDeviceMissing(entry ? entry->name : QString());
}

// --- Selection and monitor ----------------------------------------------------------------

void Hid_Thread::swichCurDevice(uint did)
{
    if (did != deviceId) {
        deviceId = did;
        startMonitor(did);
    }
    chkDeviceIsEnCode();
}

void Hid_Thread::startMonitor(uint did)
{
    stopMonitor();
    monitoring = true;
    // The task keeps its own reference to the entry, which a later scan cannot free.
    monitorTask = QtConcurrent::run(workers.pool(), this, &Hid_Thread::monitorDevice, devices.value(int(did)));
}

void Hid_Thread::stopMonitor()
{
    if (monitoring) {
        monitoring = false;
        monitorTask.waitForFinished();
    }
}

void Hid_Thread::monitorDevice(std::shared_ptr<DeviceEntry> entry)
{
    if (!entry || !entry->hasEventPath())
        return;
    HidHandle eventHandle;
    while (monitoring) {
        // The next handle opens before the last one closes, and what reached the last one is
        // read first: an acknowledgement arriving in between is not lost.
        HidHandle next = entry->openEventInterface();
        if (eventHandle)
            readEventReport(eventHandle, 0);
        eventHandle = std::move(next);
        if (!eventHandle) {
            qDebug() << "Device removed";
            entry->clearEventPath();
            monitoring = false;
            return;
        }
        readEventReport(eventHandle, kEventReadTimeoutMs);
    }
}

void Hid_Thread::readEventReport(const HidHandle &eventHandle, int timeoutMs)
{
    uchar report[frame::kAckSize] = {};
    const int got = HidApi::read(eventHandle, report, sizeof report, timeoutMs);
    if (got == frame::kAckSize && std::memcmp(report, frame::kAck, frame::kAckSize) == 0)
        flags->ackFlag = true;
}
