// The mouse commands and the five the keyboard shares (01H, 02H, 80H, 81H, 82H). Every
// command goes to the device in use; the rows say how its block, data phase and results
// are laid out.
#include "device/CommandTable.h"
#include "device/Hid_Thread.h"

using namespace commands;

namespace {

// Writes. A payload length is also sent in B2, as the mouse expects.
//                                    code  arguments at      fixed B1..B6        payload pause        after
constexpr SetRow kSetReportRate      {0x01, {B1},             {},                 0,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetCurrentProfile  {0x02, {B1},             {},                 0,      NoPause,     Sleep8ms};
constexpr SetRow kSetFunctionOption  {0x03, {B1, B2, B3, B4}, {},                 0,      SettlePause, Sleep8ms};
constexpr SetRow kSetLedInstruct     {0x07, {B1, B2, B3, B4}, {},                 0,      NoPause,     ReturnAtOnce};
constexpr SetRow kSetCurrentDpiStage {0x0B, {B1},             {},                 0,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetRgbLedEffect    {0x0D, {B1, B2, B3},     {},                 0,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetStageColors     {0x10, {B1},             {0, 24},            24,     SettlePause, ReturnAtOnce};
constexpr SetRow kSetStageColorIds   {0x10, {B1},             {0, 4},             4,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetDpiSet          {0x11, {B1},             {0, 8},             8,      SettlePause, ReturnAtOnce};
constexpr SetRow kSetKeyMatrix       {0x12, {},               {0x01, 0x40, 0x08}, 64,     SettlePause, ReturnAtOnce};
constexpr SetRow kSetMacroKey        {0x13, {B1},             {0, 0x80},          128,    SettlePause, ReturnAtOnce};

// Reads. The reply positions mirror where the matching write sends each value.
//                                    code  arguments at  fixed   results at    payload after a failed transfer
constexpr GetRow kGetFWVersion       {0x80, {},           {},     {A1, A2},     0,      OnFailure::ZeroOutputs};
constexpr GetRow kGetReportRate      {0x81, {},           {},     {A1},         0,      OnFailure::KeepOutputs};
constexpr GetRow kGetCurrentProfile  {0x82, {},           {},     {A1},         0,      OnFailure::KeepOutputs};
constexpr GetRow kGetFunctionOption  {0x83, {},           {},     {A1, A3, A4}, 0,      OnFailure::ZeroOutputs};
constexpr GetRow kGetLedInstruct     {0x87, {B1},         {},     {A2, A3, A4}, 0,      OnFailure::KeepOutputs};
constexpr GetRow kGetCurrentDpiStage {0x8B, {},           {},     {A1},         0,      OnFailure::ZeroOutputs};
constexpr GetRow kGetRgbLedEffect    {0x8D, {},           {},     {A1, A2, A3}, 0,      OnFailure::ZeroOutputs};
constexpr GetRow kGetStageColors     {0x90, {B1},         {},     {},           24,     OnFailure::KeepOutputs};
constexpr GetRow kGetStageColorIds   {0x90, {B1},         {},     {},           4,      OnFailure::KeepOutputs};
constexpr GetRow kGetDpiSet          {0x91, {},           {},     {A1},         8,      OnFailure::KeepOutputs};
constexpr GetRow kGetKeyMatrix       {0x92, {},           {0x01}, {},           64,     OnFailure::KeepOutputs};
constexpr GetRow kGetMacroKey        {0x93, {B1},         {},     {},           128,    OnFailure::KeepOutputs};

// Colour type 2 carries eight colour ids packed two to a byte; the other types carry eight
// stages of red, green and blue.
constexpr uchar kColorIdsType = 2;

QString versionText(uchar major, uchar minor)
{
    return QString::number(major, 16) + QLatin1Char('.')
           + QString::number(minor, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

}  // namespace

// --- Sets ---------------------------------------------------------------------------------

void Hid_Thread::hid_01H_SetReportRate(uchar rate)
{
    runSet(kSetReportRate, {rate});
}

void Hid_Thread::hid_02H_SetCurrentProfile(uchar profile)
{
    runSet(kSetCurrentProfile, {profile});
}

void Hid_Thread::hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2)
{
    runSet(kSetFunctionOption, {type, rate, option1, option2});
}

void Hid_Thread::hid_07H_SetLEDInstructFunction(uchar type, uchar option1, uchar option2, uchar option3)
{
    runSet(kSetLedInstruct, {type, option1, option2, option3});
}

void Hid_Thread::hid_0BH_SetCurrentDPIStage(uchar dpiStage)
{
    runSet(kSetCurrentDpiStage, {dpiStage});
}

void Hid_Thread::hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    runSet(kSetRgbLedEffect, {effect, option1, option2});
}

void Hid_Thread::hid_10H_SetLED8StageColor(uchar type, uchar *src24)
{
    runSet(type == kColorIdsType ? kSetStageColorIds : kSetStageColors, {type}, src24);
}

void Hid_Thread::hid_11H_SetDPISet(uchar dpiStage, uchar *src8)
{
    runSet(kSetDpiSet, {dpiStage}, src8);
}

void Hid_Thread::hid_12H_SetKeyMatrix(uchar *src64)
{
    runSet(kSetKeyMatrix, {}, src64);
}

void Hid_Thread::hid_13H_SetMacroKey(uchar macroId, uchar *src128)
{
    runSet(kSetMacroKey, {macroId}, src128);
}

// --- Gets ---------------------------------------------------------------------------------

void Hid_Thread::hid_80H_GetFWVersion(QString &version)
{
    uchar major = 0;
    uchar minor = 0;
    switch (runGet(kGetFWVersion, {}, {&major, &minor})) {
    case GetOutcome::TokenRefused:
        break;  // the text stays as it was
    case GetOutcome::TransferFailed:
        version = QStringLiteral("unknown");
        break;
    case GetOutcome::Answered:
        version = versionText(major, minor);
        break;
    }
}

void Hid_Thread::hid_81H_GetReportRate(uchar &rate)
{
    runGet(kGetReportRate, {}, {&rate});
}

void Hid_Thread::hid_82H_GetCurrentProfile(uchar &profile)
{
    runGet(kGetCurrentProfile, {}, {&profile});
}

void Hid_Thread::hid_83H_GetFunctionOption(uchar &type, uchar &option1, uchar &option2)
{
    runGet(kGetFunctionOption, {}, {&type, &option1, &option2});
}

bool Hid_Thread::readReportRate(uchar &rate)
{
    return runGet(kGetReportRate, {}, {&rate}) == GetOutcome::Answered;
}

bool Hid_Thread::readFunctionOption(uchar &type, uchar &option1, uchar &option2)
{
    return runGet(kGetFunctionOption, {}, {&type, &option1, &option2}) == GetOutcome::Answered;
}

bool Hid_Thread::hid_87H_GetLEDInstructFunction(uchar type, uchar &option1, uchar &option2, uchar &option3)
{
    return runGet(kGetLedInstruct, {type}, {&option1, &option2, &option3}) == GetOutcome::Answered;
}

void Hid_Thread::hid_8BH_GetCurrentDPIStage(uchar &dpiStage)
{
    runGet(kGetCurrentDpiStage, {}, {&dpiStage});
}

void Hid_Thread::hid_8DH_GetRGBLedEffect(uchar &effect, uchar &option1, uchar &option2)
{
    runGet(kGetRgbLedEffect, {}, {&effect, &option1, &option2});
}

void Hid_Thread::hid_90H_GetLED8StageColor(uchar type, uchar *src24)
{
    runGet(type == kColorIdsType ? kGetStageColorIds : kGetStageColors, {type}, {}, src24);
}

bool Hid_Thread::hid_91H_GetDPISet(uchar &dpiMAXStage, uchar *src8)
{
    return runGet(kGetDpiSet, {}, {&dpiMAXStage}, src8) == GetOutcome::Answered;
}

void Hid_Thread::hid_92H_GetKeyMatrix(uchar *src64)
{
    runGet(kGetKeyMatrix, {}, {}, src64);
}

void Hid_Thread::hid_93H_GetMacroKey(uchar macroId, uchar *src128)
{
    runGet(kGetMacroKey, {macroId}, {}, src128);
}
