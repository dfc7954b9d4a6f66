#pragma once
// The device object: bus scan, report framing, transport token, handshake, monitor and the
// command slots of the mouse and the keyboard.
#include "device/Catalogue.h"
#include "device/DeviceAbsence.h"
#include "device/DeviceEntry.h"
#include "device/DeviceWorkers.h"
#include "device/Transfer.h"

#include <QFuture>
#include <QList>
#include <QString>
#include <QThread>
#include <atomic>
#include <initializer_list>
#include <memory>

class DeviceOwner;
namespace commands {
struct SetRow;
struct GetRow;
}

// Derives from QThread for its place in the object model; it is never started as a thread.
class Hid_Thread : public QThread {
    Q_OBJECT
public:
    static constexpr int kMaxDataLength = 512;
    static constexpr int kTokenPasses = 255;
    static constexpr int kTokenPollMs = 8;
    static constexpr int kAfterSleepMs = 8;
    static constexpr int kEventReadTimeoutMs = 500;

    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    void setOwner(DeviceOwner *owner) { this->owner = owner; }

    // The device scan: one entry per catalogue section; only position 1 is searched on the bus.
    void rebuildDevices(const QList<CatalogEntry> &catalogue);
    // Why the searched device of the last scan cannot be used (asks the bus again).
    DeviceAbsence diagnoseAbsence() const;

    uint currentDeviceId() const { return deviceId; }
    QList<DeviceEntry> deviceEntries() const;
    bool monitorRunning() const { return monitoring; }
    // Waits until no transfer holds the token (tests and orderly shutdown).
    bool waitUntilIdle(int timeoutMs);
    // No transfer holds the token now.
    bool isIdle() const { return flags->idle; }
    // A transfer holds the token or a command waits for it. A command waiting for the token
    // runs the GUI thread's events, so work that would send commands of its own waits until
    // this is false instead of cutting into the sequence that waits.
    bool isBusy() const { return !flags->idle || tokenWaiters > 0; }

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

    // Transport (every command is built on these; the transfers themselves are Transfer's).
    bool acquireIdle();
    // Starts the write of outReport and dataLength bytes of dataArea on the writes' worker
    // thread and returns without waiting; the write gives the token back when it ends.
    void startSendPacket(TokenHold token, int dataLength, bool waitForAck);
    // Runs the read on this thread: reply into inReport, data phase into dataArea.
    bool queryPacket(TokenHold token, int dataLength);
    // Builds outReport: code, six parameters, check byte; report ID 0x00.
    void buildCommand(uchar code, const uchar params[6]);
    // Command 00H; a secrecy text of six characters becomes the code once the token is held.
    bool querySecrecyCode(uchar challenge[4], const QString &secrecyText);
    // Searches the bus for the interfaces of one catalogue entry.
    static void findInterfaces(const CatalogEntry &source, DeviceEntry &entry);

    void startMonitor(uint did);
    void monitorDevice(std::shared_ptr<DeviceEntry> entry);
    // Reads one event report within timeoutMs; an acknowledgement sets ackFlag.
    void readEventReport(const HidHandle &eventHandle, int timeoutMs);

    DeviceOwner *owner = nullptr;
    // Entries are shared with the transfers and the monitor that use them, so a detection
    // that replaces the list never frees one under them.
    QList<std::shared_ptr<DeviceEntry>> devices;
    CatalogEntry searched;  // the catalogue entry the last scan looked for
    uint deviceId = 1;
    // `idle` and `ackFlag`, shared with the transfers, which may outlive this object.
    std::shared_ptr<TransportFlags> flags = std::make_shared<TransportFlags>();
    int tokenWaiters = 0;  // commands inside acquireIdle; the GUI thread's only
    std::atomic<bool> monitoring{false};
    QFuture<void> monitorTask;
    DeviceWorkers workers;  // after what its tasks use: it lets the last one end first
    uchar outReport[frame::kFeatureReportSize] = {};
    uchar inReport[frame::kFeatureReportSize] = {};
    uchar dataArea[kMaxDataLength] = {};
};
