#include "device/Hid_Thread.h"

#include "device/DeviceOwner.h"
#include "device/DeviceState.h"
#include "device/ReportFrame.h"
#include "device/Scrambler.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QSettings>
#include <QtConcurrent>
#include <cstring>
#include <hidapi/hidapi.h>
#include <vector>

namespace {

constexpr const char *kDefaultSecrecyText = "417306";
constexpr const char *kDemoAccessText = "q-vantor";
constexpr int kSecrecyTextLength = 6;
constexpr int kAckPasses = 256;
constexpr int kChallengeSize = 4;
// Longer than the longest transfer: two settle pauses and eight data reports.
constexpr int kShutdownWaitMs = 5000;

void sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

uchar *block(uchar report[frame::kFeatureReportSize]) { return report + frame::kBlockPos; }

}  // namespace

Hid_Thread::Hid_Thread(QObject *parent) : QThread(parent) {}

Hid_Thread::~Hid_Thread()
{
    stopMonitor();
    // A write transfer still running on the pool uses this object until it gives the token back.
    if (!waitUntilIdle(kShutdownWaitMs))
        qWarning() << "Device transfer still running at shutdown";
}

QList<DeviceEntry> Hid_Thread::deviceEntries() const
{
    QMutexLocker locker(&pathLock);
    QList<DeviceEntry> copies;
    for (const auto &entry : devices)
        copies.append(*entry);
    return copies;
}

bool Hid_Thread::waitUntilIdle(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!idle) {
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
    if (catalogue.size() > kSearchedPosition) {
        const CatalogEntry &source = catalogue.at(kSearchedPosition);
        DeviceEntry &entry = *scanned[kSearchedPosition];
        QString commandPath;
        QString eventPath;
        hid_device_info *interfaces = hid_enumerate(source.vid, source.pid);
        for (hid_device_info *it = interfaces; it; it = it->next) {
            const std::uint32_t key = it->usage_page | (std::uint32_t(it->usage) << 16);
            if (key == source.commandUsageKey())
                commandPath = QString::fromLocal8Bit(it->path);
            if (key == source.eventUsageKey())
                eventPath = QString::fromLocal8Bit(it->path);
            if (!commandPath.isEmpty() && !eventPath.isEmpty()) {
                entry.commandPath = commandPath;
                entry.eventPath = eventPath;
            }
        }
        hid_free_enumeration(interfaces);
    }
    // Entries still used by a transfer or the monitor stay alive through their own references.
    devices = scanned;
}

// --- Opening -----------------------------------------------------------------------------

QString Hid_Thread::lockedPath(const QString &path) const
{
    QMutexLocker locker(&pathLock);
    return path;
}

void Hid_Thread::clearPath(QString &path)
{
    QMutexLocker locker(&pathLock);
    path.clear();
}

hid_device *Hid_Thread::openCommandInterface(DeviceEntry &entry)
{
    const QString path = lockedPath(entry.commandPath);
    if (path.isEmpty())
        return nullptr;
    closeCommandInterface();
    commandHandle = hid_open_path(path.toLocal8Bit().constData());
    if (!commandHandle) {
        clearPath(entry.commandPath);  // absent until the next scan
        return nullptr;
    }
    if (hid_set_nonblocking(commandHandle, 0) < 0) {
        closeCommandInterface();
        clearPath(entry.commandPath);
        return nullptr;
    }
    return commandHandle;
}

hid_device *Hid_Thread::openEventInterface(DeviceEntry &entry)
{
    const QString path = lockedPath(entry.eventPath);
    if (path.isEmpty())
        return nullptr;
    closeEventInterface();
    eventHandle = hid_open_path(path.toLocal8Bit().constData());
    if (!eventHandle) {
        clearPath(entry.eventPath);
        return nullptr;
    }
    if (hid_set_nonblocking(eventHandle, 0) < 0) {
        closeEventInterface();
        clearPath(entry.eventPath);
        return nullptr;
    }
    return eventHandle;
}

void Hid_Thread::closeCommandInterface()
{
    if (commandHandle) {
        hid_close(commandHandle);
        commandHandle = nullptr;
    }
}

void Hid_Thread::closeEventInterface()
{
    if (eventHandle) {
        hid_close(eventHandle);
        eventHandle = nullptr;
    }
}

// --- Token and pauses ---------------------------------------------------------------------

