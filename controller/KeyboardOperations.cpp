#include "controller/KeyboardOperations.h"

#include "controller/ControllerContext.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "device/Hid_Thread.h"

namespace {

constexpr int kKeyMatrixLength = 512;
// 128 keys are sent, the first 126 are stored.
constexpr int kStoredKeyCount = 126;
constexpr int kKeyCodeLength = 4;
constexpr int kKeyOnOffLength = 21;
constexpr int kPictureLength = 512;
constexpr int kMacroLength = 192;
constexpr int kDevicePictureCount = 5;
// A user picture with this option is only stored, not sent.
constexpr uchar kStoreOnlyOption = 255;

const char *const kKeyDefinePrefix = "keydefine/";
const char *const kLedTypeKey = "color/ledType";
const char *const kColorPrefix = "color/";
const char *const kPicturePrefix = "userPicture/";

}  // namespace

KeyboardOperations::KeyboardOperations(ControllerContext &context, ProfileStore &profiles)
    : context(context), profiles(profiles)
{
}

QVariant KeyboardOperations::ui_82H_GetCurrentProfile()
{
    uchar profile = 0;
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_82H_GetCurrentProfile(profile);
    return int(profile);
}

void KeyboardOperations::ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

QVariantList KeyboardOperations::ui_83H_GetKeyboardoption()
{
    uchar bytes[4] = {};
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_83H_GetKeyboardoption(bytes[0], bytes[1], bytes[2], bytes[3]);
    return scenebytes::toList(bytes, 4);
}

void KeyboardOperations::ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4)
{
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_04H_SetButtonSensitivity(sens1, sens2, sens3, sens4);
}

QVariantList KeyboardOperations::ui_84H_GetButtonSensitivity()
{
    uchar sens[4] = {};
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_84H_GetButtonSensitivity(sens[0], sens[1], sens[2], sens[3]);
    return scenebytes::toList(sens, 4);
}

void KeyboardOperations::ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty)
{
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_07H_SetControlIndicatorLight(effect, frequenty);
}

void KeyboardOperations::ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light,
                                           uchar color, uchar direction)
{
    // option selects what the keyboard applies; it is not part of the stored effect.
    profiles.current().setValue(kLedTypeKey, QVariantList{int(effect), int(speed), int(light),
                                                          int(color), int(direction)});
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_08H_SetLEDType(option, effect, speed, light, color, direction);
}

QVariantList KeyboardOperations::ui_88H_GetLEDType()
{
    return ProfileStore::storedList(profiles.current(), kLedTypeKey);
}

void KeyboardOperations::ui_09H_SetKeyboardMode(uchar mode)
{
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_09H_SetKeyboardMode(mode);
}

QVariant KeyboardOperations::ui_89H_GetKeyboardMode()
{
    uchar mode = 0;
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_89H_GetKeyboardMode(mode);
    return int(mode);
}

void KeyboardOperations::ui_0DH_SetKeyMatrix(QVariantList src512)
{
    uchar matrix[kKeyMatrixLength];
    scenebytes::fill(src512, matrix, kKeyMatrixLength);
    QSettings &profile = profiles.current();
    for (int key = 0; key < kStoredKeyCount; ++key) {
        // Items as received; an item the scene left out is stored as the 0 the keyboard gets.
        QVariantList code;
        for (int i = key * kKeyCodeLength; i < (key + 1) * kKeyCodeLength; ++i)
            code.append(i < src512.size() ? src512.at(i) : QVariant(0));
        profile.setValue(kKeyDefinePrefix + QString::number(key), code);
    }
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_0DH_SetKeyMatrix(matrix);
}

QVariantList KeyboardOperations::ui_8DH_GetKeyMatrix()
{
    uchar matrix[kKeyMatrixLength] = {};
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_8DH_GetKeyMatrix(matrix);
    return scenebytes::toList(matrix, kKeyMatrixLength);
}

void KeyboardOperations::ui_0EH_SetKeyOnOff(QVariantList src21)
{
    uchar bits[kKeyOnOffLength];
    scenebytes::fill(src21, bits, kKeyOnOffLength);
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_0EH_SetKeyOnOff(bits);
}

QVariantList KeyboardOperations::ui_8EH_GetKeyOnOff()
{
    uchar bits[kKeyOnOffLength] = {};
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_8EH_GetKeyOnOff(bits);
    return scenebytes::toList(bits, kKeyOnOffLength);
}

void KeyboardOperations::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512)
{
    profiles.current().setValue(kPicturePrefix + QString::number(index), src512);
    if (option == kStoreOnlyOption)
        return;
    uchar picture[kPictureLength];
    scenebytes::fill(src512, picture, kPictureLength);
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_12H_SetUserPicture(index, option, picture);
}

QVariantList KeyboardOperations::ui_92H_GetUserPicture(uchar index)
{
    return ProfileStore::storedList(profiles.current(), kPicturePrefix + QString::number(index));
}

void KeyboardOperations::ui_13H_SetRecoveryData()
{
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_13H_SetRecoveryData();
}

void KeyboardOperations::ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue)
{
    profiles.current().setValue(kColorPrefix + QString::number(index),
                                QVariantList{int(rValue), int(gValue), int(bValue)});
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_14H_SetColor(index, rValue, gValue, bValue);
}

QVariantList KeyboardOperations::ui_94H_GetColor(uchar index)
{
    return ProfileStore::storedList(profiles.current(), kColorPrefix + QString::number(index));
}

QVariantList KeyboardOperations::ui_91H_GetMacroKey(uchar macroId)
{
    uchar macro[kMacroLength] = {};
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_91H_GetMacroKey(macroId, macro);
    return scenebytes::toList(macro, kMacroLength);
}

QString KeyboardOperations::ui_80H_GetFWVersion()
{
    QString version;
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_80H_GetFWVersion(version);
    return version;
}

void KeyboardOperations::syncFW()
{
    if (context.deviceId() != MouseOperations::kKeyboardId)
        return;
    uchar picture[kPictureLength] = {};
    QSettings &profile = profiles.current();
    for (int index = 0; index < kDevicePictureCount; ++index) {
        context.hidThread->hid_92H_GetUserPicture(uchar(index), picture);
        profile.setValue(kPicturePrefix + QString::number(index),
                         scenebytes::toList(picture, kPictureLength));
    }
}
