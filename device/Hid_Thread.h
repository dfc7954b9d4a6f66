#pragma once
// The device object: bus scan, report framing, transport token, handshake, monitor and the
// command slots of the mouse and the keyboard.
#include "device/Catalogue.h"

#include <QFuture>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>
#include <atomic>
#include <initializer_list>
#include <memory>

struct hid_device_;
typedef struct hid_device_ hid_device;
class DeviceOwner;
namespace commands {
struct SetRow;
struct GetRow;
}

// One scanned device; empty paths mean the interface was not found or an open failed.
struct DeviceEntry {
    QString name;
    int type = -1;
    QString commandPath;
    QString eventPath;
    unsigned reportLength = 0;

    bool isPresent() const { return !commandPath.isEmpty() && !eventPath.isEmpty(); }
};

// Derives from QThread for its place in the object model; it is never started as a thread.
class Hid_Thread : public QThread {
    Q_OBJECT
public:
    static constexpr int kMaxDataLength = 512;
    static constexpr int kTokenPasses = 255;
    static constexpr int kTokenPollMs = 8;
    static constexpr int kAckPollMs = 64;
    static constexpr int kDataReportGapMs = 8;
    static constexpr int kAfterSleepMs = 8;
    // A device that stops sending during an incoming data phase gives up after this long.
    static constexpr int kDataReadTimeoutMs = 1000;
    static constexpr int kEventReadTimeoutMs = 500;

    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    void setOwner(DeviceOwner *owner) { this->owner = owner; }

    // The device scan: one entry per catalogue section; only position 1 is searched on the bus.
    void rebuildDevices(const QList<CatalogEntry> &catalogue);

    uint currentDeviceId() const { return deviceId; }
    QList<DeviceEntry> deviceEntries() const;
    bool monitorRunning() const { return monitoring; }
    // Waits until no transfer holds the token (tests and orderly shutdown).
    bool waitUntilIdle(int timeoutMs);

    // 81H and 83H that also say whether the device answered (true) or the outputs hold the
    // failure values; used where a read-modify-write must not send values never read.
    bool readReportRate(uchar &rate);
    bool readFunctionOption(uchar &type, uchar &option1, uchar &option2);

    void stopMonitor();

public slots:
    // Check byte and scrambling of one 8-byte block.
    uchar hidCS(uchar *cmd);
    void USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[]);
    void USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[]);

    // Selection and handshake.
    void swichCurDevice(uint did);
    void chkDeviceIsEnCode();
    void hid_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);

    // Mouse and shared Sets.
    void hid_01H_SetReportRate(uchar rate);
    void hid_02H_SetCurrentProfile(uchar profile);
    void hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2);
    void hid_07H_SetLEDInstructFunction(uchar type, uchar option1, uchar option2, uchar option3);
    void hid_0BH_SetCurrentDPIStage(uchar dpiStage);
    void hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid_10H_SetLED8StageColor(uchar type, uchar *src24);
    void hid_11H_SetDPISet(uchar dpiStage, uchar *src8);
    void hid_12H_SetKeyMatrix(uchar *src64);
    void hid_13H_SetMacroKey(uchar macroId, uchar *src128);

    // Mouse and shared Gets.
    void hid_80H_GetFWVersion(QString &version);
    void hid_81H_GetReportRate(uchar &rate);
    void hid_82H_GetCurrentProfile(uchar &profile);
    void hid_83H_GetFunctionOption(uchar &type, uchar &option1, uchar &option2);
    bool hid_87H_GetLEDInstructFunction(uchar type, uchar &option1, uchar &option2, uchar &option3);
    void hid_8BH_GetCurrentDPIStage(uchar &dpiStage);
    void hid_8DH_GetRGBLedEffect(uchar &effect, uchar &option1, uchar &option2);
    void hid_90H_GetLED8StageColor(uchar type, uchar *src24);
    bool hid_91H_GetDPISet(uchar &dpiMAXStage, uchar *src8);
    void hid_92H_GetKeyMatrix(uchar *src64);
    void hid_93H_GetMacroKey(uchar macroId, uchar *src128);

    // Keyboard Sets.
    void hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4);
    void hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction);
    void hid_09H_SetKeyboardMode(uchar mode);
    void hid_0DH_SetKeyMatrix(uchar *src512);
    void hid_0EH_SetKeyOnOff(uchar *src21);
    void hid_11H_SetMacroKey(uchar macroId, uchar *src192);
    void hid_12H_SetUserPicture(uchar index, uchar option, uchar *src512);
    void hid_13H_SetRecoveryData();
    void hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);

    // Keyboard Gets.
    void hid_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid_84H_GetButtonSensitivity(uchar &sens1, uchar &sens2, uchar &sens3, uchar &sens4);
    void hid_88H_GetLEDType(uchar &effect, uchar &speed, uchar &light, uchar &color, uchar &direction);
    void hid_89H_GetKeyboardMode(uchar &mode);
    void hid_8DH_GetKeyMatrix(uchar *src512);
    void hid_8EH_GetKeyOnOff(uchar *src21);
    void hid_91H_GetMacroKey(uchar macroId, uchar *src192);
    void hid_92H_GetUserPicture(uchar index, uchar *src512);
    void hid_94H_GetColor(uchar index, uchar &rValue, uchar &gValue, uchar &bValue);