bool Hid_Thread::acquireIdle()
{
    for (int pass = 0; pass < kTokenPasses; ++pass) {
        bool expected = true;
        if (idle.compare_exchange_strong(expected, false)) {
            transferEntry = devices.value(int(deviceId));
            return true;
        }
        sleepMs(kTokenPollMs);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return false;
}

void Hid_Thread::releaseToken()
{
    closeCommandInterface();
    transferEntry.reset();
    idle = true;
}

void Hid_Thread::waitAck()
{
    ackFlag = false;
    for (int pass = 0; pass < kAckPasses; ++pass) {
        sleepMs(kAckPollMs);
        if (ackFlag)
            break;
        ackFlag = true;
    }
}

// --- Transfers ----------------------------------------------------------------------------

void Hid_Thread::buildCommand(uchar code, const uchar params[6])
{
    std::memset(outReport, 0, sizeof outReport);
    outReport[frame::kReportIdPos] = frame::kReportId;
    uchar *b = block(outReport);
    b[frame::kCodePos] = code;
    std::memcpy(b + frame::kFirstParamPos, params, frame::kLastParamPos - frame::kFirstParamPos + 1);
    b[frame::kCheckPos] = hidCS(b);
}

void Hid_Thread::startSendPacket(int dataLength, bool waitForAck)
{
    // The result is not awaited: a write command returns while its transfer runs.
    QtConcurrent::run(this, &Hid_Thread::sendPacket, dataLength, waitForAck);
}

bool Hid_Thread::sendCommandBlock(DeviceEntry *entry)
{
    if (!languageIntegrity || demoMode || !entry || !openCommandInterface(*entry))
        return false;
    if (encodeEnabled)
        USBDataEncryption(block(outReport), secrecyCode.data());
    return openCommandInterface(*entry)
           && hid_send_feature_report(commandHandle, outReport, sizeof outReport) >= 0;
}

bool Hid_Thread::sendPacket(int dataLength, bool waitForAck)
{
    const std::shared_ptr<DeviceEntry> entry = transferEntry;
    if (!sendCommandBlock(entry.get())) {
        releaseToken();
        return false;
    }
    if (waitForAck)
        waitAck();
    if (dataLength == 0) {
        releaseToken();
        return true;
    }

    const int reportLength = int(entry->reportLength);
    if (reportLength == 0) {  // a catalogue without a report length cannot carry a data phase
        releaseToken();
        return false;
    }
    const int step = qMin(dataLength, reportLength);
    std::vector<uchar> buffer(size_t(reportLength) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += step) {
        // A short last chunk must not carry bytes of the chunk before it.
        std::fill(buffer.begin(), buffer.end(), 0);
        buffer[0] = frame::kReportId;
        std::memcpy(buffer.data() + 1, dataArea + offset, size_t(qMin(step, dataLength - offset)));
        if (!openCommandInterface(*entry) || hid_write(commandHandle, buffer.data(), buffer.size()) < 0) {
            releaseToken();
            return false;
        }
        sleepMs(kDataReportGapMs);
    }
    if (waitForAck)
        waitAck();
    releaseToken();
    return true;
}

bool Hid_Thread::queryPacket(int dataLength)
{
    const std::shared_ptr<DeviceEntry> entry = transferEntry;
    if (!sendCommandBlock(entry.get())) {
        releaseToken();
        return false;
    }
    inReport[frame::kReportIdPos] = frame::kReportId;
    if (!openCommandInterface(*entry) || hid_get_feature_report(commandHandle, inReport, sizeof inReport) < 0) {
        releaseToken();
        return false;
    }
    if (dataLength == 0) {
        releaseToken();
        if (encodeEnabled)
            USBDataDecipher(block(inReport), secrecyCode.data());
        return true;
    }

    const int reportLength = int(entry->reportLength);
    if (reportLength == 0) {  // a catalogue without a report length cannot carry a data phase
        releaseToken();
        return false;
    }
    const int step = qMin(dataLength, reportLength);
    std::vector<uchar> buffer(size_t(reportLength) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += step) {
        std::fill(buffer.begin(), buffer.end(), 0);
        // A time limit instead of a blocking read: a device that stops sending must not
        // hold the GUI thread for ever.
        if (!openCommandInterface(*entry)
            || hid_read_timeout(commandHandle, buffer.data(), buffer.size(), kDataReadTimeoutMs) <= 0) {
            releaseToken();
            return false;
        }
        std::memcpy(dataArea + offset, buffer.data(), size_t(qMin(step, dataLength - offset)));
    }
    releaseToken();
    return true;
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
    // Changed only under the token: a write still running on the pool scrambles with it.
    if (secrecyText.size() == kSecrecyTextLength) {
        for (int i = 0; i < kSecrecyTextLength; ++i)
            secrecyCode[size_t(i) + 1] = static_cast<std::uint8_t>(secrecyText.at(i).toLatin1());
    }
    const uchar params[6] = {challenge[0], challenge[1], challenge[2], challenge[3], 0, 0};
    buildCommand(0x00, params);
    std::memset(inReport, 0, sizeof inReport);
    const bool transferred = queryPacket(0);
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
    monitorTask = QtConcurrent::run(this, &Hid_Thread::monitorDevice, devices.value(int(did)));
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
    if (!entry || lockedPath(entry->eventPath).isEmpty())
        return;
    while (monitoring) {
        if (!openEventInterface(*entry)) {
            qDebug() << "Device removed";
            clearPath(entry->eventPath);
            monitoring = false;
            return;
        }
        uchar report[frame::kAckSize] = {};
        const int got = hid_read_timeout(eventHandle, report, sizeof report, kEventReadTimeoutMs);
        if (got == frame::kAckSize && std::memcmp(report, frame::kAck, frame::kAckSize) == 0)
            ackFlag = true;
        closeEventInterface();
    }
}
