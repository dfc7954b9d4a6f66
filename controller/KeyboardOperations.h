#pragma once
// The keyboard settings: setters with a profile key write the current profile first and
// then send the keyboard command; the lighting, picture and colour getters answer from the
// profile, the others read the keyboard.
#include <QString>
#include <QVariant>
#include <QVariantList>

struct ControllerContext;
class ProfileStore;

class KeyboardOperations {
public:
    KeyboardOperations(ControllerContext &context, ProfileStore &profiles);

    QVariant ui_82H_GetCurrentProfile();
    void ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    QVariantList ui_83H_GetKeyboardoption();
    void ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4);
    QVariantList ui_84H_GetButtonSensitivity();
    void ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction);
    QVariantList ui_88H_GetLEDType();
    void ui_09H_SetKeyboardMode(uchar mode);
    QVariant ui_89H_GetKeyboardMode();
    void ui_0DH_SetKeyMatrix(QVariantList src512);
    QVariantList ui_8DH_GetKeyMatrix();
    void ui_0EH_SetKeyOnOff(QVariantList src21);
    QVariantList ui_8EH_GetKeyOnOff();
    void ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512);
    QVariantList ui_92H_GetUserPicture(uchar index);
    void ui_13H_SetRecoveryData();
    void ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);
    QVariantList ui_94H_GetColor(uchar index);
    QVariantList ui_91H_GetMacroKey(uchar macroId);
    // Firmware version of the device in use; "unknown" when it does not answer.
    QString ui_80H_GetFWVersion();

    // After each detection: with the keyboard in use, copies its five user pictures into
    // the current profile; with any other device, nothing.
    void syncFW();

private:
    ControllerContext &context;
    ProfileStore &profiles;
};