private:
    // The Set and Get patterns every command slot follows; the slot gives its command's row.
    enum class GetOutcome { TokenRefused, TransferFailed, Answered };
    void runSet(const commands::SetRow &row, std::initializer_list<uchar> arguments,
                const uchar *payload = nullptr);
    GetOutcome runGet(const commands::GetRow &row, std::initializer_list<uchar> arguments,
                      std::initializer_list<uchar *> results, uchar *buffer = nullptr);

    // Transport (every command is built on these).
    bool acquireIdle();
    void waitAck();
    // Starts sendPacket on the global thread pool and returns without waiting.
    void startSendPacket(int dataLength, bool waitForAck);
    // The first steps of both transfers: the checks, the scrambling and the feature report.
    bool sendCommandBlock(DeviceEntry *entry);
    bool sendPacket(int dataLength, bool waitForAck);
    bool queryPacket(int dataLength);
    // Builds outReport: code, six parameters, check byte; report ID 0x00.
    void buildCommand(uchar code, const uchar params[6]);
    // Command 00H; a secrecy text of six characters becomes the code once the token is held.
    bool querySecrecyCode(uchar challenge[4], const QString &secrecyText);

    // Paths of shared entries are cleared from pool threads while the GUI thread reads them.
    QString lockedPath(const QString &path) const;
    void clearPath(QString &path);
    hid_device *openCommandInterface(DeviceEntry &entry);
    hid_device *openEventInterface(DeviceEntry &entry);
    void closeCommandInterface();
    void closeEventInterface();
    void releaseToken();

    void startMonitor(uint did);
    void monitorDevice(std::shared_ptr<DeviceEntry> entry);

    DeviceOwner *owner = nullptr;
    QList<std::shared_ptr<DeviceEntry>> devices;
    uint deviceId = 1;
    hid_device *commandHandle = nullptr;
    hid_device *eventHandle = nullptr;
    std::atomic<bool> idle{true};
    std::atomic<bool> monitoring{false};
    std::atomic<bool> ackFlag{true};
    QFuture<void> monitorTask;
    uchar outReport[9] = {};
    uchar inReport[9] = {};
    uchar dataArea[kMaxDataLength] = {};
    // The entry of the transfer in progress: held by the command that took the token, so a
    // detection that replaces `devices` meanwhile never frees it under the transfer.
    std::shared_ptr<DeviceEntry> transferEntry;
    mutable QMutex pathLock;
};
