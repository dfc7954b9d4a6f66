#include "controller/MouseOperations.h"

#include "controller/ControllerContext.h"
#include "controller/ProfileStore.h"
#include "controller/Prompts.h"
#include "device/Hid_Thread.h"

#include <QDebug>

namespace {

constexpr int kKeyCount = 16;
constexpr int kKeyCodeLength = 4;
constexpr int kKeyMatrixLength = kKeyCount * kKeyCodeLength;  // 64
constexpr int kMacroLength = 128;
constexpr int kDpiStageCount = 8;
constexpr int kStageColorLength = 24;
// The mouse answers no stage count: assume all eight stages.
constexpr uchar kDefaultMaxDpiStage = 8;

// Colour type 2 carries eight colour ids, packed two to a byte, the even stage low.
constexpr uchar kColorIdType = 2;
constexpr int kPackedColorIdBytes = 4;

// Bit 6 of the function option's option1: the wheel direction is swapped.
constexpr int kScrollSwapBit = 6;

// With type 0 the logo light reports option1 = 0 when it takes colour ids.
constexpr uchar kLogoLedType = 0;

// Message list entries of the fool-proofing question.
constexpr int kFoolProofTitle = 4;
constexpr int kFoolProofText = 5;

const char *const kKeyDefineMouse = "keydefine_W3/";
const char *const kKeyDefineKeyboard = "keydefine/";
const char *const kScrollSwapKey = "keydefine_W3/scrollswap";
const char *const kReportRateKey = "sensor/reportRate_W3";
const char *const kDpiStageKey = "sensor/stage_W3";
const char *const kDpiValuesKey = "sensor/dpi_W3";
const char *const kStageColorKey = "color_W3/type";
const char *const kLedEffectKey = "color_W3/ledEffect";

uchar lowByte(const QVariant &value)
{
    return uchar(value.toInt() & 0xFF);
}

}  // namespace

namespace scenebytes {

void fill(const QVariantList &items, uchar *buffer, int length)
{
    std::fill(buffer, buffer + length, uchar(0));
    for (int i = 0; i < length && i < items.size(); ++i)
        buffer[i] = lowByte(items.at(i));
}

QVariantList toList(const uchar *buffer, int length)
{
    QVariantList items;
    items.reserve(length);
    for (int i = 0; i < length; ++i)
        items.append(int(buffer[i]));
    return items;
}

QVariantList toUIntList(const QVariantList &items)
{
    QVariantList numbers;
    numbers.reserve(items.size());
    for (const QVariant &item : items)
        numbers.append(item.toUInt());
    return numbers;
}

}  // namespace scenebytes

MouseOperations::MouseOperations(ControllerContext &context, ProfileStore &profiles)
    : context(context), profiles(profiles)
{
}

void MouseOperations::ui_01H_SetReportRate(uchar rate)
{
    if (context.deviceId() == kMouseId)
        profiles.current().setValue(kReportRateKey, int(rate));
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_01H_SetReportRate(rate);
}

QVariant MouseOperations::ui_81H_GetReportRate()
{
    switch (context.deviceId()) {
    case kKeyboardId: {
        uchar rate = 0;
        context.hidThread->hid_81H_GetReportRate(rate);
        return int(rate);
    }
    case kMouseId:
        return int(profiles.current().value(kReportRateKey, 0).toUInt() & 0xFF);
    default:
        return 0;
    }
}

void MouseOperations::ui_02H_SetCurrentProfile(int profile)
{
    if (profile == profiles.currentProfile() || !ProfileStore::isValidProfile(profile))
        return;
    profiles.setCurrentProfile(profile);
    // The mouse gets the new profile's values when the scene applies its pages.
    if (context.deviceId() == kKeyboardId)
        context.hidThread->hid_02H_SetCurrentProfile(uchar(profile));
}

QString MouseOperations::buttonKey(int button)
{
    return kKeyDefineMouse + QString::number(button);
}

QVariantList MouseOperations::getKeydefine(QVariant matrixId)
{
    switch (context.deviceId()) {
    case kMouseId:
        return ProfileStore::storedList(profiles.current(), kKeyDefineMouse + matrixId.toString());
    case kKeyboardId:
        return ProfileStore::storedList(profiles.current(), kKeyDefineKeyboard + matrixId.toString());
    default:
        return {};
    }
}

void MouseOperations::ui_12H_SetKeyMatrix(QVariantList src64)
{
    uchar matrix[kKeyMatrixLength];
    scenebytes::fill(src64, matrix, kKeyMatrixLength);
    QSettings &profile = profiles.current();
    for (int key = 0; key < kKeyCount; ++key) {
        // Items as received; an item the scene left out is stored as the 0 the mouse gets.
        QVariantList code;
        for (int i = key * kKeyCodeLength; i < (key + 1) * kKeyCodeLength; ++i)
            code.append(i < src64.size() ? src64.at(i) : QVariant(0));
        profile.setValue(buttonKey(key), code);
    }
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_12H_SetKeyMatrix(matrix);
}

