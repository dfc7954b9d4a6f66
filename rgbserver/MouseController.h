#pragma once
// The mouse as one OpenRGB controller: what the lighting page shows of it (the effect, its
// speed and brightness steps, the light on or off, the palette) described in the SDK's
// layout, and a client's mode and colour requests turned back into that state. The steps and
// which controls an effect uses are the lighting page's (LightingLogic); the bytes that reach
// the mouse are made by LightingActions alone.
#include "rgbserver/OpenRgbPackets.h"

#include <QList>
#include <QString>

namespace openrgb {

// The lighting page's state.
struct LightState {
    int position = 0;  // the effect's place in the page's list
    int brightness = 0;
    int speed = 0;
    bool on = true;
    QList<Color> palette;  // the eight colours
    int colorCount = 8;  // how many of them the mouse shows

    bool sameEffect(const LightState &other) const;
};

// What the device tells of itself.
struct DeviceText {
    QString name;
    QString vendor;
    QString firmware;
};

class MouseController {
public:
    // Modes 0..9 are the page's effects in its order; the last one switches the light off.
    static int offMode();
    static int modeCount();
    static int activeMode(const LightState &state);

    // The REQUEST_CONTROLLER_DATA answer for a client of this protocol version.
    static QByteArray describe(const LightState &state, const DeviceText &device, quint32 protocolVersion);

    // The state after a mode request; false for a mode this controller does not have.
    static bool applyMode(LightState &state, const ModeRequest &request);
    // The state after SET_CUSTOM_MODE: without a per-LED mode, STATIC lit with the LED colour.
    static void applyCustomMode(LightState &state);
    // The state after colours for the LED (its one zone, or the single LED); false when the
    // request names a zone or LED the controller does not have.
    static bool applyLeds(LightState &state, const LedRequest &request);
};

}  // namespace openrgb
