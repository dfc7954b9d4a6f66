#include "platform/PointerSpeedScale.h"

#include <algorithm>

namespace pointerspeed {

double libinputSpeed(int systemSpeed)
{
    const int speed = std::clamp(systemSpeed, kMinSpeed, kMaxSpeed);
    if (speed <= kNeutralSpeed)
        return double(speed - kNeutralSpeed) / (kNeutralSpeed - kMinSpeed);
    return double(speed - kNeutralSpeed) / (kMaxSpeed - kNeutralSpeed);
}

}  // namespace pointerspeed
