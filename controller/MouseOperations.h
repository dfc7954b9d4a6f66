#pragma once
// The mouse settings of the scene: each setter writes the current profile first and then
// hands the value to the device; most getters answer from the profile. The slots shared
// with the keyboard (report rate, profile switch, key definition) branch on the device id.
#include <QVariant>
#include <QVariantList>

struct ControllerContext;
class ProfileStore;

// Conversions at the scene boundary, shared by the mouse and keyboard operations.
namespace scenebytes {
// Zero-fills buffer, then puts the low 8 bits of item i (toInt()) at byte i; missing items
// stay zero and extra items are ignored.
void fill(const QVariantList &items, uchar *buffer, int length);
// One QVariant(int) per byte, in buffer order.
QVariantList toList(const uchar *buffer, int length);
// Every item converted with toUInt(), so the scene receives numbers.
QVariantList toUIntList(const QVariantList &items);
}  // namespace scenebytes

class MouseOperations {
public:
    // Device ids of the catalogue.
    static constexpr uint kKeyboardId = 0;
    static constexpr uint kMouseId = 1;

    MouseOperations(ControllerContext &context, ProfileStore &profiles);

    // The profile key of a mouse button's code, "keydefine_W3/<button>".
    static QString buttonKey(int button);

    void ui_01H_SetReportRate(uchar rate);
    QVariant ui_81H_GetReportRate();
    void ui_02H_SetCurrentProfile(int profile);
    QVariantList getKeydefine(QVariant matrixId);

    void ui_12H_SetKeyMatrix(QVariantList src64);
    QVariantList ui_92H_GetKeyMatrix();
    QVariantList ui_93H_GetMacroKey(uchar macroId);

    // False when the mouse did not answer the reads and nothing was sent.
    bool setScrollPinSwap(bool isSwap);
    bool getScrollPinSwap();

    void ui_0BH_SetCurrentDPIStage(uchar dpiStage);
    QVariant ui_8BH_GetCurrentDPIStage();
    void ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex);
    QVariantList ui_91H_GetDPISet();
    uchar ui_91H_SyncDPI();

    void ui_10H_SetLED8StageColor(uchar type, QVariantList src24);
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    void ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs);
    QVariantList ui_8DH_GetRGBLedEffect();

    QVariant getSensorType();
    bool chkIsLogoLedWork();
    bool getMsgAns_FoolProofing();

private:
    ControllerContext &context;
    ProfileStore &profiles;
};
