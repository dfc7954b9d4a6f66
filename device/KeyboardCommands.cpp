// The keyboard commands. They share some codes with the mouse commands; which slot was
// meant is told by the device in use, to which every command goes.
#include "device/CommandTable.h"
#include "device/Hid_Thread.h"

using namespace commands;

namespace {

// Writes. For the 512- and 192-byte payloads B3 is the number of 64-byte reports that
// follow; for the key on/off bits it is the payload length.
//                                    code  arguments at              fixed B1..B6       payload pause        after
constexpr SetRow kSetKeyboardOption  {0x03, {B1, B2, B3, B4},         {},                0,      NoPause,     Sleep8ms};
constexpr SetRow kSetButtonSensitivity{0x04, {B1, B2, B3, B4},        {},                0,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetIndicatorLight  {0x07, {B1, B2},                 {},                0,      NoPause,     Sleep8ms};
constexpr SetRow kSetLedType         {0x08, {B1, B2, B3, B4, B5, B6}, {},                0,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetKeyboardMode    {0x09, {B1},                     {},                0,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetKeyMatrix       {0x0D, {},                       {0, 0, 8},         512,    SettlePause, ReturnAtOnce};
constexpr SetRow kSetKeyOnOff        {0x0E, {},                       {0, 0, 21},        21,     SettlePause, ReturnAtOnce};
constexpr SetRow kSetMacroKey        {0x11, {B2},                     {0, 0, 3},         192,    SettlePause, ReturnAtOnce};
constexpr SetRow kSetUserPicture     {0x12, {B2, B4},                 {0, 0, 8},         512,    SettlePause, ReturnAtOnce};
constexpr SetRow kSetRecoveryData    {0x13, {},                       {0xFF},            0,      NoPause,     Sleep8ms};
constexpr SetRow kSetColor           {0x14, {B2, B3, B4, B5},         {},                0,      NoPause,     Sleep8ms};

// Reads. The reply positions follow where the matching write sends each value; every
// keyboard read keeps its outputs when its transfer fails.
//                                    code  arguments at  fixed  results at            payload after a failed transfer
constexpr GetRow kGetKeyboardOption  {0x83, {},           {},    {A1, A2, A3, A4},     0,      OnFailure::KeepOutputs};
constexpr GetRow kGetButtonSensitivity{0x84, {},          {},    {A1, A2, A3, A4},     0,      OnFailure::KeepOutputs};
constexpr GetRow kGetLedType         {0x88, {},           {},    {A2, A3, A4, A5, A6}, 0,      OnFailure::KeepOutputs};
constexpr GetRow kGetKeyboardMode    {0x89, {},           {},    {A1},                 0,      OnFailure::KeepOutputs};
constexpr GetRow kGetKeyMatrix       {0x8D, {},           {},    {},                   512,    OnFailure::KeepOutputs};
constexpr GetRow kGetKeyOnOff        {0x8E, {},           {},    {},                   21,     OnFailure::KeepOutputs};
constexpr GetRow kGetMacroKey        {0x91, {B2},         {},    {},                   192,    OnFailure::KeepOutputs};
constexpr GetRow kGetUserPicture     {0x92, {B2},         {},    {},                   512,    OnFailure::KeepOutputs};
constexpr GetRow kGetColor           {0x94, {B2},         {},    {A3, A4, A5},         0,      OnFailure::KeepOutputs};

}  // namespace

// --- Sets ---------------------------------------------------------------------------------

void Hid_Thread::hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runSet(kSetKeyboardOption, {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4)
{
    runSet(kSetButtonSensitivity, {sens1, sens2, sens3, sens4});
}

void Hid_Thread::hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty)
{
    runSet(kSetIndicatorLight, {effect, frequenty});
}

void Hid_Thread::hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                                    uchar direction)
{
    runSet(kSetLedType, {option, effect, speed, light, color, direction});
}

void Hid_Thread::hid_09H_SetKeyboardMode(uchar mode)
{
    runSet(kSetKeyboardMode, {mode});
}

void Hid_Thread::hid_0DH_SetKeyMatrix(uchar *src512)
{
    runSet(kSetKeyMatrix, {}, src512);
}

void Hid_Thread::hid_0EH_SetKeyOnOff(uchar *src21)
{
    runSet(kSetKeyOnOff, {}, src21);
}

void Hid_Thread::hid_11H_SetMacroKey(uchar macroId, uchar *src192)
{
    runSet(kSetMacroKey, {macroId}, src192);
}

void Hid_Thread::hid_12H_SetUserPicture(uchar index, uchar option, uchar *src512)
{
    runSet(kSetUserPicture, {index, option}, src512);
}

void Hid_Thread::hid_13H_SetRecoveryData()
{
    runSet(kSetRecoveryData, {});
}

void Hid_Thread::hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue)
{
    runSet(kSetColor, {index, rValue, gValue, bValue});
}

// --- Gets ---------------------------------------------------------------------------------

void Hid_Thread::hid_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    runGet(kGetKeyboardOption, {}, {&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid_84H_GetButtonSensitivity(uchar &sens1, uchar &sens2, uchar &sens3, uchar &sens4)
{
    runGet(kGetButtonSensitivity, {}, {&sens1, &sens2, &sens3, &sens4});
}

void Hid_Thread::hid_88H_GetLEDType(uchar &effect, uchar &speed, uchar &light, uchar &color, uchar &direction)
{
    runGet(kGetLedType, {}, {&effect, &speed, &light, &color, &direction});
}

void Hid_Thread::hid_89H_GetKeyboardMode(uchar &mode)
{
    runGet(kGetKeyboardMode, {}, {&mode});
}

void Hid_Thread::hid_8DH_GetKeyMatrix(uchar *src512)
{
    runGet(kGetKeyMatrix, {}, {}, src512);
}

void Hid_Thread::hid_8EH_GetKeyOnOff(uchar *src21)
{
    runGet(kGetKeyOnOff, {}, {}, src21);
}

void Hid_Thread::hid_91H_GetMacroKey(uchar macroId, uchar *src192)
{
    runGet(kGetMacroKey, {macroId}, {}, src192);
}

void Hid_Thread::hid_92H_GetUserPicture(uchar index, uchar *src512)
{
    runGet(kGetUserPicture, {index}, {}, src512);
}

void Hid_Thread::hid_94H_GetColor(uchar index, uchar &rValue, uchar &gValue, uchar &bValue)
{
    runGet(kGetColor, {index}, {&rValue, &gValue, &bValue});
}
