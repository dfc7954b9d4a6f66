#pragma once
// Brings what OpenRGB clients want to the mouse through the lighting page's actions: colours
// as the page's colour change sends them, effects as its APPLY does (and stores them in the
// profile in use). A client may send far faster than the mouse takes a transfer: while one is
// on its way, later wishes replace each other and only the newest is sent after it.
#include "rgbserver/MouseController.h"

#include <QObject>
#include <functional>
#include <optional>

class LightingActions;

namespace openrgb {

class LightWriter : public QObject {
    Q_OBJECT
public:
    // Runs the work when the mouse is free for it: in the running program, in the mouse's
    // queue behind the other front ends' work.
    using TurnTaker = std::function<void(std::function<void()> work)>;

    explicit LightWriter(LightingActions &lighting, QObject *parent = nullptr);

    // Without one, the writes go out from the event loop.
    void setTurnTaker(TurnTaker taker) { takeTurn = std::move(taker); }

    // What the page holds, or what is still to be sent when a wish waits.
    LightState state(int colorCount) const;
    // The effect, the palette or both of `next` are to reach the mouse.
    void want(const LightState &next, bool effect, bool palette);

private:
    void flush();
    void send(const LightState &next, bool effect, bool palette);

    LightingActions &lighting;
    std::optional<LightState> wanted;
    bool effectWanted = false;
    bool paletteWanted = false;
    bool writing = false;
    bool turnAsked = false;
    TurnTaker takeTurn;
};

}  // namespace openrgb
