#include "device/Transfer.h"

#include "device/DeviceState.h"
#include "device/Scrambler.h"
#include "platform/DeviceLock.h"

#include <QThread>
#include <algorithm>
#include <cstring>

namespace {

void sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

uchar *block(uchar *report) { return report + frame::kBlockPos; }

}  // namespace

TokenHold &TokenHold::operator=(TokenHold &&other) noexcept
{
    if (this != &other) {
        release();
        flags = std::move(other.flags);
    }
    return *this;
}

void TokenHold::release()
{
    if (flags) {
        // The device lock first: once the token is free another transfer may take both.
        if (DeviceLock *lock = DeviceLock::shared())
            lock->unlock();
        flags->idle = true;
        flags.reset();
    }
}

Transfer::Transfer(TokenHold token, std::shared_ptr<DeviceEntry> entry,
                   const uchar outReport[frame::kFeatureReportSize], const uchar *payload, int dataLength)
    : token(std::move(token)), entry(std::move(entry)), dataLength(dataLength), secrecy(secrecyCode)
{
    std::copy_n(outReport, frame::kFeatureReportSize, this->outReport.begin());
    if (payload)
        this->payload.assign(payload, payload + dataLength);
}

bool Transfer::mayTransfer() const { return languageIntegrity && !demoMode && entry; }

// Every HID call of a transfer runs on a freshly opened command interface.
bool Transfer::reopen()
{
    commandHandle.reset();
    commandHandle = entry->openCommandInterface();
    return bool(commandHandle);
}

void Transfer::end()
{
    commandHandle.reset();
    readerHandle.reset();
    token.release();
}

bool Transfer::sendCommandBlock()
{
    if (encodeEnabled)
        scrambler::scramble(block(outReport.data()), secrecy.data());
    return reopen() && HidApi::sendFeatureReport(commandHandle, outReport.data(), outReport.size()) >= 0;
}

void Transfer::waitAck()
{
    TransportFlags *flags = token.sharedFlags();
    flags->ackFlag = false;
    for (int pass = 0; pass < kAckPasses; ++pass) {
        sleepMs(kAckPollMs);
        if (flags->ackFlag)
            break;
        flags->ackFlag = true;
    }
}

bool Transfer::sendPacket(bool waitForAck)
{
    bool sent = mayTransfer() && reopen() && sendCommandBlock();
    if (sent && waitForAck)
        waitAck();
    if (sent && dataLength > 0) {
        sent = writeDataPhase();
        if (sent && waitForAck)
            waitAck();
    }
    end();
    return sent;
}

bool Transfer::writeDataPhase()
{
    const int reportLength = int(entry->reportLength);
    const int step = std::min(dataLength, reportLength);
    std::vector<uchar> report(size_t(reportLength) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += step) {
        // A short last chunk must not carry bytes of the chunk before it.
        std::fill(report.begin(), report.end(), 0);
        report[0] = frame::kReportId;
        std::copy_n(payload.begin() + offset, std::min(step, dataLength - offset), report.begin() + 1);
        if (!reopen() || HidApi::write(commandHandle, report.data(), report.size()) < 0)
            return false;
        sleepMs(kDataReportGapMs);
    }
    return true;
}

bool Transfer::queryPacket(uchar inReport[frame::kFeatureReportSize], uchar *dataArea)
{
    if (!mayTransfer() || !reopen()) {
        end();
        return false;
    }
    if (dataLength > 0) {
        readerHandle = entry->openCommandInterface();
        if (!readerHandle) {
            end();
            return false;
        }
    }
    inReport[frame::kReportIdPos] = frame::kReportId;
    bool answered = sendCommandBlock() && reopen()
                    && HidApi::getFeatureReport(commandHandle, inReport, frame::kFeatureReportSize) >= 0;
    if (answered && dataLength > 0) {
        answered = readDataPhase(dataArea);  // the reply block stays as received
    } else if (answered && encodeEnabled) {
        scrambler::descramble(block(inReport), secrecy.data());
    }
    end();
    return answered;
}

bool Transfer::readDataPhase(uchar *dataArea)
{
    const int reportLength = int(entry->reportLength);
    const int step = std::min(dataLength, reportLength);
    std::vector<uchar> report(size_t(reportLength) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += step) {
        std::fill(report.begin(), report.end(), 0);
        // A time limit: a device that stops sending must not hold the caller for ever.
        if (HidApi::read(readerHandle, report.data(), report.size(), kDataReadTimeoutMs) <= 0)
            return false;
        std::copy_n(report.begin(), std::min(step, dataLength - offset), dataArea + offset);
    }
    return true;
}