QVariantList MouseOperations::ui_92H_GetKeyMatrix()
{
    uchar matrix[kKeyMatrixLength] = {};
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_92H_GetKeyMatrix(matrix);
    return scenebytes::toList(matrix, kKeyMatrixLength);
}

QVariantList MouseOperations::ui_93H_GetMacroKey(uchar macroId)
{
    uchar macro[kMacroLength] = {};
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_93H_GetMacroKey(macroId, macro);
    return scenebytes::toList(macro, kMacroLength);
}

bool MouseOperations::setScrollPinSwap(bool isSwap)
{
    profiles.current().setValue(kScrollSwapKey, isSwap);
    Hid_Thread *hid = context.hidThread;
    if (!hid)
        return false;
    // 03H writes sensor type, report rate and both options at once: send it only with
    // values the mouse really reported, never zeros from a failed read.
    uchar type = 0, option1 = 0, option2 = 0, rate = 0;
    if (!hid->readFunctionOption(type, option1, option2) || !hid->readReportRate(rate)) {
        qDebug() << "setScrollPinSwap: mouse did not answer; wheel direction not sent";
        return false;
    }
    option1 = uchar((option1 & ~(1u << kScrollSwapBit)) | (uint(isSwap) << kScrollSwapBit));
    hid->hid_03H_SetFunctionOption(type, rate, option1, option2);
    return true;
}

bool MouseOperations::getScrollPinSwap()
{
    return profiles.current().value(kScrollSwapKey, false).toBool();
}

void MouseOperations::ui_0BH_SetCurrentDPIStage(uchar dpiStage)
{
    profiles.current().setValue(kDpiStageKey, int(dpiStage));
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_0BH_SetCurrentDPIStage(dpiStage);
}

QVariant MouseOperations::ui_8BH_GetCurrentDPIStage()
{
    return int(profiles.current().value(kDpiStageKey, 0).toUInt() & 0xFF);
}

void MouseOperations::ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex)
{
    profiles.current().setValue(kDpiValuesKey, valueForIndex);
    uchar codes[kDpiStageCount];
    scenebytes::fill(src8, codes, kDpiStageCount);
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_11H_SetDPISet(dpiStage, codes);
}

QVariantList MouseOperations::ui_91H_GetDPISet()
{
    return ProfileStore::storedList(profiles.current(), kDpiValuesKey);
}

uchar MouseOperations::ui_91H_SyncDPI()
{
    uchar maxStage = 0;
    uchar codes[kDpiStageCount] = {};
    Hid_Thread *hid = context.hidThread;
    if (hid && hid->hid_91H_GetDPISet(maxStage, codes))
        return maxStage;
    return kDefaultMaxDpiStage;
}

void MouseOperations::ui_10H_SetLED8StageColor(uchar type, QVariantList src24)
{
    profiles.current().setValue(kStageColorKey + QString::number(type), src24);
    uchar colors[kStageColorLength];
    scenebytes::fill(src24, colors, kStageColorLength);
    if (type == kColorIdType) {
        for (int i = 0; i < kPackedColorIdBytes; ++i)
            colors[i] = uchar((colors[2 * i] & 0x0F) | (colors[2 * i + 1] << 4));
    }
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_10H_SetLED8StageColor(type, colors);
}

QVariantList MouseOperations::ui_90H_GetLED8StageColor(uchar type)
{
    return scenebytes::toUIntList(
        ProfileStore::storedList(profiles.current(), kStageColorKey + QString::number(type)));
}

void MouseOperations::ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs)
{
    profiles.current().setValue(kLedEffectKey, configs);
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_0DH_SetRGBLedEffect(effect, option1, option2);
}

QVariantList MouseOperations::ui_8DH_GetRGBLedEffect()
{
    return scenebytes::toUIntList(ProfileStore::storedList(profiles.current(), kLedEffectKey));
}

QVariant MouseOperations::getSensorType()
{
    uchar type = 0, option1 = 0, option2 = 0;
    if (Hid_Thread *hid = context.hidThread)
        hid->hid_83H_GetFunctionOption(type, option1, option2);
    return int(type);
}

bool MouseOperations::chkIsLogoLedWork()
{
    uchar option1 = 0, option2 = 0, option3 = 0;
    Hid_Thread *hid = context.hidThread;
    return hid && hid->hid_87H_GetLEDInstructFunction(kLogoLedType, option1, option2, option3)
           && option1 == 0;
}

bool MouseOperations::getMsgAns_FoolProofing()
{
    return Prompts::current().confirm(context.message(kFoolProofTitle), context.message(kFoolProofText));
}
