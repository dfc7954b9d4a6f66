#include "rgbserver/MouseController.h"

#include "scenelogic/LightingLogic.h"

#include <algorithm>

namespace openrgb {

namespace {

constexpr quint32 kMouseType = 6;
// Protocol 1 added the vendor, 4 the zone segments, 5 the zone and controller flags and the
// alternate LED names.
constexpr quint32 kVendorVersion = 1;
constexpr quint32 kBrightnessVersion = 3;
constexpr quint32 kSegmentsVersion = 4;
constexpr quint32 kFlagsVersion = 5;

// Mode flags and colour modes of the SDK.
constexpr quint32 kHasSpeed = 1u << 0;
constexpr quint32 kHasBrightness = 1u << 4;
constexpr quint32 kHasModeSpecificColor = 1u << 6;
// Every write is stored in the profile the mouse holds.
constexpr quint32 kAutomaticSave = 1u << 9;
constexpr quint32 kColorsNone = 0;
constexpr quint32 kColorsModeSpecific = 2;

constexpr quint32 kZoneSingle = 0;

// The page's effects in its order, as OpenRGB users know such names.
const QStringList kModeNames = {"Static", "Twinkling", "Breathing", "Neon", "Wave", "Gliding", "Finger Moving",
    "Vertical Flipping", "Yo-Yo", "Spotlight"};
const QString kOffName = QStringLiteral("Off");

// The mouse takes whole effects, each a transfer with its settle pause: it cannot follow a
// stream of per-LED colours, so no "Direct" mode is offered.
const QString kDescription
    = QStringLiteral("W3 mouse lighting served by W3 Config: the lighting page's ten effects; no Direct mode, the "
                     "mouse takes whole effects and cannot follow per-LED streaming");
const QString kLocation = QStringLiteral("W3 Config");
const QString kZoneName = QStringLiteral("Mouse");
const QString kLedName = QStringLiteral("Light zones");

int effectOfMode(int mode)
{
    return mode == MouseController::offMode() ? LightingLogic::kLightOff : LightingLogic::effectNumber(mode);
}

QList<Color> shownColors(const LightState &state)
{
    return state.palette.mid(0, std::clamp(state.colorCount, 1, int(state.palette.size())));
}

void writeMode(BodyWriter &out, const LightState &state, int mode, quint32 version)
{
    const int effect = effectOfMode(mode);
    const bool speed = LightingLogic::usesSpeed(effect);
    const bool brightness = LightingLogic::usesBrightness(effect);
    const bool colors = LightingLogic::usesColors(effect);
    const quint32 flags = kAutomaticSave | (speed ? kHasSpeed : 0) | (brightness ? kHasBrightness : 0)
        | (colors ? kHasModeSpecificColor : 0);
    const quint32 maxStep = LightingLogic::kMaxStep;
    const QList<Color> modeColors = colors ? shownColors(state) : QList<Color>();
    out.text(mode == MouseController::offMode() ? kOffName : kModeNames.at(mode));
    out.u32(quint32(effect)).u32(flags);
    out.u32(0).u32(speed ? maxStep : 0);
    if (version >= kBrightnessVersion)
        out.u32(0).u32(brightness ? maxStep : 0);
    out.u32(colors ? 1 : 0).u32(quint32(modeColors.size()));
    out.u32(speed ? quint32(state.speed) : 0);
    if (version >= kBrightnessVersion)
        out.u32(brightness ? quint32(state.brightness) : 0);
    out.u32(0);  // direction
    out.u32(colors ? kColorsModeSpecific : kColorsNone);
    out.colors(modeColors);
}

}  // namespace

bool LightState::sameEffect(const LightState &other) const
{
    return position == other.position && brightness == other.brightness && speed == other.speed && on == other.on;
}

int MouseController::offMode()
{
    return LightingLogic::kEffectCount;
}

int MouseController::modeCount()
{
    return LightingLogic::kEffectCount + 1;
}

int MouseController::activeMode(const LightState &state)
{
    return state.on ? state.position : offMode();
}

QByteArray MouseController::describe(const LightState &state, const DeviceText &device, quint32 version)
{
    BodyWriter out;
    out.u32(kMouseType).text(device.name);
    if (version >= kVendorVersion)
        out.text(device.vendor);
    out.text(kDescription).text(device.firmware).text(QString()).text(kLocation);
    out.u16(quint16(modeCount())).u32(quint32(activeMode(state)));
    for (int mode = 0; mode < modeCount(); ++mode)
        writeMode(out, state, mode, version);
    // One zone with one LED: every light zone of the mouse glows in the first colour.
    out.u16(1).text(kZoneName).u32(kZoneSingle).u32(1).u32(1).u32(1);
    out.u16(0);  // no matrix
    if (version >= kSegmentsVersion)
        out.u16(0);
    if (version >= kFlagsVersion)
        out.u32(0);
    out.u16(1).text(kLedName).u32(0);
    out.colors(state.palette.mid(0, 1));
    if (version >= kFlagsVersion)
        out.u16(0).u32(0);  // no alternate LED names, no controller flags
    return out.sized();
}

bool MouseController::applyMode(LightState &state, const ModeRequest &request)
{
    if (request.index >= quint32(modeCount()))
        return false;
    const int mode = int(request.index);
    const int effect = effectOfMode(mode);
    state.on = mode != offMode();
    if (!state.on)
        return true;
    state.position = mode;
    if (LightingLogic::usesSpeed(effect))
        state.speed = int(std::min<quint32>(request.speed, LightingLogic::kMaxStep));
    if (LightingLogic::usesBrightness(effect) && request.hasBrightness)
        state.brightness = int(std::min<quint32>(request.brightness, LightingLogic::kMaxStep));
    if (LightingLogic::usesColors(effect)) {
        const int count = std::min({int(request.colors.size()), state.colorCount, int(state.palette.size())});
        for (int i = 0; i < count; ++i)
            state.palette[i] = request.colors.at(i);
    }
    return true;
}

void MouseController::applyCustomMode(LightState &state)
{
    state.on = true;
    state.position = 0;
}

bool MouseController::applyLeds(LightState &state, const LedRequest &request)
{
    if (request.zone != 0 || request.firstLed != 0 || request.colors.isEmpty() || state.palette.isEmpty())
        return false;
    state.palette[0] = request.colors.first();
    return true;
}

}  // namespace openrgb
